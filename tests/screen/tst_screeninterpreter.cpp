#include <QTest>

#include "model/OptionLists.h"
#include "screen/ScreenInterpreter.h"

namespace {

int set(const char *name)
{
    return OptionLists::positionOf(OptionLists::commandSets(), QString::fromLatin1(name));
}

// Bytes written as hex pairs and 'quoted text': "1B 40 'AB' 0D".
QByteArray bytes(const QString &notation)
{
    QByteArray out;
    QString hex;
    for (qsizetype k = 0; k < notation.size(); ++k) {
        if (notation.at(k) == QLatin1Char('\'')) {
            const qsizetype end = notation.indexOf(QLatin1Char('\''), k + 1);
            out.append(notation.mid(k + 1, end - k - 1).toLatin1());
            k = end;
        } else if (notation.at(k) != QLatin1Char(' ')) {
            hex.append(notation.at(k));
            if (hex.size() == 2) {
                out.append(char(hex.toInt(nullptr, 16)));
                hex.clear();
            }
        }
    }
    return out;
}

QString row(const QString &text)
{
    return text.leftJustified(20);
}

QString unknownText(const ScreenInterpreter::Unknown &unknown)
{
    QStringList parts;
    for (const QByteArray &sequence : unknown.sequences)
        parts << QString::fromLatin1(sequence.toHex(' '));
    return parts.join(QLatin1Char('|'));
}

} // namespace

class TestScreenInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void changeOfSetReportsTheCutCommand();
    void feedSaysWhetherTheScreenChanged();
    void unknownSequencesAreBounded();
};

