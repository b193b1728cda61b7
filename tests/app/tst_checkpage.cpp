#include <QClipboard>
#include <QListWidget>
#include <QTest>

#include "FormRig.h"
#include "app/widgets/GlassView.h"
#include "commandsets/TestScreen.h"
#include "messages/WindowMessages.h"

// The "VFD Check" page in the window, on the fake serial component: find,
// compare and a test screen, one pass through each.
class tst_CheckPage : public QObject
{
    Q_OBJECT

private slots:
    void findSetsTheLink();
    void compareSendTestAndSpeedNote();
    void pastedTestTextIsNeverCut_data();
    void pastedTestTextIsNeverCut();
};

// Com 2 holds a display; every other port, the system's included, cannot be
// opened. The one display found becomes the window's link.
void tst_CheckPage::findSetsTheLink()
{
    FormRig rig;
    SettingsImage held;
    held.set(ImageLayout::CommandSet, 7);
    held.set(ImageLayout::DisplaySpeed, 1); // after its restart
    const QByteArray reply = QByteArray(1, '\xAA') + held.configBytes();
    rig.form.displayCheck().setFinderLinks([reply](const PortChoice &port) {
        auto ticks = std::make_unique<FakeTicks>();
        auto comm = std::make_unique<FakeComm>(ticks.get());
        comm->refuseOpen = port.shownText != QStringLiteral("Com 2");
        comm->reply = {{5, reply}};
        return DisplayFinder::Link{std::move(ticks), std::move(comm)};
    });
    rig.combo("Baud")->setCurrentIndex(1);

    rig.click("FindVFD");
    QVERIFY(!rig.get<QPushButton>("Download")->isEnabled());
    QVERIFY(rig.get<QPushButton>("FindStop")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(rig.get<QPushButton>("Download")->isEnabled(), 10000);

    auto *found = rig.get<QListWidget>("FindList");
    QVERIFY(found->count() >= 8);
    const QList<QListWidgetItem *> answered =
        found->findItems(QStringLiteral("Com 2: 9600,n,8,1, "), Qt::MatchStartsWith);
    QCOMPARE(answered.size(), 1);
    QVERIFY(answered.first()->text().contains("CD5220"));
    QCOMPARE(found->currentItem(), answered.first());
    QCOMPARE(rig.comboText("Comm"), QStringLiteral("Com 2"));
    QCOMPARE(rig.comboText("Baud"), QStringLiteral("9600,n,8,1"));
    QVERIFY(!rig.get<QPushButton>("FindStop")->isEnabled());
    // The display taken for the link is the one the speed note speaks of.
    QVERIFY(rig.get<QLabel>("SpeedNote")->text().contains("listens at 19200,n,8,1"));
}

void tst_CheckPage::compareSendTestAndSpeedNote()
{
    FormRig rig;
    constexpr int Cd5220 = 7;
    rig.combo("Command")->setCurrentIndex(Cd5220);
    const QStringList before = rig.snapshot();

    // The display still holds the factory command set.
    SettingsImage display = rig.form.configuration().assembledImage();
    display.set(ImageLayout::CommandSet, 1);
    rig.comm.reply = {{0, QByteArray(1, '\xAA') + display.configBytes()}};
    rig.click("CompareVFD");
    auto *differences = rig.get<QListWidget>("CompareList");
    QCOMPARE(differences->count(), 2);
    QCOMPARE(differences->item(1)->text(),
             QStringLiteral("Command Mode: CD5220 / display: EPSON (Default)"));
    QCOMPARE(rig.snapshot(), before);

    // The test screen in the set shown on this page, and its preview.
    QCOMPARE(rig.get<QLabel>("TestSet")->text(), QStringLiteral("CD5220"));
    auto *line2 = rig.get<QLineEdit>("TestLine2");
    line2->selectAll();
    QTest::keyClicks(line2, "PRICE 1.99");
    rig.comm.written.clear();
    rig.click("SendTest");
    const QString line1 = TestScreen::defaultLine1(Cd5220);
    QCOMPARE(rig.comm.written,
             TestScreen::compose(Cd5220, line1, QStringLiteral("PRICE 1.99")).bytes);
    QCOMPARE(rig.get<GlassView>("TestPreview")->rows(),
             (QStringList{line1.leftJustified(20), QStringLiteral("PRICE 1.99").leftJustified(20)}));
    QCOMPARE(rig.get<QLabel>("TestNote")->text(), QStringLiteral("Test screen sent to Com 1."));

    // A set without a public description: no test, and the page says why.
    rig.combo("Command")->setCurrentIndex(0);
    QVERIFY(!rig.get<QPushButton>("SendTest")->isEnabled());
    QVERIFY(rig.get<QLabel>("TestNote")->text().contains("KS310"));

    // A download to a faster display: the page and "Buad Rate" say so.
    rig.combo("BaudRate")->setCurrentIndex(1);
    rig.comm.reply.clear();
    rig.click("Download");
    const QString note = rig.get<QLabel>("SpeedNote")->text();
    QVERIFY(note.contains("19200,n,8,1"));
    QCOMPARE(rig.combo("Baud")->toolTip(), WindowMessages::linkSpeedTip(note));
    QCOMPARE(rig.combo("BaudRate")->toolTip(), WindowMessages::displaySpeedTip());
    rig.combo("Baud")->setCurrentIndex(1);
    QVERIFY(rig.get<QLabel>("SpeedNote")->text().isEmpty());

    // Another display is read, one set to a speed the link is not at: the
    // note now speaks of it.
    display.set(ImageLayout::DisplaySpeed, 0);
    rig.comm.reply = {{0, QByteArray(1, '\xAA') + display.configBytes()}};
    rig.click("GetSetting");
    QCOMPARE(rig.comboText("BaudRate"), QStringLiteral("9600,n,8,1 (Default)"));
    QVERIFY(rig.get<QLabel>("SpeedNote")->text().contains("listens at 9600,n,8,1"));
    QCOMPARE(rig.combo("Baud")->toolTip(),
             WindowMessages::linkSpeedTip(rig.get<QLabel>("SpeedNote")->text()));
}

void tst_CheckPage::pastedTestTextIsNeverCut_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("note");
    const QString nineteen = QStringLiteral("ABCDEFGHIJKLMNOPQRS");
    QTest::newRow("20 characters, the last beyond the BMP")
        << nineteen + QString::fromUtf16(u"\U0001F600")
        << QString::fromUtf16(u"line 1, character 20 is \"\U0001F600\" (U+1F600)");
    QTest::newRow("25 characters") << nineteen + "TUVWXY"
                                   << "line 1 has 25 characters; a row holds 20";
    QTest::newRow("20 characters") << nineteen + "T"
                                   << "Test screen sent to Com 1.";
}

// A pasted text stays whole: what is too long, or holds a character the
// display cannot show, is refused as the user gave it, and nothing is sent.
void tst_CheckPage::pastedTestTextIsNeverCut()
{
    QFETCH(QString, pasted);
    QFETCH(QString, note);
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    rig.get<QTabWidget>("SSTab1")->setCurrentIndex(3);
    auto *line1 = rig.get<QLineEdit>("TestLine1");
    line1->setFocus();
    line1->selectAll();
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keySequence(line1, QKeySequence::Paste);
    QCOMPARE(line1->text(), pasted);

    rig.click("SendTest");
    QVERIFY2(rig.get<QLabel>("TestNote")->text().contains(note),
             qPrintable(rig.get<QLabel>("TestNote")->text()));
    QCOMPARE(rig.comm.written.isEmpty(), !note.startsWith("Test screen sent"));
}

QTEST_MAIN(tst_CheckPage)
#include "tst_checkpage.moc"
