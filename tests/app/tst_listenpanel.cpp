// "Listen To Till" on the "VFD Check" page, on the fake serial component.

#include <QListWidget>
#include <QTest>

#include "FormRig.h"
#include "app/ChangeHistory.h"
#include "app/ListenPanel.h"
#include "app/widgets/GlassView.h"
#include "commandsets/CommandSets.h"
#include "listen/TillTraffic.h"

class tst_ListenPanel : public QObject
{
    Q_OBJECT

private slots:
    void useThisCommandModeIsOneStep();
};

// A CD5220 till heard at 19200 baud: its set and speed go to the first
// page at once, and one undo takes both back.
void tst_ListenPanel::useThisCommandModeIsOneStep()
{
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    rig.combo("Comm")->setCurrentText(QStringLiteral("/dev/ttyUSB0"));
    rig.combo("Baud")->setCurrentText(QStringLiteral("19200,n,8,1"));
    const QStringList before = rig.snapshot();
    const int stepsBefore = rig.form.history().stack().count();

    rig.click("ListenTill");
    QVERIFY(rig.form.listenPanel().listening());
    QVERIFY(!rig.get<QPushButton>("Download")->isEnabled());
    const QByteArray sale = TillTraffic::session(CommandSets::Cd5220, 3);
    rig.comm.receive(sale);
    QTRY_VERIFY(rig.get<QListWidget>("ListenList")
                    ->item(0)
                    ->text()
                    .startsWith(QStringLiteral("%1 bytes heard").arg(sale.size())));
    rig.ticks.advance(ListenPanel::ListenSeconds * 1000);
    QTRY_VERIFY(!rig.form.listenPanel().listening());

    QVERIFY(rig.comm.written.isEmpty());
    QVERIFY(rig.get<QPushButton>("Download")->isEnabled());
    QVERIFY(rig.get<QListWidget>("ListenList")->item(0)->text().contains("CD5220"));
    QCOMPARE(rig.get<GlassView>("TestPreview")->rows(),
             QStringList({TillTraffic::saleRow(2, 0), TillTraffic::saleRow(2, 1)}));
    QCOMPARE(rig.snapshot(), before); // listening changes nothing

    rig.click("UseCommandMode");
    QCOMPARE(rig.comboText("Command"), QStringLiteral("CD5220"));
    QCOMPARE(rig.comboText("BaudRate"), QStringLiteral("19200,n,8,1"));
    QVERIFY(rig.get<QLabel>("SpeedNote")->text().contains("19200,n,8,1"));
    QCOMPARE(rig.form.history().stack().count(), stepsBefore + 1);

    rig.get<QWidget>("UseCommandMode")->setFocus();
    QTest::keyClick(rig.get<QWidget>("UseCommandMode"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.snapshot(), before);
}

QTEST_MAIN(tst_ListenPanel)
#include "tst_listenpanel.moc"
