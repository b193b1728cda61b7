#include <QTest>

#include "editors/LineTyping.h"

using Caret = LineTyping::Caret;
Q_DECLARE_METATYPE(Caret)

// Typing, pasting and caret keys on a short line of four cells.
class TestLineTyping : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void hexCellsTakeOnlyDigits_data();
    void hexCellsTakeOnlyDigits();
};

void TestLineTyping::keys_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<Caret>("at");
    QTest::addColumn<QString>("key"); // type, paste, backspace, left, right, end, click
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<Caret>("lands");
    const QStringList empty = {"", "", "", ""};
    const QStringList pairs = {"41", "42", "", ""};

    // Typing and pasting.
    QTest::newRow("second digit moves on") << true << empty << Caret{1, 0} << "type"
                                           << "41" << QStringList{"41", "", "", ""} << Caret{2, 0};
    QTest::newRow("one digit stays") << true << empty << Caret{2, 0} << "type"
                                     << "4" << QStringList{"", "4", "", ""} << Caret{2, 1};
    QTest::newRow("short cell takes an insert")
        << true << QStringList{"4", "", "", ""} << Caret{1, 0} << "type"
        << "7" << QStringList{"74", "", "", ""} << Caret{1, 1};
    QTest::newRow("full cells are typed over")
        << true << QStringList{"11", "22", "33", "44"} << Caret{1, 0} << "type"
        << "ABCD" << QStringList{"AB", "CD", "33", "44"} << Caret{3, 0};
    QTest::newRow("typing stops at the line's end")
        << true << empty << Caret{4, 0} << "type"
        << "123456" << QStringList{"", "", "", "12"} << Caret{4, 2};
    QTest::newRow("hex paste skips blanks")
        << true << empty << Caret{2, 0} << "paste"
        << "41 42\n43 44" << QStringList{"", "41", "42", "43"} << Caret{4, 2};
    QTest::newRow("characters go on cell by cell")
        << false << empty << Caret{1, 0} << "type"
        << "Hi" << QStringList{"H", "i", "", ""} << Caret{3, 0};
    QTest::newRow("characters are typed over")
        << false << QStringList{"a", "b", "c", "d"} << Caret{2, 0} << "type"
        << "XY" << QStringList{"a", "X", "Y", "d"} << Caret{4, 0};
    QTest::newRow("a character without a code stops")
        << false << empty << Caret{1, 0} << "type" << QString::fromUtf8("A\u0100B")
        << QStringList{"A", "", "", ""} << Caret{2, 0};
    QTest::newRow("a character beyond the BMP is never split")
        << false << empty << Caret{1, 0} << "paste" << QString::fromUtf16(u"A\U0001F600B")
        << QStringList{"A", "", "", ""} << Caret{2, 0};
    QTest::newRow("ASCII paste keeps blanks, stops at the end")
        << false << empty << Caret{2, 0} << "paste"
        << "a bcd" << QStringList{"", "a", " ", "b"} << Caret{4, 1};

    // Backspace.
    QTest::newRow("backspace in an empty cell goes back")
        << true << pairs << Caret{3, 0} << "backspace" << QString()
        << QStringList{"41", "4", "", ""} << Caret{2, 1};
    QTest::newRow("backspace inside a cell")
        << true << pairs << Caret{1, 2} << "backspace" << QString()
        << QStringList{"4", "42", "", ""} << Caret{1, 1};
    QTest::newRow("backspace at the line's start")
        << true << pairs << Caret{1, 0} << "backspace" << QString() << pairs << Caret{1, 0};
    QTest::newRow("backspace over a character")
        << false << QStringList{"a", "b", "", ""} << Caret{3, 0} << "backspace" << QString()
        << QStringList{"a", "", "", ""} << Caret{2, 0};

    // The caret keys.
    QTest::newRow("right within a cell")
        << true << pairs << Caret{1, 0} << "right" << QString() << pairs << Caret{1, 1};
    QTest::newRow("right crosses a border")
        << true << pairs << Caret{1, 1} << "right" << QString() << pairs << Caret{2, 0};
    QTest::newRow("right over an empty cell")
        << true << pairs << Caret{3, 0} << "right" << QString() << pairs << Caret{4, 0};
    QTest::newRow("right at the line's end")
        << true << QStringList{"", "", "", "9"} << Caret{4, 1} << "right" << QString()
        << QStringList{"", "", "", "9"} << Caret{4, 1};
    QTest::newRow("left crosses a border")
        << true << pairs << Caret{2, 0} << "left" << QString() << pairs << Caret{1, 1};
    QTest::newRow("left onto a character")
        << false << QStringList{"a", "b", "", ""} << Caret{2, 0} << "left" << QString()
        << QStringList{"a", "b", "", ""} << Caret{1, 0};
    QTest::newRow("left at the line's start")
        << true << pairs << Caret{1, 0} << "left" << QString() << pairs << Caret{1, 0};
    QTest::newRow("end after the last pair")
        << true << pairs << Caret{1, 0} << "end" << QString() << pairs << Caret{3, 0};
    QTest::newRow("end after a single digit")
        << true << QStringList{"41", "4", "", ""} << Caret{1, 0} << "end" << QString()
        << QStringList{"41", "4", "", ""} << Caret{2, 1};
    QTest::newRow("end of a full line")
        << false << QStringList{"a", "b", "c", "d"} << Caret{1, 0} << "end" << QString()
        << QStringList{"a", "b", "c", "d"} << Caret{4, 1};
    QTest::newRow("end of an empty line")
        << false << empty << Caret{3, 0} << "end" << QString() << empty << Caret{1, 0};

    // A click stays in the cell it hit.
    QTest::newRow("click after a full character")
        << false << QStringList{"a", "b", "", ""} << Caret{1, 1} << "click" << QString()
        << QStringList{"a", "b", "", ""} << Caret{1, 0};
    QTest::newRow("click after a full pair")
        << true << pairs << Caret{2, 2} << "click" << QString() << pairs << Caret{2, 1};
    QTest::newRow("click after a single digit")
        << true << QStringList{"4", "", "", ""} << Caret{1, 1} << "click" << QString()
        << QStringList{"4", "", "", ""} << Caret{1, 1};
}

