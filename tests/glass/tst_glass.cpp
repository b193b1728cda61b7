#include <QtTest>

#include "glass/GlassRenderer.h"
#include "messages/GlassMessages.h"
#include "support/GlassDots.h"

using GlassText::Kind;

namespace {

ImageCodec::Glyph record(int number, quint8 code, const QString &pattern, quint8 extraBits = 0)
{
    ImageCodec::Glyph glyph =
        ImageCodec::Glyph::drawn(number, code, *ImageCodec::readPattern(pattern));
    for (quint8 &column : glyph.columns)
        column |= extraBits;
    return glyph;
}

const QString Diagonal = QStringLiteral("#..../.#.../..#../...#./....#/...../#####");
const QString LetterA = QStringLiteral(".###./#...#/#...#/#####/#...#/#...#/#...#");
const QString SmallEAcute = QStringLiteral("...#./..#../.###./#...#/#####/#..../.###.");
const QString Box = QStringLiteral("#####/#...#/#...#/#...#/#...#/#...#/#####");

} // namespace

class tst_Glass : public QObject
{
    Q_OBJECT

private slots:
    void cellShowsTheRightDots_data();
    void cellShowsTheRightDots();
    void recordOutsideTheCodesIsNotUsed();
    void renderRepaintsOnlyChangedCells();
    void descriptionNamesEverySpecialCellOnce_data();
    void descriptionNamesEverySpecialCellOnce();
};

void tst_Glass::cellShowsTheRightDots_data()
{
    QTest::addColumn<quint8>("code");
    QTest::addColumn<int>("characterSet");
    QTest::addColumn<QList<ImageCodec::Glyph>>("userCharacters");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dots");

    const QList<ImageCodec::Glyph> none;
    QTest::newRow("font glyph") << quint8('A') << 0 << none << int(Kind::Font) << "A" << LetterA;
    QTest::newRow("stored user character replaces its code")
        << quint8('A') << 0 << QList{record(1, 'B', Box), record(2, 'A', Diagonal)}
        << int(Kind::User) << "A" << Diagonal;
    QTest::newRow("bit 7 of a column ignored")
        << quint8('A') << 0 << QList{record(2, 'A', Diagonal, 0x80)} << int(Kind::User) << "A"
        << Diagonal;
    QTest::newRow("international replacement")
        << quint8(0x7B) << 1 << none << int(Kind::Replaced) << QStringLiteral("é") << SmallEAcute;
    QTest::newRow("user character over the international one")
        << quint8(0x7B) << 1 << QList{record(4, 0x7B, Diagonal)} << int(Kind::User) << "{"
        << Diagonal;
    QTest::newRow("set without a public table draws ASCII")
        << quint8(0x7B) << 12 << none << int(Kind::Font) << "{"
        << QStringLiteral("...#./..#../..#../.#.../..#../..#../...#.");
    QTest::newRow("undrawable code")
        << quint8(0x07) << 0 << none << int(Kind::Undrawable) << "" << Box;
    QTest::newRow("undrawable high code")
        << quint8(0xE9) << 1 << none << int(Kind::Undrawable) << "" << Box;
}

void tst_Glass::cellShowsTheRightDots()
{
    QFETCH(quint8, code);
    QFETCH(int, characterSet);
    QFETCH(QList<ImageCodec::Glyph>, userCharacters);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, dots);

    GlassText::Input input{{QByteArray(1, char(code))}, characterSet, userCharacters};
    const GlassText::Glass glass = GlassText::resolve(input);
    const GlassText::Cell &cell = glass.rows.at(0).at(0);
    QCOMPARE(int(cell.kind), kind);
    QCOMPARE(cell.text, text);

    GlassRenderer renderer(4);
    renderer.render(glass);
    QRgb lit = 0;
    QCOMPARE(glassDots(renderer.image(), renderer, 0, 0, &lit), dots);
    // A code without a glyph is drawn in a colour no character has.
    QCOMPARE(lit == GlassLook::NoGlyph.rgb(), kind == int(Kind::Undrawable));
    // The rest of the row is blank.
    QCOMPARE(glassDots(renderer.image(), renderer, 0, 1),
             QStringLiteral("...../...../...../...../...../...../....."));
}

void tst_Glass::recordOutsideTheCodesIsNotUsed()
{
    const ImageCodec::Glyph outside = record(3, 0x05, Diagonal);
    const GlassText::Glass glass = GlassText::resolve({{QByteArray("\x05"
                                                                   "A")},
                                                       0,
                                                       {outside, ImageCodec::Glyph{}}});
    QCOMPARE(glass.unusedCharacters, QList{outside});
    QCOMPARE(glass.rows.at(0).at(0).kind, Kind::Undrawable);
    QCOMPARE(glass.rows.at(0).at(1).kind, Kind::Font);
}

void tst_Glass::renderRepaintsOnlyChangedCells()
{
    GlassText::Input input{{QByteArray("HELLO"), QByteArray("WORLD")}, 0, {}};
    GlassRenderer renderer(3);
    renderer.render(GlassText::resolve(input));
    QCOMPARE(renderer.cellsPainted(), 40);
    QCOMPARE(renderer.image().size(), renderer.imageSize(2));

    input.rows[1][0] = 'V';
    renderer.render(GlassText::resolve(input));
    QCOMPARE(renderer.cellsPainted(), 1);
    QCOMPARE(glassDots(renderer.image(), renderer, 1, 0),
             QStringLiteral("#...#/#...#/#...#/#...#/#...#/.#.#./..#.."));

    GlassRenderer::State cursor;
    cursor.cursorRow = 1;
    cursor.cursorColumn = 5;
    renderer.render(GlassText::resolve(input), cursor);
    QCOMPARE(renderer.cellsPainted(), 1);
    QVERIFY(renderer.image().pixel(renderer.dotCentre(1, 5, 2, 7)) != GlassLook::Glass.rgb());
}

void tst_Glass::descriptionNamesEverySpecialCellOnce_data()
{
    QTest::addColumn<QByteArray>("row1");
    QTest::addColumn<QByteArray>("row2");
    QTest::addColumn<int>("characterSet");
    QTest::addColumn<QString>("spoken");

    QTest::newRow("plain") << QByteArray("HELLO") << QByteArray() << 0
                           << R"(row 1 "HELLO"; row 2 blank.)";
    QTest::newRow("user character, places folded")
        << QByteArray("AAB A") << QByteArray("A") << 0
        << R"(row 1 "AAB A"; row 2 "A". User Defined Character 2 at 0x41: row 1, columns 1-2, 5; )"
           R"(row 2, column 1.)";
    QTest::newRow("replaced and undrawable")
        << QByteArray("{\x07}") << QByteArray() << 1
        << R"(row 1 "é?è"; row 2 blank. é for 0x7B, as printers show FRANCE (not settled for )"
           R"(displays): row 1, column 1. code 0x07, which this preview cannot draw: row 1, )"
           R"(column 2. è for 0x7D, as printers show FRANCE (not settled for displays): row 1, )"
           R"(column 3.)";
}

void tst_Glass::descriptionNamesEverySpecialCellOnce()
{
    QFETCH(QByteArray, row1);
    QFETCH(QByteArray, row2);
    QFETCH(int, characterSet);
    QFETCH(QString, spoken);

    const GlassText::Glass glass =
        GlassText::resolve({{row1, row2}, characterSet, {record(2, 'A', Diagonal)}});
    QCOMPARE(GlassMessages::describe(glass, {"row 1", "row 2"}, "FRANCE"), spoken);
}

QTEST_GUILESS_MAIN(tst_Glass)
#include "tst_glass.moc"
