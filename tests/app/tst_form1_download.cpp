#include <QTemporaryDir>
#include <QTest>

#include "FormRig.h"

// "Download Setting To VFD" asks the display what it now holds and says so;
// a drawing that a download or save leaves out is named.
class tst_Form1Download : public QObject
{
    Q_OBJECT

private slots:
    void downloadIsChecked_data();
    void downloadIsChecked();
    void unstoredDrawingIsNamed();
};

void tst_Form1Download::downloadIsChecked_data()
{
    QTest::addColumn<QString>("display");    // what the display answers the read-back with
    QTest::addColumn<QString>("secondLine"); // how it begins; tst_messages has the words

    QTest::newRow("present") << "same"
                             << "Checked: ";
    QTest::newRow("absent") << "nothing"
                            << "Not checked: the display did not answer";
    QTest::newRow("holding something else") << "other"
                                            << "The display holds something else in 2 fields: ";
}

void tst_Form1Download::downloadIsChecked()
{
    QFETCH(QString, display);
    QFETCH(QString, secondLine);
    FormRig rig;
    rig.comm.requestLength = 129 + 2; // the reply follows the read-back's request
    bool closedAtMessage = false;
    rig.prompts.onMessage = [&](const QString &) { closedAtMessage = !rig.comm.isPortOpen(); };
    // The display answers with what the window is about to send, or with
    // other bytes in a setting and a cell.
    SettingsImage held = rig.form.configuration().assembledImage();
    if (display == "other") {
        held.set(ImageLayout::CommandSet, 2);
        held.set(ImageLayout::Line2 + 5, 0x21);
    }
    if (display != "nothing")
        rig.comm.reply = {{20, QByteArray(1, '\xAA') + held.configBytes()}};

    rig.click("Download");

    QCOMPARE(rig.prompts.messages.size(), 1);
    const QStringList lines = rig.prompts.messages[0].text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("Download O.K ! Please restart !"));
    QVERIFY2(lines[1].startsWith(secondLine), qPrintable(lines[1]));
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QCOMPARE(rig.comm.opens, 1);
    QVERIFY(closedAtMessage);
    QVERIFY(rig.ticks.now() >= 1000);
}

void tst_Form1Download::unstoredDrawingIsNamed()
{
    FormRig rig;
    rig.comm.requestLength = 129 + 2;
    rig.comm.reply = {
        {0, QByteArray(1, '\xAA') + rig.form.configuration().assembledImage().configBytes()}};
    // Character 1 gets a code and a dot, and the editor is never stepped.
    rig.get<QLineEdit>("UDC_TEXT")->setText(QStringLiteral("41"));
    QTest::mouseClick(rig.dot(3, 3), Qt::LeftButton);
    const QString note = "The drawing of User Defined Character 1 was left out";

    rig.click("Download");
    QVERIFY(rig.prompts.messageTexts().value(0).section(QLatin1Char('\n'), 2).startsWith(note));
    // What is sent stays as it was: the record is still empty.
    QCOMPARE(rig.comm.written.mid(3 + ImageLayout::Characters - 1, 6), QByteArray(6, '\0'));

    QTemporaryDir dir;
    const QString path = dir.filePath("drawn.vfd");
    rig.prompts.saveAnswers << path;
    rig.click("Save");
    QVERIFY(rig.prompts.messageTexts().value(1).startsWith(note));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().mid(ImageLayout::Characters - 1, 6), QByteArray(6, '\0'));
}

QTEST_MAIN(tst_Form1Download)
#include "tst_form1_download.moc"
