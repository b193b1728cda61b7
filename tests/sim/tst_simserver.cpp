// The simulator's serving loop and console, on a line the test scripts.

#include <deque>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "Console.h"
#include "Server.h"
#include "commandsets/CommandSets.h"
#include "support/FakeTicks.h"

namespace {

// A line that delivers what the test wrote, chunk by chunk, each at the
// speed the sender set; a chunk that is empty is quiet time. Ends (broken)
// when all is delivered.
class ScriptedLine final : public SimLine
{
public:
    struct Chunk
    {
        QByteArray bytes;
        int speed = 9600;
        int quietMs = 0;
    };
    ScriptedLine(FakeTicks &ticks, std::deque<Chunk> chunks)
        : m_ticks(ticks), m_chunks(std::move(chunks))
    {
    }

    QString name() const override { return QStringLiteral("scripted"); }
    QByteArray read(int) override
    {
        if (m_chunks.empty()) {
            m_broken = true;
            return {};
        }
        const Chunk chunk = m_chunks.front();
        m_chunks.pop_front();
        m_speed = chunk.speed;
        m_ticks.advance(quint32(chunk.quietMs));
        return chunk.bytes;
    }
    bool write(QByteArrayView bytes) override
    {
        written += bytes.toByteArray();
        return true;
    }
    void hangUp() override { m_broken = true; }
    bool isBroken() const override { return m_broken; }
    QString errorString() const override { return QStringLiteral("end of script"); }
    std::optional<int> speedSet() const override { return m_speed; }
    // More to deliver after the end.
    void more(std::deque<Chunk> chunks)
    {
        m_chunks = std::move(chunks);
        m_broken = false;
    }

    QByteArray written;

private:
    FakeTicks &m_ticks;
    std::deque<Chunk> m_chunks;
    int m_speed = 9600;
    bool m_broken = false;
};

struct Rig
{
    explicit Rig(std::deque<ScriptedLine::Chunk> chunks) : line(ticks, std::move(chunks))
    {
        SettingsImage epson;
        epson.set(ImageLayout::CommandSet, CommandSets::Epson);
        display.setImage(epson);
        options.quiet = true;
    }
    int run()
    {
        Server server(line, display, options, console, ticks, stop);
        return server.showScreen() ? server.run() : 1;
    }

