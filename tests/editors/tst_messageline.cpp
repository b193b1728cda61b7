#include <QSignalSpy>
#include <QTest>

#include "editors/MessageLine.h"
#include "model/HexText.h"

using View = MessageLine::View;

class TestMessageLine : public QObject
{
    Q_OBJECT

private slots:
    void startsEmptyInAscii();
    void hexToAsciiAndBack_data();
    void hexToAsciiAndBack();
    void asciiToHex_data();
    void asciiToHex();
    void everyCodeRoundTrips();
    void emptyAsciiCellsKeepTheirPlace_data();
    void emptyAsciiCellsKeepTheirPlace();
    void typing_data();
    void typing();
    void clearEmptiesShownView_data();
    void clearEmptiesShownView();
    void selectingShownViewChangesNothing_data();
    void selectingShownViewChangesNothing();
    void conversionSignals();
    void hexBytes_data();
    void hexBytes();
    void showBytesReplacesAsciiView();
};

void TestMessageLine::startsEmptyInAscii()
{
    MessageLine line(20);
    QCOMPARE(line.cellCount(), 20);
    QCOMPARE(line.view(), View::Ascii);
    QVERIFY(line.isVisible(View::Ascii));
    QVERIFY(!line.isVisible(View::Hex));
    for (int cell = 1; cell <= 20; ++cell) {
        QVERIFY(line.hexText(cell).isEmpty());
        QVERIFY(line.asciiText(cell).isEmpty());
    }
    QCOMPARE(line.hexBytes(), QByteArray(20, '\0'));
}

void TestMessageLine::hexToAsciiAndBack_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("ascii");
    QTest::addColumn<QString>("hexAgain");

    QTest::newRow("41") << "41"
                        << "A"
                        << "41";
    QTest::newRow("lower ab") << "ab" << QString(QChar(0xAB)) << "AB";
    QTest::newRow("one digit") << "3"
                               << "0"
                               << "30";
    QTest::newRow("0A keeps its zero") << "0A" << QString(QChar(0x240A)) << "0A";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("00") << "00"
                        << ""
                        << "";
}

void TestMessageLine::hexToAsciiAndBack()
{
    QFETCH(QString, hex);
    QFETCH(QString, ascii);
    QFETCH(QString, hexAgain);

    MessageLine line(20);
    line.selectView(View::Hex);
    QVERIFY(line.setHexText(2, hex));
    line.selectView(View::Ascii);
    QCOMPARE(line.asciiText(2), ascii);
    QVERIFY(line.hexText(2).isEmpty());
    QVERIFY(line.asciiText(1).isEmpty());
    line.selectView(View::Hex);
    QCOMPARE(line.hexText(2), hexAgain);
    QVERIFY(line.asciiText(2).isEmpty());
}

void TestMessageLine::asciiToHex_data()
{
    QTest::addColumn<QString>("ascii");
    QTest::addColumn<QString>("hex");

    QTest::newRow("blank") << " "
                           << "20";
    QTest::newRow("A") << "A"
                       << "41";
    QTest::newRow("y diaeresis") << QString(QChar(0xFF)) << "FF";
    QTest::newRow("euro") << QString(QChar(0x20AC)) << "80";
    QTest::newRow("empty") << ""
                           << "";
}

void TestMessageLine::asciiToHex()
{
    QFETCH(QString, ascii);
    QFETCH(QString, hex);

    MessageLine line(40);
    QVERIFY(line.setAsciiText(40, ascii));
    line.selectView(View::Hex);
    QCOMPARE(line.hexText(40), hex);
    QVERIFY(line.asciiText(40).isEmpty());
}

void TestMessageLine::everyCodeRoundTrips()
{
    MessageLine line(1);
    for (int code = 1; code <= 0xFF; ++code) {
        const QString pair = HexText::hexPair(quint8(code));
        line.selectView(View::Hex);
        line.setHexText(1, pair);
        line.selectView(View::Ascii);
        QCOMPARE(line.asciiText(1).size(), 1);
        line.selectView(View::Hex);
        QCOMPARE(line.hexText(1), pair);
    }
}

void TestMessageLine::emptyAsciiCellsKeepTheirPlace_data()
{
    QTest::addColumn<QStringList>("ascii"); // cells 1.., "" for an empty cell
    QTest::addColumn<QStringList>("hex");   // the hex cells after the switch

    QTest::newRow("nothing typed") << QStringList{} << QStringList{};
    QTest::newRow("B in cell 2") << QStringList{"", "B"} << QStringList{"00", "42"};
    QTest::newRow("gaps between") << QStringList{"A", "", "", "", "E"}
                                  << QStringList{"41", "00", "00", "00", "45"};
    QTest::newRow("blank is a character")
        << QStringList{"", " ", "", ""} << QStringList{"00", "20"};
}

void TestMessageLine::emptyAsciiCellsKeepTheirPlace()
{
    QFETCH(QStringList, ascii);
    QFETCH(QStringList, hex);

    MessageLine line(20);
    for (int i = 0; i < ascii.size(); ++i)
        QVERIFY(line.setAsciiText(i + 1, ascii.at(i)));
    line.selectView(View::Hex);
    // Empty cells after the last character stay empty.
    for (int cell = 1; cell <= 20; ++cell)
        QCOMPARE(line.hexText(cell), hex.value(cell - 1));
}

void TestMessageLine::typing_data()
{
    QTest::addColumn<View>("view");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored");

    QTest::newRow("hex cut to two") << View::Hex << "4142" << true << "41";
    QTest::newRow("ascii character") << View::Ascii << "x" << true << "x";
    QTest::newRow("ascii emptied") << View::Ascii << "" << true << "";
    QTest::newRow("ascii two characters") << View::Ascii << "xy" << false << "Q";
    QTest::newRow("ascii no code") << View::Ascii << QString(QChar(0x0100)) << false << "Q";
    QTest::newRow("ascii surrogate pair")
        << View::Ascii << QString::fromUtf8("\xF0\x9F\x98\x80") << false << "Q";
}

