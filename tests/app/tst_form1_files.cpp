#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FormFiles.h"
#include "FormRig.h"
#include "model/HexText.h"

using namespace FormFiles;

// Save and Load through the window, with files in a temporary folder: what
// goes into a file, what comes out of one, and taking a load back.
class tst_Form1Files : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryByte();
    void savedFileLoadsIntoFreshStart();
    void loadShowsTheFile();
    void commandLineFileLoadsAfterTheQuestion();
    void loadIsTakenBackFromEveryControl_data();
    void loadIsTakenBackFromEveryControl();
};

void tst_Form1Files::roundTripKeepsEveryByte()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source.vfd");
    const QString copy = dir.filePath("copy.vfd");
    writeFile(source, sampleFile());

    FormRig rig;
    rig.prompts.openAnswers << source;
    rig.click("Load");
    QVERIFY(rig.prompts.messages.isEmpty());
    QCOMPARE(rig.form.configuration().image().configBytes(), sampleFile());

    rig.prompts.saveAnswers << copy;
    rig.click("Save");
    QVERIFY(rig.prompts.messages.isEmpty());
    QCOMPARE(readFile(copy), sampleFile());
    QCOMPARE(rig.form.currentFileName(), copy);
    QCOMPARE(rig.prompts.openFilters, QStringList{"VFD Files (*.vfd)"});
    QCOMPARE(rig.prompts.saveFilters, QStringList{"VFD Files (*.vfd)"});

    // Overwriting a longer file leaves exactly the 126 bytes.
    writeFile(copy, QByteArray(300, 'x'));
    rig.prompts.saveAnswers << copy;
    rig.click("Save");
    QCOMPARE(readFile(copy), sampleFile());
}

void tst_Form1Files::savedFileLoadsIntoFreshStart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shop.vfd");
    QByteArray saved;
    QStringList shown;
    {
        FormRig first;
        changeEverything(first);
        first.prompts.saveAnswers << path;
        first.click("Save");
        // The dot drawn on character 2 was never stepped into the image.
        QCOMPARE(first.prompts.messages.size(), 1);
        QVERIFY(first.prompts.messages[0].text.startsWith(
            "The drawing of User Defined Character 2 was left out"));
        saved = first.form.configuration().image().configBytes();
        QCOMPARE(readFile(path), saved);
        // The drawing of character 1 was stored by the step to character 2.
        QCOMPARE(quint8(saved[69 - 1]), quint8(0x30));
        shown = first.snapshot();
    }

    FormRig fresh;
    fresh.prompts.openAnswers << path;
    fresh.click("Load");
    QVERIFY(fresh.prompts.messages.isEmpty());
    QCOMPARE(fresh.form.configuration().image().configBytes(), saved);
    const QStringList loaded = fresh.snapshot();
    // Lists and both lines show what was saved; line 2 comes back in hex.
    QCOMPARE(loaded.mid(0, 4), shown.mid(0, 4));
    QCOMPARE(loaded.mid(6, 20), shown.mid(6, 20));
    QCOMPARE(fresh.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character  1"));
    QCOMPARE(fresh.get<QLineEdit>("UDC_TEXT")->text(), QStringLiteral("30"));
}

