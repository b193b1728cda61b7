#include <cstring>
#include <functional>
#include <future>
#include <optional>
#include <thread>

#include <QtGlobal>
// Pipes, sockets, device nodes and permission bits are tried where the
// system has them.
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#define TQ540_POSIX_FILES 1
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "files/SettingsFile.h"
#include "messages/Messages.h"
#if defined(TQ540_POSIX_FILES)
#include "support/ReadOnlyFolder.h"
#endif

namespace {

QByteArray everyValue()
{
    QByteArray bytes(SettingsFile::Length, '\0');
    for (int k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>(255 - 2 * k);
    return bytes;
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads on a thread of its own, so that a read that blocks fails the test
// instead of hanging it; `unblock` then frees the stuck thread.
std::optional<Result<QByteArray>> readWithin(const QString &path, int ms,
                                             const std::function<void()> &unblock)
{
    std::promise<Result<QByteArray>> done;
    std::future<Result<QByteArray>> result = done.get_future();
    std::thread reader([path, promise = std::move(done)]() mutable {
        promise.set_value(SettingsFile::read(path));
    });
    const bool inTime = result.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    if (!inTime)
        unblock();
    reader.join();
    if (!inTime)
        return std::nullopt;
    return result.get();
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void refusedName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("exact") << "TQ-540.vfd" << true;
        QTest::newRow("lower case") << "tq-540.vfd" << false;
        QTest::newRow("upper extension") << "TQ-540.VFD" << false;
        QTest::newRow("trailing blank") << "TQ-540.vfd " << false;
        QTest::newRow("other name") << "shop.vfd" << false;
        QTest::newRow("empty") << "" << false;
    }
    void refusedName()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QCOMPARE(!SettingsFile::checkName(name), refused);
        // The writer itself refuses the name, and writes nothing.
        const QString path = m_dir.filePath(name.isEmpty() ? "unnamed.vfd" : name);
        const Result<void> written = SettingsFile::write(path, everyValue());
        QCOMPARE(!written, refused);
        QCOMPARE(QFileInfo::exists(path), !refused);
    }

    void roundTripKeepsEveryByte_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("plain") << "round.vfd";
        QTest::newRow("non-ASCII") << QStringLiteral("Kasse S\u00fcd \u20ac \u0421\u0430\u0439\u0442.vfd");
        // Beyond the 260 characters of a classic Windows path.
        QTest::newRow("long path") << QString(QString(60, u'f') + u'/').repeated(5) + "round.vfd";
    }
    void roundTripKeepsEveryByte()
    {
        QFETCH(QString, relativePath);
        const QString path = m_dir.filePath(relativePath);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        const QByteArray bytes = everyValue();
        QVERIFY(SettingsFile::write(path, bytes));
        QCOMPARE(QFileInfo(path).size(), qint64(SettingsFile::Length));
        const Result<QByteArray> read = SettingsFile::read(path);
        QVERIFY(read);
        QCOMPARE(*read, bytes);
    }

    void saveOverLongerFileLeavesNoStaleTail()
    {
        const QString path = m_dir.filePath("long.vfd");
        putFile(path, QByteArray(400, '\x55'));
        QVERIFY(SettingsFile::write(path, everyValue()));
        QCOMPARE(fileBytes(path), everyValue());
    }

    void readUsesFirstBytesOfLongerFile()
    {
        const QString path = m_dir.filePath("longer.vfd");
        putFile(path, everyValue() + QByteArray(10, '\x11'));
        const Result<QByteArray> read = SettingsFile::read(path);
        QVERIFY(read);
        QCOMPARE(*read, everyValue());
    }

    void failingReads_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("one short") << QByteArray(SettingsFile::Length - 1, '\x01');
    }
    void failingReads()
    {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath("bad.vfd");
        QFile::remove(path);
        if (!content.isNull())
            putFile(path, content);
        const Result<QByteArray> read = SettingsFile::read(path);
        QVERIFY(!read);
        QVERIFY(!Messages::reason(read.error()).isEmpty());
        // A load never creates the file it was pointed at.
        QCOMPARE(QFileInfo::exists(path), !content.isNull());
    }