void TestMessageLine::typing()
{
    QFETCH(View, view);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);

    MessageLine line(20);
    line.selectView(view);
    if (view == View::Hex) {
        line.setHexText(5, typed);
        QCOMPARE(line.hexText(5), stored);
        return;
    }
    QVERIFY(line.setAsciiText(5, QStringLiteral("Q")));
    QCOMPARE(line.setAsciiText(5, typed), accepted);
    QCOMPARE(line.asciiText(5), stored);
    QVERIFY(!line.setAsciiText(0, QStringLiteral("A")));
    QVERIFY(!line.setAsciiText(21, QStringLiteral("A")));
}

void TestMessageLine::clearEmptiesShownView_data()
{
    QTest::addColumn<View>("view");
    QTest::newRow("hex") << View::Hex;
    QTest::newRow("ascii") << View::Ascii;
}

void TestMessageLine::clearEmptiesShownView()
{
    QFETCH(View, view);

    MessageLine line(40);
    line.showBytes(QByteArray(40, 'A'));
    line.selectView(view);
    line.clear();
    QCOMPARE(line.view(), view);
    for (int cell = 1; cell <= 40; ++cell)
        QVERIFY(line.text(view, cell).isEmpty());

    const View other = view == View::Hex ? View::Ascii : View::Hex;
    line.selectView(other);
    for (int cell = 1; cell <= 40; ++cell) {
        QVERIFY(line.hexText(cell).isEmpty());
        QVERIFY(line.asciiText(cell).isEmpty());
    }
}

void TestMessageLine::selectingShownViewChangesNothing_data()
{
    clearEmptiesShownView_data();
}

void TestMessageLine::selectingShownViewChangesNothing()
{
    QFETCH(View, view);

    MessageLine line(20);
    line.selectView(View::Hex);
    line.setHexText(1, QStringLiteral("3"));
    line.setHexText(2, QStringLiteral("00"));
    line.selectView(view);
    const QString first = line.text(view, 1);
    const QString second = line.text(view, 2);

    QSignalSpy cells(&line, &MessageLine::cellTextChanged);
    QSignalSpy views(&line, &MessageLine::viewChanged);
    line.selectView(view);
    QCOMPARE(cells.count(), 0);
    QCOMPARE(views.count(), 0);
    QCOMPARE(line.text(view, 1), first);
    QCOMPARE(line.text(view, 2), second);
}

void TestMessageLine::conversionSignals()
{
    MessageLine line(20);
    QVERIFY(line.setAsciiText(3, QStringLiteral("A")));
    QVERIFY(line.setAsciiText(4, QStringLiteral("B")));

    QSignalSpy cells(&line, &MessageLine::cellTextChanged);
    QSignalSpy views(&line, &MessageLine::viewChanged);
    line.selectView(View::Hex);

    QCOMPARE(views.count(), 1);
    QCOMPARE(views.at(0).at(0).value<View>(), View::Hex);
    // Four hex cells filled (two of them "00"), two ASCII cells emptied; the
    // empty cells after the last character stay quiet.
    QCOMPARE(cells.count(), 6);
    QSet<QPair<int, int>> seen;
    for (const auto &args : cells)
        seen.insert({int(args.at(0).value<View>()), args.at(1).toInt()});
    QCOMPARE(seen, (QSet<QPair<int, int>>{{int(View::Hex), 1},
                                          {int(View::Hex), 2},
                                          {int(View::Hex), 3},
                                          {int(View::Hex), 4},
                                          {int(View::Ascii), 3},
                                          {int(View::Ascii), 4}}));
}

void TestMessageLine::hexBytes_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("start");

    // Each cell is its own byte: nothing moves up into a short or empty cell.
    QTest::newRow("empty cell between filled ones")
        << QStringList{"41", "42", "", "43"} << QByteArray::fromHex("41420043");
    QTest::newRow("single digit is the high one")
        << QStringList{"4", "12"} << QByteArray::fromHex("40120000");
    QTest::newRow("full pairs, either case")
        << QStringList{"41", "ab", "7E", "00"} << QByteArray::fromHex("41AB7E00");
}

void TestMessageLine::hexBytes()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, start);

    MessageLine line(20);
    line.selectView(View::Hex);
    for (int i = 0; i < cells.size(); ++i)
        line.setHexText(i + 1, cells.at(i));
    const QByteArray bytes = line.hexBytes();
    QCOMPARE(bytes.size(), 20);
    QCOMPARE(bytes.left(start.size()), start);
    QCOMPARE(bytes.mid(start.size()), QByteArray(20 - start.size(), '\0'));
}

void TestMessageLine::showBytesReplacesAsciiView()
{
    MessageLine line(4);
    for (int cell = 1; cell <= 4; ++cell)
        QVERIFY(line.setAsciiText(cell, QStringLiteral("X")));

    QSignalSpy views(&line, &MessageLine::viewChanged);
    line.showBytes(QByteArray::fromHex("000F10FF"));
    QCOMPARE(views.count(), 1);
    QCOMPARE(line.view(), View::Hex);
    const QStringList expected{"00", "0F", "10", "FF"};
    for (int cell = 1; cell <= 4; ++cell) {
        QCOMPARE(line.hexText(cell), expected.at(cell - 1));
        QVERIFY(line.asciiText(cell).isEmpty());
    }
}

QTEST_APPLESS_MAIN(TestMessageLine)
#include "tst_messageline.moc"