void tst_Form1Files::loadShowsTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shown.vfd");
    writeFile(path, sampleFile() + QByteArray(10, '\x7f')); // the tail is never read

    FormRig rig;
    changeEverything(rig);
    rig.click("Op_L1A");
    rig.prompts.openAnswers << path;
    rig.click("Load");
    QCOMPARE(rig.prompts.questions.size(), 1);
    QCOMPARE(rig.prompts.questions[0].text, QStringLiteral("Are you sure to Load ?"));
    QCOMPARE(rig.prompts.questions[0].title, QStringLiteral("Load File"));
    QVERIFY(rig.prompts.messages.isEmpty());

    QCOMPARE(rig.comboText("BaudRate"), QStringLiteral("19200,n,8,1"));
    QCOMPARE(rig.comboText("Char"), QStringLiteral("Greek CP8859-7"));
    QCOMPARE(rig.comboText("Command"), QStringLiteral("LogicControl"));
    QCOMPARE(rig.comboText("Passthru"), QStringLiteral("without ESC/POS command"));
    const QByteArray bytes = sampleFile();
    QCOMPARE(rig.cell("L1H", 1)->text(), QStringLiteral("05"));
    for (int i = 1; i <= 20; ++i) {
        QCOMPARE(rig.cell("L1H", i)->text(), HexText::hexPair(quint8(bytes[6 + i - 1])));
        QVERIFY(rig.cell("L1A", i)->text().isEmpty());
        QVERIFY(rig.cell("L1A", i)->isHidden());
    }
    for (int i = 1; i <= 40; ++i)
        QCOMPARE(rig.cell("L2H", i)->text(), HexText::hexPair(quint8(bytes[26 + i - 1])));
    QVERIFY(rig.get<QRadioButton>("Op_L1H")->isChecked());
    QVERIFY(rig.get<QRadioButton>("Op_L2H")->isChecked());
    // The editor shows character 1 of the file, under its start-up caption.
    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character  1"));
    QCOMPARE(rig.get<QLineEdit>("UDC_TEXT")->text(), QStringLiteral("41"));
    QVERIFY(rig.dot(3, 0)->isChecked());
    QVERIFY(!rig.dot(2, 2)->isChecked());
}

void tst_Form1Files::commandLineFileLoadsAfterTheQuestion()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("opened.vfd");
    writeFile(path, sampleFile());

    FormRig rig;
    rig.form.openFileFromCommandLine(QFile::encodeName(path));
    QCOMPARE(rig.prompts.questions.size(), 1);
    QCOMPARE(rig.prompts.questions[0].text, QStringLiteral("Are you sure to Load ?"));
    QVERIFY(rig.prompts.openFilters.isEmpty());
    QVERIFY(rig.prompts.messages.isEmpty());
    QCOMPARE(rig.form.configuration().image().configBytes(), sampleFile());
    QCOMPARE(rig.comboText("Char"), QStringLiteral("Greek CP8859-7"));
}

void tst_Form1Files::loadIsTakenBackFromEveryControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed"); // into the control before the keys
    for (const char *name : {"Comm", "Baud", "Command", "TestLine1", "UDC_TEXT", "Load"})
        QTest::newRow(name) << name << QString();
    QTest::newRow("Comm, typed into") << "Comm"
                                      << "/dev/ttyUSB7";
    QTest::newRow("TestLine2, typed into") << "TestLine2"
                                           << "TOTAL";
}

// Ctrl+Z takes back the load, and Ctrl+Shift+Z does it again, wherever the
// focus stands; what was typed into a text field stays.
void tst_Form1Files::loadIsTakenBackFromEveryControl()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QTemporaryDir dir;
    const QString path = dir.filePath("loaded.vfd");
    writeFile(path, sampleFile());
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    const Configuration::Snapshot before = rig.form.configuration().snapshot();
    rig.prompts.openAnswers << path;
    rig.click("Load");
    const Configuration::Snapshot loaded = rig.form.configuration().snapshot();
    QVERIFY(loaded != before);

    QWidget *target = rig.get(control);
    auto *pages = rig.get<QTabWidget>("SSTab1");
    for (int page = 0; page < pages->count(); ++page) {
        if (pages->widget(page)->isAncestorOf(target))
            pages->setCurrentIndex(page);
    }
    target->setFocus();
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(target == focused || target->isAncestorOf(focused));
    if (!typed.isEmpty()) {
        QTest::keySequence(focused, QKeySequence::SelectAll);
        QTest::keyClicks(focused, typed);
    }
    const auto textOf = [](QWidget *widget) {
        if (auto *box = qobject_cast<QComboBox *>(widget))
            return box->currentText();
        auto *edit = qobject_cast<QLineEdit *>(widget);
        return edit ? edit->text() : QString();
    };
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(rig.form.configuration().snapshot() == before);
    QVERIFY(textOf(focused).startsWith(typed));
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(rig.form.configuration().snapshot() == loaded);
    QVERIFY(textOf(focused).startsWith(typed));
}

QTEST_MAIN(tst_Form1Files)
#include "tst_form1_files.moc"
