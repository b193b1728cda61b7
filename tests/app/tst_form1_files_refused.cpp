#include <optional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FormFiles.h"
#include "FormRig.h"
#include "support/ReadOnlyFolder.h"

using namespace FormFiles;

// Save and Load through the window that do not go through: a refused name,
// a cancelled dialog or question, a file that cannot be loaded or written.
class tst_Form1FilesRefused : public QObject
{
    Q_OBJECT

private slots:
    void refusedName_data();
    void refusedName();
    void cancelledDialogsChangeNothing();
    void cancelledLoadChangesNothing();
    void failingLoadChangesNothing_data();
    void failingLoadChangesNothing();
    void failingSaveReportsAndWritesNothing_data();
    void failingSaveReportsAndWritesNothing();
};

void tst_Form1FilesRefused::refusedName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("TQ-540.vfd") << "TQ-540.vfd" << true;
    QTest::newRow("tq-540.vfd") << "tq-540.vfd" << false;
    QTest::newRow("TQ-540.VFD") << "TQ-540.VFD" << false;
    QTest::newRow("my TQ-540.vfd") << "my TQ-540.vfd" << false;
}

void tst_Form1FilesRefused::refusedName()
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

void tst_Form1FilesRefused::cancelledDialogsChangeNothing()
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

void tst_Form1FilesRefused::cancelledLoadChangesNothing()
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

void tst_Form1FilesRefused::failingLoadChangesNothing_data()
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

void tst_Form1FilesRefused::failingLoadChangesNothing()
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

void tst_Form1FilesRefused::failingSaveReportsAndWritesNothing_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("missing folder") << false;
    QTest::newRow("read-only folder") << true;
}

void tst_Form1FilesRefused::failingSaveReportsAndWritesNothing()
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

QTEST_MAIN(tst_Form1FilesRefused)
#include "tst_form1_files_refused.moc"
