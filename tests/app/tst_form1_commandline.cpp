#include <QtGlobal>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FormRig.h"

// A settings file named on the command line, by its name as the system
// gives it.
class tst_Form1CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void fileTellsWhatIsWrong_data();
    void fileTellsWhatIsWrong();
};

namespace {

// A file that loads: the window's own settings with another command set.
QByteArray settingsFile()
{
    FormRig rig;
    rig.combo("Command")->setCurrentIndex(7);
    return rig.form.configuration().assembledImage().configBytes();
}

} // namespace

void tst_Form1CommandLine::fileTellsWhatIsWrong_data()
{
    QTest::addColumn<QByteArray>("name"); // in a temporary folder, as the system has it
    QTest::addColumn<QString>("kind");    // file, folder, fifo, none
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("told"); // empty: loaded without a message
    QByteArray noEntry = settingsFile();
    noEntry[6 - 1] = 10; // no command set
#ifdef Q_OS_UNIX
    QTest::newRow("name that is no UTF-8")
        << QByteArray("caf\xE9.vfd") << "file" << settingsFile() << QString();
    QTest::newRow("fifo") << QByteArray("pipe.vfd") << "fifo" << QByteArray()
                          << "pipe.vfd: it is not a regular file";
#endif
    QTest::newRow("missing") << QByteArray("none.vfd") << "none" << QByteArray()
                             << "none.vfd: there is no such file";
    QTest::newRow("folder") << QByteArray("sub.vfd") << "folder" << QByteArray()
                            << "sub.vfd: it is not a regular file";
    QTest::newRow("short") << QByteArray("short.vfd") << "file" << settingsFile().left(125)
                           << "short.vfd: the file holds 125 bytes, a settings file holds 126";
    QTest::newRow("no entry") << QByteArray("odd.vfd") << "file" << noEntry
                              << "odd.vfd: not a settings file: Command Mode holds";
}

// Nobody chose the file in a dialog: where "Load" says "Error", the message
// says what is wrong with the file, and nothing changes.
void tst_Form1CommandLine::fileTellsWhatIsWrong()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, told);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    if (kind == "file") {
#ifdef Q_OS_UNIX
        // By its bytes: QFile would take the name as text.
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, content.constData(), std::size_t(content.size())),
                 ssize_t(content.size()));
        ::close(fd);
#else
        QFile file(QString::fromUtf8(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
#endif
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(QString::fromUtf8(path)));
    } else if (kind == "fifo") {
#ifdef Q_OS_UNIX
        QVERIFY(::mkfifo(path.constData(), 0600) == 0);
#endif
    }
    FormRig rig;
    rig.combo("Char")->setCurrentIndex(5);
    const Configuration::Snapshot before = rig.form.configuration().snapshot();

    rig.form.openFileFromCommandLine(path);
    QCOMPARE(rig.prompts.questions.size(), 1);
    if (told.isEmpty()) {
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(rig.form.configuration().image().configBytes(), content);
        return;
    }
    QCOMPARE(rig.prompts.messages.size(), 1);
    QVERIFY2(rig.prompts.messages[0].text.contains(told), qPrintable(rig.prompts.messages[0].text));
    QVERIFY(rig.form.configuration().snapshot() == before);
}

QTEST_MAIN(tst_Form1CommandLine)
#include "tst_form1_commandline.moc"