#if defined(TQ540_POSIX_FILES)
    void onlyRegularFilesAreRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe without writer") << "fifo";
        QTest::newRow("pipe whose writer sends 10 bytes and stays") << "fifo+writer";
        QTest::newRow("folder") << "folder";
        QTest::newRow("character device") << "/dev/zero";
    }
    void onlyRegularFilesAreRead()
    {
        QFETCH(QString, kind);
        QString path = kind;
        int writer = -1;
        if (kind.startsWith("fifo")) {
            path = m_dir.filePath("pipe.vfd");
            QFile::remove(path);
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            if (kind == "fifo+writer") {
                // Read-write, so that opening does not wait for a reader.
                writer = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
                QVERIFY(writer >= 0);
                QCOMPARE(::write(writer, "0123456789", 10), ssize_t(10));
            }
        } else if (kind == "folder") {
            path = m_dir.path();
        }
        const auto unblock = [&] {
            if (writer >= 0) {
                ::close(writer);
                writer = -1;
            } else {
                // A blocked open ends once a writer comes.
                ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
            }
        };
        const auto read = readWithin(path, 3000, unblock);
        if (writer >= 0)
            ::close(writer);
        QVERIFY2(read, "the read blocked");
        QVERIFY(!*read);
        QVERIFY(!Messages::reason(read->error()).isEmpty());
    }

#ifdef Q_OS_UNIX
    // A name that is not UTF-8 is read by its bytes; as text it would be
    // another name.
    void nameThatIsNoTextIsRead()
    {
        const QByteArray name = QFile::encodeName(m_dir.path()) + "/caf\xE9 \xFF.vfd";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        const QByteArray bytes = everyValue();
        QCOMPARE(::write(fd, bytes.constData(), std::size_t(bytes.size())), ssize_t(bytes.size()));
        ::close(fd);

        const Result<QByteArray> read = SettingsFile::readNamed(name);
        QVERIFY(read);
        QCOMPARE(*read, bytes);
        QVERIFY(!SettingsFile::read(SettingsFile::shownName(name)));
        const Result<QByteArray> missing = SettingsFile::readNamed(name + "x");
        QVERIFY(!missing);
        QCOMPARE(missing.error().reason, Error::Reason::NoSuchFile);
        QCOMPARE(missing.error().subject, SettingsFile::shownName(name + "x"));
    }
#endif

    void unreadableFileFails()
    {
        if (::geteuid() == 0)
            QSKIP("root reads files whatever their permissions");
        const QString path = m_dir.filePath("locked.vfd");
        putFile(path, everyValue());
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        QVERIFY(!SettingsFile::read(path));
    }

#endif

    void failingWrites_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("missing folder") << "no/such/folder/a.vfd";
        QTest::newRow("path is a folder") << "sub";
    }
    void failingWrites()
    {
        QFETCH(QString, relativePath);
        QVERIFY(QDir(m_dir.path()).mkpath("sub"));
        const QString path = m_dir.filePath(relativePath);
        const Result<void> result = SettingsFile::write(path, everyValue());
        QVERIFY(!result);
        // The message names the file, so the user knows which save failed.
        const QString message = Messages::sentence(result.error());
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY(QFileInfo(path).isDir() || !QFileInfo::exists(path));
    }

#if defined(TQ540_POSIX_FILES)
    // A save never turns a device node, a pipe or a socket into a file.
    void nonRegularTargetsAreKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("socket") << "socket";
        QTest::newRow("character device") << "device";
    }
    void nonRegularTargetsAreKept()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + ".vfd");
        const QByteArray name = QFile::encodeName(path);
        int socketFd = -1;
        if (kind == "fifo") {
            QVERIFY(::mkfifo(name.constData(), 0600) == 0);
        } else if (kind == "socket") {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address = {};
            address.sun_family = AF_UNIX;
            QVERIFY(name.size() < qsizetype(sizeof address.sun_path));
            std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
            QVERIFY(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        } else if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
            QSKIP("only root may make a device node here");
        }
        struct stat before = {};
        QVERIFY(::stat(name.constData(), &before) == 0);

        const Result<void> result = SettingsFile::write(path, everyValue());
        if (socketFd >= 0)
            ::close(socketFd);
        QVERIFY(!result);
        QCOMPARE(result.error().reason, Error::Reason::NotRegularTarget);
        struct stat after = {};
        QVERIFY(::stat(name.constData(), &after) == 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    void writeIntoReadOnlyFolderKeepsOldFile()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("ro"));
        const QString folder = m_dir.filePath("ro");
        const QString path = folder + "/kept.vfd";
        putFile(path, QByteArray(SettingsFile::Length, '\x22'));
        const ReadOnlyFolder readOnly(folder);
        if (!readOnly.isReadOnly())
            QSKIP("this file system cannot make a folder read-only for this user");

        const Result<void> result = SettingsFile::write(path, everyValue());
        QVERIFY(!result);
        const QString message = Messages::sentence(result.error());
        QVERIFY2(message.contains(path), qPrintable(message));
        QCOMPARE(fileBytes(path), QByteArray(SettingsFile::Length, '\x22'));
    }

#endif

    void writeRefusesWrongLength()
    {
        const QString path = m_dir.filePath("wrong.vfd");
        QVERIFY(!SettingsFile::write(path, QByteArray(125, '\0')));
        QVERIFY(!QFileInfo::exists(path));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
