// One contract, two serial components: the fake that the transfer and
// window tests use, and the system's own (SystemComm) on a pseudo-terminal.
// Every case runs against both, so that the fake cannot drift from the real
// thing.

#include <memory>

#include <QFile>
#include <QTest>
#include <QThread>

#include "link/SystemComm.h"
#include "messages/Messages.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"

#if !defined(Q_OS_WIN)
#include "SimLine.h"
#endif

namespace {

// A component with the far end of its line in the test's hands.
class Bench
{
public:
    virtual ~Bench() = default;
    virtual MSComm &comm() = 0;
    // Points the component at a port that opens.
    virtual void choosePort() = 0;
    // Bytes sent by the far end.
    virtual void send(const QByteArray &bytes) = 0;
    // Bytes that reached the far end so far, waiting briefly for `count`.
    virtual QByteArray received(int count) = 0;
    virtual void dropLine() = 0;
    virtual void pass(int ms) = 0;

    // Lets time pass until `done` holds, for at most `ms`.
    template <typename Done> bool within(int ms, Done done)
    {
        for (int waited = 0; !done(); waited += 5) {
            if (waited >= ms)
                return false;
            pass(5);
        }
        return true;
    }
};

class FakeBench final : public Bench
{
public:
    MSComm &comm() override { return m_comm; }
    void choosePort() override { m_comm.setPortName(QStringLiteral("fake0")); }
    void send(const QByteArray &bytes) override { m_comm.receive(bytes); }
    QByteArray received(int) override { return m_comm.written; }
    void dropLine() override { m_comm.dropLine(); }
    void pass(int ms) override { m_ticks.advance(quint32(ms)); }

private:
    FakeTicks m_ticks;
    FakeComm m_comm{&m_ticks};
};

#if defined(Q_OS_WIN)

// Under Wine: COM1 and COM2 are the two ends of a cable made of
// pseudo-terminals (tests/tools/com_pair, started by test-windows.sh, which
// names its folder in TQ540_COM_PAIR). The component opens COM1; this end
// is COM2, through a second component. The cable takes requests as files.
class PtyBench final : public Bench
{
public:
    static bool available() { return !qEnvironmentVariableIsEmpty("TQ540_COM_PAIR"); }

    PtyBench()
    {
        // Fresh terminals: nothing left over from an earlier case.
        request(QStringLiteral("reset"));
        m_far.setPortName(QStringLiteral("COM2"));
        m_far.setSettings(QStringLiteral("9600,n,8,1"));
        m_far.setPortOpen(true);
    }
    MSComm &comm() override { return m_comm; }
    void choosePort() override { m_comm.setCommPort(1); }
    void send(const QByteArray &bytes) override
    {
        QVERIFY(m_far.isPortOpen());
        QVERIFY(m_far.setOutput(bytes));
        QVERIFY(within(2000, [&] { return m_far.outBufferCount() == 0; }));
    }
    QByteArray received(int count) override
    {
        for (int waited = 0; m_received.size() < count && waited < 2000; waited += 20) {
            m_received += m_far.input();
            pass(20);
        }
        return m_received;
    }
    void dropLine() override { request(QStringLiteral("drop")); }
    void pass(int ms) override { QThread::msleep(static_cast<unsigned long>(ms)); }

private:
    // Asks the cable for something and waits until it is done.
    void request(const QString &what)
    {
        const QString path = qEnvironmentVariable("TQ540_COM_PAIR") + u'/' + what;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(within(3000, [&] { return !QFile::exists(path); }));
    }

    SystemComm m_comm;
    SystemComm m_far;
    QByteArray m_received;
};

#else

class PtyBench final : public Bench
{
public:
    static bool available() { return true; }

    MSComm &comm() override { return m_comm; }
    void choosePort() override { m_comm.setPortName(m_line.name()); }
    void send(const QByteArray &bytes) override { QVERIFY(m_line.write(bytes)); }
    QByteArray received(int count) override
    {
        for (int waited = 0; m_received.size() < count && waited < 2000; waited += 20)
            m_received += m_line.read(20);
        return m_received;
    }
    void dropLine() override { m_line.hangUp(); }
    void pass(int ms) override { QThread::msleep(static_cast<unsigned long>(ms)); }

private:
    PtyLine m_line;
    SystemComm m_comm;
    QByteArray m_received;
};

#endif

// Null when the system's line is not there to test (Windows outside
// test-windows.sh).
std::unique_ptr<Bench> makeBench(const QString &kind)
{
    if (kind == QLatin1String("fake"))
        return std::make_unique<FakeBench>();
    if (!PtyBench::available())
        return nullptr;
    return std::make_unique<PtyBench>();
}

// Opens the component on its line at 9600 baud.
bool open(Bench &bench)
{
    bench.choosePort();
    return bench.comm().setSettings(QStringLiteral("9600,n,8,1")) && bench.comm().setPortOpen(true);
}

void verifyInert(MSComm &comm)
{
    QVERIFY(!comm.isPortOpen());
    QVERIFY(!comm.setOutput("x"));
    QCOMPARE(comm.outBufferCount(), 0);
    QCOMPARE(comm.lineQueueCount(), 0);
    QCOMPARE(comm.inBufferCount(), 0);
    QCOMPARE(comm.input(), QByteArray());
}

} // namespace

