#include <QGuiApplication>
#include <QTest>
#include <QTimer>

#include "FormRig.h"
#include "model/HexText.h"

namespace {

// The first line of each message: after a download the read-back adds its own.
QStringList firstLines(const FakePrompts &prompts)
{
    QStringList lines;
    for (const QString &text : prompts.messageTexts())
        lines << text.section(QLatin1Char('\n'), 0, 0);
    return lines;
}

} // namespace

// "Download Setting To VFD" and "Get Setting From VFD" through the window,
// on a scripted serial port and clock.
class tst_Form1Transfer : public QObject
{
    Q_OBJECT

private slots:
    void downloadSendsTheImageThenPausesThenReports();
    void downloadToATypedDevice();
    void failedDownloadNeverReportsSuccess_data();
    void failedDownloadNeverReportsSuccess();
    void uploadReportsThenRefreshes_data();
    void uploadReportsThenRefreshes();
    void failedUploadChangesNothing_data();
    void failedUploadChangesNothing();
    void closingPauseStartsNothingElse_data();
    void closingPauseStartsNothingElse();
    void closeDuringThePauseEndsWithoutAMessage();

private:
    static QByteArray reply(quint8 baud, quint8 charSet, quint8 command, quint8 passthru);
};

QByteArray tst_Form1Transfer::reply(quint8 baud, quint8 charSet, quint8 command, quint8 passthru)
{
    QByteArray bytes(127, '\0');
    bytes[0] = char(0xAA);
    for (int k = 1; k <= 126; ++k)
        bytes[k] = char((k * 53 + 7) & 0xFF);
    bytes[2] = char(baud);
    bytes[4] = char(charSet);
    bytes[6] = char(command);
    bytes[68] = char(passthru);
    bytes[7] = 0x00;
    bytes[8] = 0x0F;
    bytes[9] = 0x10;
    bytes[10] = char(0xFF);
    bytes[69] = 0x42;
    bytes[70] = 0x7F;
    return bytes;
}

void tst_Form1Transfer::downloadSendsTheImageThenPausesThenReports()
{
    FormRig rig;
    rig.click("Op_L1A");
    bool closedAtMessage = false;
    quint32 ticksAtMessage = 0;
    bool cursorAtMessage = true;
    rig.prompts.onMessage = [&](const QString &) {
        closedAtMessage = !rig.comm.isPortOpen();
        ticksAtMessage = rig.ticks.now();
        cursorAtMessage = QGuiApplication::overrideCursor() != nullptr;
    };
    rig.click("Download");

    QCOMPARE(firstLines(rig.prompts), QStringList{"Download O.K ! Please restart !"});
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    const QByteArray expected =
        QByteArray("\x1B\xEF\xAA") + rig.form.configuration().image().configBytes();
    // The read-back's request follows the image.
    QCOMPARE(rig.comm.written, expected + "\x1B\xEE");
    QCOMPARE(quint8(rig.comm.written.at(3 + 6)), quint8(0x2A)); // image byte 7: "*"
    QVERIFY(rig.comm.calls.contains("CommPort=1"));
    QVERIFY(rig.comm.calls.contains("Settings=9600,n,8,1"));
    // The message comes after the pause, with the port already closed.
    QVERIFY(closedAtMessage);
    QVERIFY(ticksAtMessage >= 1000);
    QVERIFY(!cursorAtMessage);
    QVERIFY(!QGuiApplication::overrideCursor());
    // The ASCII view was switched to hex to assemble the image.
    QVERIFY(rig.get<QRadioButton>("Op_L1H")->isChecked());
    QCOMPARE(rig.cell("L1H", 1)->text(), QStringLiteral("2A"));
}

void tst_Form1Transfer::downloadToATypedDevice()
{
    FormRig rig;
    // Enter after typing keeps the text in the field; the lists keep their entries.
    for (const auto &[name, typed] : {std::pair{"Comm", "/dev/ttyUSB0"}, {"Baud", "19200,e,7,2"}}) {
        QLineEdit *edit = rig.combo(name)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.comboText(name), QString::fromLatin1(typed));
    }
    QCOMPARE(rig.combo("Comm")->count(), 8);
    QCOMPARE(rig.combo("Baud")->count(), 2);
    rig.click("Download");
    QVERIFY(rig.comm.calls.contains("PortName=/dev/ttyUSB0"));
    QVERIFY(rig.comm.calls.contains("Settings=19200,e,7,2"));
    QCOMPARE(firstLines(rig.prompts), QStringList{"Download O.K ! Please restart !"});
}