void TestScreenInterpreter::commands_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");
    QTest::addColumn<QString>("unknown");
    QTest::addColumn<bool>("waiting");

    const QString wrappedX = QString(19, QLatin1Char(' ')) + QLatin1Char('X');
    const QString twenty = QStringLiteral("'ABCDEFGHIJKLMNOPQRST'");

    // clang-format off
    QTest::newRow("EPSON text") << set("EPSON") << "'AB'" << "AB" << "" << 0 << 2 << "" << false;
    QTest::newRow("EPSON row 1 wraps to row 2") << set("EPSON") << "1F 24 14 01 'XYZ'" << wrappedX << "YZ" << 1 << 2 << "" << false;
    QTest::newRow("EPSON row 2 wraps to row 1") << set("EPSON") << "1F 24 14 02 'XY'" << "Y" << wrappedX << 0 << 1 << "" << false;
    QTest::newRow("EPSON 0D") << set("EPSON") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC @") << set("EPSON") << "1F 24 05 02 'AB' 1B 40" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("EPSON 0C") << set("EPSON") << "'AB' 0C" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("EPSON ESC = 2") << set("EPSON") << "1B 3D 02 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON ESC = 1") << set("EPSON") << "1B 3D 01 'A'" << "A" << "" << 0 << 1 << "1b 3d 01" << false;
    QTest::newRow("EPSON US 1") << set("EPSON") << "1F 01 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("EPSON US $") << set("EPSON") << "1F 24 05 02 'A'" << "" << "    A" << 1 << 5 << "" << false;
    QTest::newRow("EPSON US $ column 21") << set("EPSON") << "1F 24 15 01 'A'" << "A" << "" << 0 << 1 << "1f 24 15 01" << false;
    QTest::newRow("EPSON US $ row 3") << set("EPSON") << "1F 24 01 03" << "" << "" << 0 << 0 << "1f 24 01 03" << false;
    QTest::newRow("EPSON ESC R n") << set("EPSON") << "1B 52 03 'A'" << "A" << "" << 0 << 1 << "1b 52 03" << false;
    QTest::newRow("EPSON other ESC") << set("EPSON") << "1B 7A 'A'" << "A" << "" << 0 << 1 << "1b 7a" << false;
    QTest::newRow("EPSON other US") << set("EPSON") << "1F 02 'A'" << "A" << "" << 0 << 1 << "1f 02" << false;
    QTest::newRow("EPSON control") << set("EPSON") << "0A 'A'" << "A" << "" << 0 << 1 << "0a" << false;
    QTest::newRow("EPSON above 7E") << set("EPSON") << "'A' 80 7F 'B'" << "AB" << "" << 0 << 2 << "80|7f" << false;
    QTest::newRow("EPSON waits") << set("EPSON") << "1F 24 05" << "" << "" << 0 << 0 << "" << true;

    QTest::newRow("UTC/S 0D") << set("UTC/S") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S DLE") << set("UTC/S") << "10 15 'A'" << "" << " A" << 1 << 2 << "" << false;
    QTest::newRow("UTC/S DLE 28") << set("UTC/S") << "10 28 'A'" << "A" << "" << 0 << 1 << "10 28" << false;
    QTest::newRow("UTC/S US") << set("UTC/S") << "'AB' 1F" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("UTC/S RS") << set("UTC/S") << "'AB' 1E" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("UTC/S DC1") << set("UTC/S") << "11 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/S 0F is no position") << set("UTC/S") << "0F 14 'A'" << "A" << "" << 0 << 1 << "0f|14" << false;

    QTest::newRow("UTC/P 0D") << set("UTC/P") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/P ESC u A") << set("UTC/P") << "'XYZ' 1B 75 41 'AB' 0D" << "AB" << "" << 0 << 3 << "" << false;
    QTest::newRow("UTC/P ESC u B") << set("UTC/P") << "1B 75 42 'AB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("UTC/P empty clears") << set("UTC/P") << "'XY' 1B 75 41 0D" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("UTC/P full row, its 0D") << set("UTC/P") << "'AB' 1B 75 42 " + twenty + " 0D 'x'" << "ABx" << "ABCDEFGHIJKLMNOPQRST" << 0 << 3 << "" << false;
    QTest::newRow("UTC/P full row, then text") << set("UTC/P") << "1B 75 42 " + twenty + " 'x'" << "x" << "ABCDEFGHIJKLMNOPQRST" << 0 << 1 << "" << false;
    QTest::newRow("UTC/P control in text") << set("UTC/P") << "1B 75 41 'A' 07 'B' 0D" << "AB" << "" << 0 << 0 << "07" << false;
    QTest::newRow("UTC/P ESC d") << set("UTC/P") << "1B 64 'A'" << "A" << "" << 0 << 1 << "" << false;
    QTest::newRow("UTC/P ESC u C") << set("UTC/P") << "1B 75 43 'A'" << "A" << "" << 0 << 1 << "1b 75 43" << false;
    QTest::newRow("UTC/P waits for 0D") << set("UTC/P") << "1B 75 41 'AB'" << "" << "" << 0 << 0 << "" << true;

    QTest::newRow("AEDEX 0D") << set("AEDEX") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("AEDEX !#1") << set("AEDEX") << "'XYZ!#1AB' 0D" << "AB" << "" << 0 << 3 << "" << false;
    QTest::newRow("AEDEX !#2") << set("AEDEX") << "'!#2AB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX !#9") << set("AEDEX") << "'!#9' " + twenty + " 'UVW' 0D" << "ABCDEFGHIJKLMNOPQRST" << "UVW" << 0 << 0 << "" << false;
    QTest::newRow("AEDEX ! is text") << set("AEDEX") << "'A!B!'" << "A!B" << "" << 0 << 3 << "" << true;
    QTest::newRow("AEDEX !#A") << set("AEDEX") << "'!#AB'" << "B" << "" << 0 << 1 << "21 23 41" << false;
    QTest::newRow("EMAX !#2") << set("EMAX") << "'!#2AB' 0D" << "" << "AB" << 0 << 0 << "" << false;

    QTest::newRow("ADM788 0D") << set("ADM788") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("ADM788 0C") << set("ADM788") << "'AB' 0C" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("ADM788 0E") << set("ADM788") << twenty + " 'UV' 0E 'x'" << "x" << "UV" << 0 << 1 << "" << false;
    QTest::newRow("ADM788 0F") << set("ADM788") << twenty + " 'UV' 0F 'x'" << "ABCDEFGHIJKLMNOPQRST" << "x" << 1 << 1 << "" << false;
    QTest::newRow("ADM788 ESC") << set("ADM788") << "1B 40 'A'" << "@A" << "" << 0 << 2 << "1b" << false;

    QTest::newRow("CD5220 0D") << set("CD5220") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 0C") << set("CD5220") << "'AB' 0C" << "" << "" << 0 << 2 << "" << false;
    QTest::newRow("CD5220 ESC @") << set("CD5220") << "'AB' 1B 40 'C'" << "ABC" << "" << 0 << 3 << "" << false;
    QTest::newRow("CD5220 ESC Q A") << set("CD5220") << "1B 51 41 'AB' 0D" << "AB" << "" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 ESC Q B") << set("CD5220") << "1B 51 42 'AB' 0D" << "" << "AB" << 0 << 0 << "" << false;
    QTest::newRow("CD5220 CLR in string mode") << set("CD5220") << "'XY' 1B 51 42 'AB' 0C 'C'" << "  C" << "" << 0 << 3 << "" << false;
    QTest::newRow("CD5220 CAN in string mode") << set("CD5220") << "1B 51 41 'AB' 18 'C'" << "C" << "" << 0 << 1 << "" << false;
    QTest::newRow("CD5220 ESC in string mode") << set("CD5220") << "1B 51 41 'A' 1B 'B' 0D" << "AB" << "" << 0 << 0 << "1b" << false;
    QTest::newRow("CD5220 ESC l") << set("CD5220") << "1B 6C 05 02 'A'" << "" << "    A" << 1 << 5 << "" << false;
    QTest::newRow("CD5220 ESC l column 0") << set("CD5220") << "1B 6C 00 01 'A'" << "A" << "" << 0 << 1 << "1b 6c 00 01" << false;
    QTest::newRow("CD5220 ESC f n") << set("CD5220") << "1B 66 41 'B'" << "B" << "" << 0 << 1 << "1b 66 41" << false;
    QTest::newRow("CD5220 CAN outside") << set("CD5220") << "18" << "" << "" << 0 << 0 << "18" << false;

    QTest::newRow("LogicControl 0D") << set("LogicControl") << "'ABC' 0D 'x'" << "xBC" << "" << 0 << 1 << "" << false;
    QTest::newRow("LogicControl US") << set("LogicControl") << "10 15 'AB' 1F" << "" << "" << 0 << 0 << "" << false;
    QTest::newRow("LogicControl DLE") << set("LogicControl") << "10 15 'A'" << "" << " A" << 1 << 2 << "" << false;
    QTest::newRow("LogicControl DLE 28") << set("LogicControl") << "10 28" << "" << "" << 0 << 0 << "10 28" << false;
    QTest::newRow("LogicControl BS") << set("LogicControl") << "'AB' 08 'x' 10 00 08 'y'" << "yx" << "" << 0 << 1 << "" << false;
    QTest::newRow("LogicControl HT") << set("LogicControl") << "'A' 09 'B'" << "A B" << "" << 0 << 3 << "" << false;
    QTest::newRow("LogicControl LF normal") << set("LogicControl") << "11 10 14 'A' 0A 'B'" << " B" << "A" << 0 << 2 << "" << false;
    QTest::newRow("LogicControl LF scrolls") << set("LogicControl") << "10 14 'AB' 0A 'C'" << "AB" << "  C" << 1 << 3 << "" << false;
    QTest::newRow("LogicControl scrolls at power-on") << set("LogicControl") << "10 27 'XY'" << wrappedX << "Y" << 1 << 1 << "" << false;
    QTest::newRow("LogicControl full lower row stays") << set("LogicControl") << "10 27 'X'" << "" << wrappedX << 1 << 19 << "" << false;
    QTest::newRow("LogicControl DC1 wraps") << set("LogicControl") << "11 10 27 'XY'" << "Y" << wrappedX << 0 << 1 << "" << false;
    QTest::newRow("LogicControl DC2 scrolls") << set("LogicControl") << "11 12 10 27 'XY'" << wrappedX << "Y" << 1 << 1 << "" << false;
    QTest::newRow("LogicControl control") << set("LogicControl") << "07" << "" << "" << 0 << 0 << "07" << false;

    QTest::newRow("KS310 data only") << set("KS310") << "'A' 1B 0D 'B'" << "A??B" << "" << 0 << 4 << "1b|0d" << false;
    QTest::newRow("DSP800 data only") << set("DSP800") << "'!#1' 0C" << "!#1?" << "" << 0 << 4 << "0c" << false;
    QTest::newRow("outside the list") << 10 << "1B 40" << "?@" << "" << 0 << 2 << "1b" << false;
    // clang-format on
}

