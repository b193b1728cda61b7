#include <optional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FormRig.h"
#include "model/HexText.h"
#include "support/ReadOnlyFolder.h"

// Save and Load through the window, with files in a temporary folder.
class tst_Form1Files : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryByte();
    void savedFileLoadsIntoFreshStart();
    void loadShowsTheFile();
    void commandLineFileLoadsAfterTheQuestion();
    void refusedName_data();
    void refusedName();
    void loadIsTakenBackFromEveryControl_data();
    void loadIsTakenBackFromEveryControl();
    void cancelledDialogsChangeNothing();
    void cancelledLoadChangesNothing();
    void failingLoadChangesNothing_data();
    void failingLoadChangesNothing();
    void failingSaveReportsAndWritesNothing_data();
    void failingSaveReportsAndWritesNothing();

private:
    static QByteArray sampleFile();
    static void writeFile(const QString &path, const QByteArray &bytes);
    static QByteArray readFile(const QString &path);
    // A window that no longer shows the defaults: typed cells, another
    // list entry, line 2 in ASCII, the editor on character 2.
    static void changeEverything(FormRig &rig);
};

QByteArray tst_Form1Files::sampleFile()
{
    QByteArray bytes(126, '\0');
    for (int k = 1; k <= 126; ++k)
        bytes[k - 1] = char((k * 37 + 11) & 0xFF);
    bytes[2 - 1] = 1;  // BaudRate "19200,n,8,1"
    bytes[4 - 1] = 18; // Char "Greek CP8859-7"
    bytes[6 - 1] = 9;  // Command "LogicControl"
    bytes[68 - 1] = 2; // Passthru "without ESC/POS command"
    bytes[69 - 1] = 0x41;
    bytes[72 - 1] = 0x01; // character 1: top dot of column 3
    bytes[70 - 1] = bytes[71 - 1] = bytes[73 - 1] = bytes[74 - 1] = 0;
    bytes[7 - 1] = 0x05;
    return bytes;
}

void tst_Form1Files::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray tst_Form1Files::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_Form1Files::changeEverything(FormRig &rig)
{
    rig.combo("Char")->setCurrentIndex(5);
    rig.cell("L1H", 1)->selectAll();
    QTest::keyClicks(rig.cell("L1H", 1), "99");
    rig.click("Op_L2A");
    QTest::keyClicks(rig.get<QLineEdit>("UDC_TEXT"), "30");
    rig.click("UDC_NEXT");
    QTest::mouseClick(rig.dot(2, 2), Qt::LeftButton);
}

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

void tst_Form1Files::refusedName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("TQ-540.vfd") << "TQ-540.vfd" << true;
    QTest::newRow("tq-540.vfd") << "tq-540.vfd" << false;
    QTest::newRow("TQ-540.VFD") << "TQ-540.VFD" << false;
    QTest::newRow("my TQ-540.vfd") << "my TQ-540.vfd" << false;
}

void tst_Form1Files::refusedName()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    FormRig rig;
    rig.click("Op_L1A");
    rig.prompts.saveAnswers << path;
    rig.click("Save");
    QCOMPARE(rig.form.currentFileName(), path);
    if (refused) {
        QCOMPARE(rig.prompts.messages.size(), 1);
        QCOMPARE(rig.prompts.messages[0].text, QStringLiteral("KS310.vfd can't be saved"));
        QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
        QVERIFY(!QFile::exists(path));
        // Refused before the image is assembled: line 1 stays in ASCII.
        QVERIFY(rig.get<QRadioButton>("Op_L1A")->isChecked());
    } else {
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(readFile(path).size(), 126);
        QVERIFY(rig.get<QRadioButton>("Op_L1H")->isChecked());
        QCOMPARE(rig.cell("L1H", 1)->text(), QStringLiteral("2A"));
    }
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

void tst_Form1Files::cancelledDialogsChangeNothing()
{
    QTemporaryDir dir;
    FormRig rig;
    rig.click("Op_L1A");
    const QStringList before = rig.snapshot();
    rig.click("Save"); // the dialog answers with no file
    rig.click("Load");
    QCOMPARE(rig.snapshot(), before);
    QVERIFY(rig.prompts.messages.isEmpty());
    QVERIFY(rig.prompts.questions.isEmpty());
    QVERIFY(rig.form.currentFileName().isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

void tst_Form1Files::cancelledLoadChangesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("other.vfd");
    writeFile(path, sampleFile());
    FormRig rig;
    changeEverything(rig);
    const QStringList before = rig.snapshot();
    const SettingsImage image = rig.form.configuration().image();

    rig.prompts.confirmAnswer = false;
    rig.prompts.openAnswers << path;
    rig.click("Load");
    QCOMPARE(rig.prompts.questions.size(), 1);
    QVERIFY(rig.prompts.messages.isEmpty());
    QCOMPARE(rig.snapshot(), before);
    QVERIFY(rig.form.configuration().image() == image);
    QCOMPARE(rig.form.configuration().characters().number(), 2);
}

void tst_Form1Files::failingLoadChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QByteArray command10 = sampleFile();
    command10[6 - 1] = 10;
    QByteArray passthru3 = sampleFile();
    passthru3[68 - 1] = 3;
    QTest::newRow("missing") << "missing.vfd" << QByteArray();
    QTest::newRow("empty") << "empty.vfd" << QByteArray("");
    QTest::newRow("short") << "short.vfd" << sampleFile().left(125);
    QTest::newRow("byte 6 = 10") << "command.vfd" << command10;
    QTest::newRow("byte 68 = 3") << "passthru.vfd" << passthru3;
}

void tst_Form1Files::failingLoadChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isNull())
        writeFile(path, content);

    FormRig rig;
    changeEverything(rig);
    const QStringList before = rig.snapshot();
    const SettingsImage image = rig.form.configuration().image();

    rig.prompts.openAnswers << path;
    rig.click("Load");
    QCOMPARE(rig.prompts.messages.size(), 1);
    QCOMPARE(rig.prompts.messages[0].text, QStringLiteral("Error"));
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QCOMPARE(rig.snapshot(), before);
    QVERIFY(rig.form.configuration().image() == image);
    QCOMPARE(QFile::exists(path), !content.isNull()); // a load never creates a file
}

void tst_Form1Files::failingSaveReportsAndWritesNothing_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("missing folder") << false;
    QTest::newRow("read-only folder") << true;
}

void tst_Form1Files::failingSaveReportsAndWritesNothing()
{
    QFETCH(bool, readOnlyFolder);
    QTemporaryDir dir;
    QString path;
    std::optional<ReadOnlyFolder> readOnly;
    if (readOnlyFolder) {
        const QString folder = dir.filePath("locked");
        QVERIFY(QDir().mkdir(folder));
        readOnly.emplace(folder);
        if (!readOnly->isReadOnly())
            QSKIP("this file system cannot make a folder read-only for this user");
        path = folder + "/settings.vfd";
    } else {
        path = dir.filePath("no such folder/settings.vfd");
    }

    FormRig rig;
    rig.prompts.saveAnswers << path;
    rig.click("Save");
    QCOMPARE(rig.prompts.messages.size(), 1);
    QVERIFY2(rig.prompts.messages[0].text.contains("settings.vfd"),
             qPrintable(rig.prompts.messages[0].text));
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(tst_Form1Files)
#include "tst_form1_files.moc"