void tst_Form1Transfer::failedDownloadNeverReportsSuccess_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("comm");
    QTest::newRow("open refused") << "open"
                                  << "Com 1";
    QTest::newRow("open refused on Com 3") << "open"
                                           << "Com 3";
    QTest::newRow("settings refused") << "settings"
                                      << "Com 1";
    QTest::newRow("output never drains") << "drain"
                                         << "Com 2";
    QTest::newRow("device pulled out") << "fault"
                                       << "Com 1";
}

void tst_Form1Transfer::failedDownloadNeverReportsSuccess()
{
    QFETCH(QString, failure);
    QFETCH(QString, comm);
    FormRig rig;
    rig.combo("Comm")->setCurrentText(comm);
    rig.comm.refuseOpen = failure == "open";
    rig.comm.refuseSettings = failure == "settings";
    rig.comm.neverDrain = failure == "drain";
    rig.comm.faultAfterBytes = failure == "fault" ? 40 : -1;
    bool cursorAtMessage = true;
    rig.prompts.onMessage = [&](const QString &) {
        cursorAtMessage = QGuiApplication::overrideCursor() != nullptr;
    };
    rig.click("Download");

    QCOMPARE(rig.prompts.messages.size(), 1);
    const QString text = rig.prompts.messages[0].text;
    QVERIFY2(text.contains(comm), qPrintable(text));
    QVERIFY(!text.contains("Download O.K"));
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QVERIFY(!rig.comm.isPortOpen());
    QVERIFY(!cursorAtMessage);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(rig.comm.written.size() < 129);
}

void tst_Form1Transfer::uploadReportsThenRefreshes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lists"); // BaudRate, Char, Command, Passthru after
    QTest::newRow("all valid") << reply(1, 18, 9, 2)
                               << QStringList{"19200,n,8,1", "Greek CP8859-7", "LogicControl",
                                              "without ESC/POS command"};
    // Below the bounds but no entry of the list: the list keeps its entry.
    QTest::newRow("command 12, baud 3, passthru 3")
        << reply(3, 19, 12, 3)
        << QStringList{"9600,n,8,1 (Default)", "USA/Eurpope  (Default)", "EPSON (Default)",
                       "None     (Default)"};
}

void tst_Form1Transfer::uploadReportsThenRefreshes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lists);
    FormRig rig;
    rig.click("Op_L1A");
    QTest::mouseClick(rig.dot(4, 4), Qt::LeftButton); // a drawing not yet stored
    rig.comm.reply = {{5, bytes.left(60)}, {10, bytes.mid(60) + QByteArray("extra")}};
    QString charAtMessage;
    rig.prompts.onMessage = [&](const QString &) { charAtMessage = rig.comboText("Char"); };
    rig.click("GetSetting");

    QCOMPARE(rig.prompts.messageTexts(), QStringList{"Upload O.K!"});
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QCOMPARE(rig.comm.written, QByteArray("\x1B\xEE"));
    QVERIFY(!rig.comm.isPortOpen());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(charAtMessage, QStringLiteral("USA/Eurpope  (Default)")); // refreshed after OK

    QCOMPARE((QStringList{rig.comboText("BaudRate"), rig.comboText("Char"),
                          rig.comboText("Command"), rig.comboText("Passthru")}),
             lists);
    QVERIFY(rig.get<QRadioButton>("Op_L1H")->isChecked());
    QVERIFY(rig.cell("L1A", 1)->isHidden());
    QCOMPARE(rig.cell("L1H", 1)->text(), QStringLiteral("00"));
    QCOMPARE(rig.cell("L1H", 2)->text(), QStringLiteral("0F"));
    QCOMPARE(rig.cell("L1H", 3)->text(), QStringLiteral("10"));
    QCOMPARE(rig.cell("L1H", 4)->text(), QStringLiteral("FF"));
    for (int i = 1; i <= 40; ++i)
        QCOMPARE(rig.cell("L2H", i)->text(), HexText::hexPair(quint8(bytes[26 + i])));
    QCOMPARE(rig.form.configuration().image().configBytes(), bytes.mid(1));
    // The editor shows the received character it stands on.
    QCOMPARE(rig.get<QLineEdit>("UDC_TEXT")->text(), QStringLiteral("42"));
    for (int row = 0; row < 7; ++row)
        QCOMPARE(rig.dot(1, row)->isChecked(), true);
    QCOMPARE(rig.dot(4, 4)->isChecked(), (quint8(bytes[73]) & 0x10) != 0);
}