void TestLineTyping::keys()
{
    QFETCH(bool, hex);
    QFETCH(QStringList, before);
    QFETCH(Caret, at);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    QFETCH(Caret, lands);
    MessageLine line(4);
    line.selectView(hex ? MessageLine::View::Hex : MessageLine::View::Ascii);
    for (int cell = 1; cell <= 4; ++cell) {
        if (hex)
            line.setHexText(cell, before[cell - 1]);
        else
            QVERIFY(line.setAsciiText(cell, before[cell - 1]));
    }
    LineTyping typing(line);

    Caret caret;
    if (key == "type")
        caret = typing.type(at, text);
    else if (key == "paste")
        caret = typing.paste(at, text);
    else if (key == "backspace")
        caret = typing.backspace(at);
    else if (key == "left")
        caret = typing.left(at);
    else if (key == "right")
        caret = typing.right(at);
    else if (key == "click")
        caret = typing.clicked(at);
    else
        caret = typing.end();

    QStringList cells;
    for (int cell = 1; cell <= 4; ++cell)
        cells << line.text(line.view(), cell);
    QCOMPARE(cells, after);
    QCOMPARE(caret.cell, lands.cell);
    QCOMPARE(caret.offset, lands.offset);
}

void TestLineTyping::hexCellsTakeOnlyDigits_data()
{
    QTest::addColumn<QString>("how"); // type, paste, or set (a cell's whole text)
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cell2"); // what cell 2 holds after

    const auto row = [](const char *name, const char *how, const char *text, const char *cell2) {
        QTest::newRow(name) << QString(how) << QString(text) << QString(cell2);
    };
    row("typed letter", "type", "z", "");
    row("typing stops at a non-digit", "type", "FG", "F");
    row("typed in either case", "type", "aB", "aB");
    row("pasted text with a non-digit", "paste", "42 g2 43", "");
    row("set with a non-digit", "set", "g2", "");
    row("set blank", "set", " ", "");
}

void TestLineTyping::hexCellsTakeOnlyDigits()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, cell2);
    MessageLine line(4);
    line.selectView(MessageLine::View::Hex);
    QVERIFY(line.setHexText(1, QStringLiteral("41")));
    LineTyping typing(line);

    if (how == "type")
        typing.type({2, 0}, text);
    else if (how == "paste")
        typing.paste({2, 0}, text);
    else
        QCOMPARE(line.setHexText(2, text), !cell2.isEmpty());

    const QStringList cells{line.hexText(1), line.hexText(2), line.hexText(3), line.hexText(4)};
    QCOMPARE(cells, (QStringList{"41", cell2, "", ""}));
}

QTEST_APPLESS_MAIN(TestLineTyping)
#include "tst_linetyping.moc"