void TestScreenInterpreter::commands()
{
    QFETCH(int, set);
    QFETCH(QString, input);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);
    QFETCH(QString, unknown);
    QFETCH(bool, waiting);

    QVERIFY(set >= 0);
    ScreenInterpreter model(set);
    model.feed(bytes(input));
    QCOMPARE(model.rowText(0), row(upper));
    QCOMPARE(model.rowText(1), row(lower));
    QCOMPARE(model.screen().cursorRow(), cursorRow);
    QCOMPARE(model.screen().cursorColumn(), cursorColumn);
    QCOMPARE(unknownText(model.takeUnknown()), unknown);
    QVERIFY(!model.hasUnknown());
    QCOMPARE(model.waiting(), waiting);
}

void TestScreenInterpreter::changeOfSetReportsTheCutCommand()
{
    ScreenInterpreter model(set("UTC/P"));
    model.feed(bytes("1B 75 41 'AB'"));
    model.setCommandSet(set("EPSON"));
    QVERIFY(!model.waiting());
    QCOMPARE(unknownText(model.takeUnknown()), QStringLiteral("1b 75 41 41 42"));
    // The rest is read in the new set.
    model.feed(bytes("0D 1B 40 'C'"));
    QCOMPARE(model.rowText(0), row(QStringLiteral("C")));
    QVERIFY(!model.hasUnknown());
}

void TestScreenInterpreter::feedSaysWhetherTheScreenChanged()
{
    ScreenInterpreter model(set("EPSON"));
    QVERIFY(model.feed(bytes("'A'")));
    QVERIFY(!model.feed(bytes("1F 01 1F 24 02")));
    QVERIFY(!model.feed(bytes("01")));    // the cursor was already there
    QVERIFY(model.feed(bytes("0D")));     // the cursor moved
    QVERIFY(!model.feed(bytes("1B 7A"))); // only reported
    QVERIFY(model.hasUnknown());
}

void TestScreenInterpreter::unknownSequencesAreBounded()
{
    ScreenInterpreter model(set("ADM788"));
    model.feed(QByteArray(300, '\x07') + QByteArray("\x1B", 1));
    const ScreenInterpreter::Unknown unknown = model.takeUnknown();
    QCOMPARE(unknown.sequences.size(), 256);
    QCOMPARE(unknown.dropped, 45);
    QCOMPARE(unknown.sequences.last(), QByteArray("\x1B", 1));
    QVERIFY(model.takeUnknown().isEmpty());
}

QTEST_GUILESS_MAIN(TestScreenInterpreter)
#include "tst_screeninterpreter.moc"