void tst_Form1Transfer::failedUploadChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: the display does not answer
    QTest::addColumn<QString>("message");  // empty: any text naming the port
    QByteArray wrongLead = reply(1, 1, 1, 1);
    wrongLead[0] = char(0xAB);
    QTest::newRow("no answer") << QByteArray()
                               << "Com 1 can't be open !!\nThe display did not answer within 2 "
                                  "seconds at 9600,n,8,1.";
    QTest::newRow("wrong lead byte") << wrongLead << "Receive Check bit Error !!";
    QTest::newRow("short reply") << reply(1, 1, 1, 1).left(100) << QString();
}

void tst_Form1Transfer::failedUploadChangesNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    FormRig rig;
    rig.click("Op_L2A");
    rig.combo("Command")->setCurrentIndex(7);
    const QStringList before = rig.snapshot();
    const SettingsImage image = rig.form.configuration().image();
    if (!bytes.isEmpty())
        rig.comm.reply = {{100, bytes}};
    rig.click("GetSetting");

    QCOMPARE(rig.prompts.messages.size(), 1);
    if (message.isEmpty())
        QVERIFY(rig.prompts.messages[0].text.contains("100"));
    else // what to try next may follow
        QVERIFY2(rig.prompts.messages[0].text.startsWith(message),
                 qPrintable(rig.prompts.messages[0].text));
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QCOMPARE(rig.snapshot(), before);
    QVERIFY(rig.form.configuration().image() == image);
    QVERIFY(!rig.comm.isPortOpen());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_Form1Transfer::closingPauseStartsNothingElse_data()
{
    QTest::addColumn<QString>("pressed");
    for (const char *name : {"Download", "GetSetting", "Load", "Save", "SetAllDefault"})
        QTest::newRow(name) << name;
}

void tst_Form1Transfer::closingPauseStartsNothingElse()
{
    QFETCH(QString, pressed);
    FormRig rig;
    // Answers that would let an unguarded load or save go ahead.
    rig.prompts.openAnswers << QStringLiteral("/nonexistent/a.vfd");
    rig.prompts.saveAnswers << QStringLiteral("/nonexistent/b.vfd");
    QStringList enabledInPause;
    quint32 pauseStart = 0;
    // Runs inside the closing pause, the first time it lets events through.
    QTimer::singleShot(0, &rig.form, [&] {
        pauseStart = rig.ticks.now();
        for (const char *name : {"Download", "GetSetting", "Load", "Save", "SetAllDefault"})
            if (rig.get(QLatin1String(name))->isEnabled())
                enabledInPause << QLatin1String(name);
        // The lists, the cells and the character editor stay usable.
        rig.combo("Command")->setCurrentIndex(4);
        rig.click("Op_L1A");
        QTest::mouseClick(rig.dot(2, 3), Qt::LeftButton);
        rig.click(qPrintable(pressed));
    });
    rig.click("Download");

    QVERIFY(pauseStart > 0);
    QCOMPARE(firstLines(rig.prompts), QStringList{"Download O.K ! Please restart !"});
    QCOMPARE(rig.comm.written.size(), 129 + 2); // and the read-back
    QVERIFY(rig.prompts.openFilters.isEmpty());
    QVERIFY(rig.prompts.saveFilters.isEmpty());
    QCOMPARE(rig.comboText("Command"), QStringLiteral("AEDEX"));
    QCOMPARE(enabledInPause, QStringList());
    QVERIFY(rig.get<QRadioButton>("Op_L1A")->isChecked());
    QVERIFY(rig.form.configuration().characters().isLit(2, 3));
    // Afterwards everything can be started again.
    for (const char *name : {"Download", "GetSetting", "Load", "Save", "SetAllDefault"})
        QVERIFY2(rig.get(QLatin1String(name))->isEnabled(), name);
}

void tst_Form1Transfer::closeDuringThePauseEndsWithoutAMessage()
{
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    bool closedAtOnce = true;
    quint32 closeRequestedAt = 0;
    QTimer::singleShot(0, &rig.form, [&] {
        closeRequestedAt = rig.ticks.now();
        closedAtOnce = rig.form.close();
    });
    rig.click("Download");

    QVERIFY(!closedAtOnce);
    QVERIFY(rig.ticks.now() >= closeRequestedAt + 900); // the pause ran on
    QVERIFY(rig.prompts.messages.isEmpty());
    QVERIFY(!rig.form.isVisible());
    QVERIFY(!rig.comm.isPortOpen());
    QCOMPARE(rig.comm.written.size(), 129 + 2); // and the read-back
}

QTEST_MAIN(tst_Form1Transfer)
#include "tst_form1_transfer.moc"
