// What tq540sim --png gives the renderer besides the cells: the brightness,
// the cursor and the blinking a till set, checked on the picture's dots.

#include <QTest>

#include "GlassFile.h"
#include "commandsets/CommandSets.h"
#include "glass/GlassPicture.h"
#include "support/GlassDots.h"
#include "support/ScreenNotation.h"

namespace {

const QString LetterA = QStringLiteral(".###./#...#/#...#/#####/#...#/#...#/#...#");
const QString Dark = QStringLiteral("...../...../...../...../...../...../.....");
const GlassRenderer Geometry(GlassPicture::FilePitch);

// The cell whose cursor line is lit; -1 for none.
int cursorCell(const QImage &picture)
{
    for (int cell = 0; cell < Screen::Rows * Screen::Columns; ++cell) {
        const QPoint dot = Geometry.dotCentre(cell / Screen::Columns, cell % Screen::Columns, 0, 7);
        if (picture.pixel(dot) != GlassLook::Glass.rgb())
            return cell;
    }
    return -1;
}

} // namespace

class TestGlassFile : public QObject
{
    Q_OBJECT

private slots:
    void pictureShowsTheLook_data();
    void pictureShowsTheLook();
};

void TestGlassFile::pictureShowsTheLook_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("dots"); // of the first cell
    QTest::addColumn<int>("cursorCell");
    QTest::addColumn<bool>("dimmed");

    QTest::newRow("power-on") << "'A'" << LetterA << -1 << false;
    QTest::newRow("cursor shown after the A") << "1F 43 01 'A'" << LetterA << 1 << false;
    QTest::newRow("lowest brightness") << "1F 58 01 'A'" << LetterA << -1 << true;
    // A still picture shows a blinking screen in its lit phase.
    QTest::newRow("blinking") << "1F 43 01 1F 45 0A 'A'" << LetterA << 1 << false;
    QTest::newRow("blanked, cursor and all") << "1F 43 01 'A' 1F 45 FF" << Dark << -1 << false;
    QTest::newRow("blinking again after blanked")
        << "'A' 1F 45 FF 1F 45 0A" << LetterA << -1 << false;
}

void TestGlassFile::pictureShowsTheLook()
{
    QFETCH(QString, input);
    QFETCH(QString, dots);
    QFETCH(int, cursorCell);
    QFETCH(bool, dimmed);

    ScreenInterpreter display(CommandSets::Epson);
    display.feed(bytes(input));
    const SettingsImage image;
    const QImage picture =
        GlassPicture::compose(GlassFile::glassOf(display, image), GlassFile::stateOf(display));
    QRgb lit = 0;
    QCOMPARE(glassDots(picture, Geometry, 0, 0, &lit), dots);
    QCOMPARE(::cursorCell(picture), cursorCell);
    if (dots != Dark)
        QCOMPARE(qGreen(lit) < qGreen(GlassLook::Lit.rgb()), dimmed);
}

QTEST_GUILESS_MAIN(TestGlassFile)
#include "tst_glassfile.moc"
