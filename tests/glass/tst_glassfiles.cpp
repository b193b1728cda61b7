// The glass as a PNG from the programs: tq540ctl show --png and tq540sim --png.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "glass/GlassPicture.h"
#include "support/CtlProcess.h"
#include "support/GlassDots.h"
#include "support/SimProcess.h"

namespace {

const QString Diagonal = QStringLiteral("#..../.#.../..#../...#./....#/...../#####");
const QString LetterH = QStringLiteral("#...#/#...#/#...#/#####/#...#/#...#/#...#");
const GlassRenderer FileGeometry(GlassPicture::FilePitch);

} // namespace

class tst_GlassFiles : public QObject
{
    Q_OBJECT

private slots:
    void ctlShowWritesTheWelcomeGlass();
    void simulatorWritesItsGlassAfterEachChange();

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    QTemporaryDir m_dir;
};

void tst_GlassFiles::ctlShowWritesTheWelcomeGlass()
{
    QCOMPARE(runCtl({"new", "-o", path("shop.vfd"), "--char", "GERMANY", "--line1", "A[", "--line2",
                     QString(20, QLatin1Char('-')) + "H", "--glyph", "3:0x41:" + Diagonal})
                 .status,
             0);
    QCOMPARE(runCtl({"show", path("shop.vfd"), "--png", path("shop.png")}).status, 0);
    const QImage picture(path("shop.png"));
    QVERIFY(!picture.isNull());
    QCOMPARE(glassDots(picture, FileGeometry, 0, 0), Diagonal); // the user character
    // 0x5B is Ä in the German set.
    QCOMPARE(glassDots(picture, FileGeometry, 0, 1),
             QStringLiteral("#...#/.###./#...#/#...#/#####/#...#/#...#"));
    // Line 2's 21st character, under the glass.
    const int underTop = FileGeometry.imageSize(2).height() + GlassPicture::FilePitch;
    QCOMPARE(glassDots(picture.copy(0, underTop, picture.width(), picture.height() - underTop),
                       FileGeometry, 0, 0),
             LetterH);

    // A path that cannot be written: the usual message and status, no file.
    const CtlResult failed = runCtl({"show", path("shop.vfd"), "--png", path("none/shop.png")});
    QCOMPARE(failed.status, 3);
    QVERIFY2(failed.err.contains("could not be saved"), qPrintable(failed.err));
    QVERIFY(!QFileInfo::exists(path("none")));
}

void tst_GlassFiles::simulatorWritesItsGlassAfterEachChange()
{
    SimProcess sim(QStringLiteral(TQ540SIM));
    QVERIFY(sim.start({"--quiet", "--command", "EPSON", "--png", path("glass.png")}));
    QTRY_VERIFY(QFileInfo::exists(path("glass.png")));
    QCOMPARE(glassDots(QImage(path("glass.png")), FileGeometry, 0, 0),
             QStringLiteral("...../...../...../...../...../...../....."));

    QCOMPARE(runCtl({"test", "--port", sim.port(), "--line1", "HI", "--line2", "\\"}).status, 0);
    QTRY_COMPARE(glassDots(QImage(path("glass.png")), FileGeometry, 0, 0), LetterH);

    // A till defines "H" at run time (ESC & 1 H H, five columns) and selects
    // its own characters (ESC % 1): the H already shown takes its dots.
    QFile till(sim.port());
    QVERIFY(till.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    till.write(QByteArray::fromHex("1b26014848054142444850" "1b2501"));
    till.close();
    QTRY_COMPARE(glassDots(QImage(path("glass.png")), FileGeometry, 0, 0), Diagonal);

    // A path that cannot be written ends it with its message, and no file.
    QProcess unwritable;
    unwritable.start(QStringLiteral(TQ540SIM), {"--quiet", "--png", path("none/glass.png")});
    QVERIFY(unwritable.waitForFinished(10000));
    QCOMPARE(unwritable.exitCode(), 1);
    const QByteArray said = unwritable.readAllStandardError();
    QVERIFY2(said.contains("could not be saved"), said.constData());
    QVERIFY(!QFileInfo::exists(path("none")));
}

QTEST_MAIN(tst_GlassFiles)
#include "tst_glassfiles.moc"