class CommContractTest : public QObject
{
    Q_OBJECT

private slots:
    void closedTakesAndGivesNothing_data() { components(); }
    void closedTakesAndGivesNothing()
    {
        QFETCH(QString, kind);
        const auto bench = makeBench(kind);
        if (!bench)
            QSKIP("no pseudo-terminal mapped to a COM port here");
        MSComm &comm = bench->comm();
        verifyInert(comm);

        QVERIFY(open(*bench));
        bench->send("abc");
        QVERIFY(bench->within(2000, [&] { return comm.inBufferCount() >= 3; }));
        QVERIFY(comm.setPortOpen(false));
        verifyInert(comm);
    }

    void bytesBothWays_data() { components(); }
    void bytesBothWays()
    {
        QFETCH(QString, kind);
        const auto bench = makeBench(kind);
        if (!bench)
            QSKIP("no pseudo-terminal mapped to a COM port here");
        MSComm &comm = bench->comm();
        QVERIFY(open(*bench));
        QVERIFY(comm.isPortOpen());
        QVERIFY(!comm.hasFault());

        QVERIFY(comm.setOutput("\x1B\xEE"));
        QVERIFY(bench->within(2000, [&] { return comm.outBufferCount() == 0; }));
        QVERIFY(bench->within(2000, [&] { return comm.lineQueueCount() <= 0; }));
        QCOMPARE(bench->received(2), QByteArray("\x1B\xEE"));

        QByteArray reply;
        for (int k = 0; k < 127; ++k)
            reply.append(char(0xAA ^ k));
        bench->send(reply.left(1));
        bench->send(reply.mid(1, 60));
        bench->send(reply.mid(61));
        QVERIFY(bench->within(2000, [&] { return comm.inBufferCount() >= 127; }));
        QCOMPARE(comm.input(), reply);
        QCOMPARE(comm.inBufferCount(), 0);
        QVERIFY(!comm.hasFault());
    }

    void bytesBeforeOpeningAreRead_data() { components(); }
    void bytesBeforeOpeningAreRead()
    {
        QFETCH(QString, kind);
        const auto bench = makeBench(kind);
        if (!bench)
            QSKIP("no pseudo-terminal mapped to a COM port here");
        MSComm &comm = bench->comm();
        bench->send("stale");
        QCOMPARE(comm.input(), QByteArray());
        QVERIFY(open(*bench));
        QVERIFY(bench->within(2000, [&] { return comm.inBufferCount() >= 5; }));
        QCOMPARE(comm.input(), QByteArray("stale"));
    }

    void lostLineIsAFault_data() { components(); }
    void lostLineIsAFault()
    {
        QFETCH(QString, kind);
        const auto bench = makeBench(kind);
        if (!bench)
            QSKIP("no pseudo-terminal mapped to a COM port here");
        MSComm &comm = bench->comm();
        QVERIFY(open(*bench));
        bench->dropLine();
        QVERIFY(bench->within(2000, [&] {
            comm.inBufferCount();
            comm.lineQueueCount();
            return comm.hasFault();
        }));
        // A lost line, not the system's name for a failed request.
        QCOMPARE(comm.error().reason, Error::Reason::LineLost);
        QVERIFY(!comm.setOutput("x"));
        QVERIFY(comm.setPortOpen(false));
        verifyInert(comm);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("settings"); // empty: no port chosen
        for (const char *kind : {"fake", "pty"}) {
            const auto row = [&](const char *name, const QString &settings) {
                QTest::addRow("%s: %s", kind, name) << QString::fromLatin1(kind) << settings;
            };
            row("parity x", QStringLiteral("9600,x,8,1"));
            row("no speed", QStringLiteral(",n,8,1"));
            row("100,000 characters", QString(100000, QLatin1Char('9')));
            row("no port", QString());
        }
    }
    void refusals()
    {
        QFETCH(QString, kind);
        QFETCH(QString, settings);
        const auto bench = makeBench(kind);
        if (!bench)
            QSKIP("no pseudo-terminal mapped to a COM port here");
        MSComm &comm = bench->comm();
        if (settings.isEmpty()) {
            comm.setCommPort(0);
            comm.setPortName(QString());
            QVERIFY(!comm.setPortOpen(true));
        } else {
            QVERIFY(!comm.setSettings(settings));
            QCOMPARE(comm.error().reason, Error::Reason::SettingsInvalid);
            // A long text is quoted only in part.
            const QString reason = Messages::reason(comm.error());
            QVERIFY2(reason.size() < 200, qPrintable(reason.left(300)));
        }
        QVERIFY(!Messages::reason(comm.error()).isEmpty());
        verifyInert(comm);
    }

private:
    static void components()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fake") << QStringLiteral("fake");
        QTest::newRow("pty") << QStringLiteral("pty");
    }
};

QTEST_GUILESS_MAIN(CommContractTest)
#include "tst_commcontract.moc"