    FakeTicks ticks{0, 0};
    ScriptedLine line;
    DisplaySimulator display;
    SimOptions options;
    QByteArray printed;
    Console console{[this](const QByteArray &bytes) { printed += bytes; }, [] { return 0; }, false};
    volatile std::sig_atomic_t stop = 0;
};

ino_t inodeOf(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

class TestSimServer : public QObject
{
    Q_OBJECT

private slots:
    void listensAtItsSpeed_data();
    void listensAtItsSpeed();
    void screenFileOnlyOnAChange();
    void screenFileNeverReplacesASpecialFile();
    void cutDownloadIsScreenDataAgain();
    void boxRedrawnByTerminalRows_data();
    void boxRedrawnByTerminalRows();
    void stableNameLastsTheRun();
};

// With --baud, bytes sent at another speed are not taken: no answer.
void TestSimServer::listensAtItsSpeed_data()
{
    QTest::addColumn<std::optional<int>>("listening");
    QTest::addColumn<int>("sent");
    QTest::addColumn<bool>("answered");
    QTest::newRow("any speed") << std::optional<int>() << 19200 << true;
    QTest::newRow("the same speed") << std::optional<int>(19200) << 19200 << true;
    QTest::newRow("another speed") << std::optional<int>(19200) << 9600 << false;
}

void TestSimServer::listensAtItsSpeed()
{
    QFETCH(std::optional<int>, listening);
    QFETCH(int, sent);
    QFETCH(bool, answered);
    Rig rig({{"\x1B\xEE", sent}});
    rig.options.baud = listening;
    rig.run();
    QCOMPARE(rig.line.written.size(), answered ? 127 : 0);
}

void TestSimServer::screenFileOnlyOnAChange()
{
    QTemporaryDir dir;
    const QString screen = dir.filePath("screen.txt");
    Rig rig({});
    rig.options.screenFile = screen;
    Server server(rig.line, rig.display, rig.options, rig.console, rig.ticks, rig.stop);
    QVERIFY(server.showScreen());
    const ino_t empty = inodeOf(screen);
    QVERIFY(empty != 0);
    rig.line.more({{"AB"}});
    server.run();
    const ino_t withText = inodeOf(screen);
    QVERIFY(withText != empty);
    // A second name keeps the inode in use, so a rewrite cannot get it again.
    QVERIFY(::link(QFile::encodeName(screen).constData(),
                   QFile::encodeName(dir.filePath("held")).constData()) == 0);
    // Bytes EPSON does not interpret: the notes change, the rows do not.
    rig.line.more({{"\x1B\x3D\x01"}, {"\x1B\x3D\x01"}});
    server.run();
    QCOMPARE(inodeOf(screen), withText);
    QVERIFY(rig.display.screen().rowText(0).startsWith("AB"));
    static_assert(std::is_same_v<decltype(server.received()), qint64>, "counts past 2^31 bytes");
}

void TestSimServer::screenFileNeverReplacesASpecialFile()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    Rig rig({{"AB"}});
    rig.options.screenFile = fifo;
    QCOMPARE(rig.run(), 1);
    struct stat info
    {
    };
    QVERIFY(::stat(QFile::encodeName(fifo).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}

// The serving loop tells the display how long the line was quiet.
void TestSimServer::cutDownloadIsScreenDataAgain()
{
    QByteArray cut("\x1B\xEF\xAA", 3);
    cut += QByteArray(20, 'x');
    Rig rig({{cut}, {{}, 9600, DisplaySimulator::ExchangeQuietMs}, {"\x1B\xEE"}});
    rig.options.quiet = false;
    rig.run();
    QCOMPARE(rig.line.written.size(), 127);
    QVERIFY2(rig.printed.contains("cut short after 23 of 129 bytes"), rig.printed.constData());
}

// A note wider than the terminal wraps: the next box goes up by the rows
// the last one took, not by its lines.
void TestSimServer::boxRedrawnByTerminalRows_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    const QString box = QString(22, '-');
    QTest::newRow("each line fits") << QStringList{box, box} << 80 << 2;
    QTest::newRow("exactly the width") << QStringList{box} << 22 << 1;
    QTest::newRow("a wide note") << QStringList{box, QString(50, 'n')} << 22 << 4;
    QTest::newRow("an empty line") << QStringList{box, QString()} << 22 << 2;
}

void TestSimServer::boxRedrawnByTerminalRows()
{
    QFETCH(QStringList, lines);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QCOMPARE(Console::rowsTaken(lines, columns), rows);
    QByteArray printed;
    Console console([&](const QByteArray &bytes) { printed = bytes; }, [&] { return columns; },
                    false);
    console.drawBox(lines);
    console.drawBox(lines);
    QVERIFY2(printed.startsWith(QStringLiteral("\r\x1b[%1A").arg(rows).toLatin1()),
             printed.constData());
}

// --link: a link to the port for the run; an existing file is never
// replaced, a link whose port is gone is.
void TestSimServer::stableNameLastsTheRun()
{
    QTemporaryDir dir;
    const QString port = dir.filePath("pts-9");
    const QString link = dir.filePath("till1");
    QVERIFY(QFile(port).open(QIODevice::WriteOnly));
    {
        const StableName name(link, port);
        QVERIFY2(name.isMade(), qPrintable(name.errorString()));
        QCOMPARE(QFileInfo(link).symLinkTarget(), port);
        const StableName again(link, port);
        QVERIFY(!again.isMade());
    }
    QVERIFY(!QFileInfo(link).isSymLink());

    QVERIFY(QFile::link(dir.filePath("gone"), link));
    {
        const StableName name(link, port);
        QVERIFY(name.isMade());
    }
    QVERIFY(!QFileInfo(link).isSymLink());

    QVERIFY(QFile(link).open(QIODevice::WriteOnly));
    const StableName refused(link, port);
    QVERIFY(!refused.isMade());
    QVERIFY(QFileInfo(link).isFile() && !QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestSimServer)
#include "tst_simserver.moc"
