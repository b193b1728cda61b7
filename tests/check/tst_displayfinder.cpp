#include <QSignalSpy>
#include <QTest>

#include "check/DisplayFinder.h"
#include "messages/FindMessages.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"

namespace {

// How a scripted port behaves.
struct Script
{
    QString answersAt; // the speed it replies at ("9600"); empty: none
    QByteArray reply;  // what it replies
    bool refuseOpen = false;
    int vanishAfterMs = -1; // the line goes away this long after the request
    quint32 tickStep = 1;   // 0: the clock stands still, only a stop ends a wait
};

// A scripted port that replies only at one speed, as a display does that
// hears garbage at any other.
class SpeedComm final : public MSComm
{
public:
    SpeedComm(FakeTicks *ticks, Script script) : m_fake(ticks), m_script(std::move(script))
    {
        m_fake.refuseOpen = m_script.refuseOpen;
        m_fake.faultAfterMs = m_script.vanishAfterMs;
    }

    void setCommPort(int number) override { m_fake.setCommPort(number); }
    void setPortName(const QString &device) override { m_fake.setPortName(device); }
    bool setSettings(const QString &settings) override
    {
        const bool hears = !m_script.answersAt.isEmpty() &&
                           settings.startsWith(m_script.answersAt + QLatin1Char(','));
        m_fake.reply =
            hears ? QList<FakeComm::Chunk>{{5, m_script.reply}} : QList<FakeComm::Chunk>{};
        return m_fake.setSettings(settings);
    }
    bool setPortOpen(bool open) override { return m_fake.setPortOpen(open); }
    bool isPortOpen() const override { return m_fake.isPortOpen(); }
    bool setOutput(QByteArrayView bytes) override { return m_fake.setOutput(bytes); }
    int outBufferCount() override { return m_fake.outBufferCount(); }
    int inBufferCount() override { return m_fake.inBufferCount(); }
    int lineQueueCount() override { return m_fake.lineQueueCount(); }
    QByteArray input() override { return m_fake.input(); }
    bool hasFault() const override { return m_fake.hasFault(); }
    Error error() const override { return m_fake.error(); }

private:
    FakeComm m_fake;
    Script m_script;
};

DisplayFinder::LinkFactory scripted(const QHash<QString, Script> &scripts)
{
    return [scripts](const PortChoice &port) {
        const Script script = scripts.value(port.shownText);
        auto ticks = std::make_unique<FakeTicks>(0, script.tickStep);
        auto comm = std::make_unique<SpeedComm>(ticks.get(), script);
        return DisplayFinder::Link{std::move(ticks), std::move(comm)};
    };
}

// A display that hears at one speed only and begins its reply `lateMs`
// after the request. The reply arrives whatever the port is set to by then,
// as on a pseudo-terminal, and waits in the system's buffer while the port
// is closed.
class LateComm final : public MSComm
{
public:
    LateComm(FakeTicks *ticks, QString hearsAt, quint32 lateMs, QByteArray reply)
        : m_ticks(ticks), m_hearsAt(std::move(hearsAt)), m_lateMs(lateMs), m_reply(std::move(reply))
    {
    }

    void setCommPort(int) override {}
    void setPortName(const QString &) override {}
    bool setSettings(const QString &settings) override
    {
        m_settings = settings;
        return true;
    }
    bool setPortOpen(bool open) override
    {
        m_open = open;
        return true;
    }
    bool isPortOpen() const override { return m_open; }
    bool setOutput(QByteArrayView bytes) override
    {
        m_written.append(bytes.toByteArray());
        if (m_written.endsWith("\x1B\xEE") && m_settings.startsWith(m_hearsAt + QLatin1Char(',')))
            m_due = m_ticks->now() + m_lateMs;
        return m_open;
    }
    int outBufferCount() override { return 0; }
    int lineQueueCount() override { return 0; }
    int inBufferCount() override
    {
        if (m_due && m_ticks->now() >= *m_due) {
            m_arrived.append(m_reply);
            m_due.reset();
        }
        return m_open ? int(m_arrived.size()) : 0;
    }
    QByteArray input() override
    {
        inBufferCount();
        return m_open ? std::exchange(m_arrived, {}) : QByteArray();
    }
    bool hasFault() const override { return false; }
    Error error() const override { return {}; }

private:
    FakeTicks *m_ticks;
    QString m_hearsAt;
    quint32 m_lateMs;
    QByteArray m_reply;
    QString m_settings;
    bool m_open = false;
    QByteArray m_written;
    QByteArray m_arrived;
    std::optional<quint32> m_due;
};

PortChoice typed(const QString &device)
{
    return PortChoice::fromComboText({}, device);
}

SettingsImage displayImage()
{
    SettingsImage image;
    image.set(ImageLayout::CommandSet, 7);   // CD5220
    image.set(ImageLayout::CharacterSet, 2); // GERMANY
    image.set(ImageLayout::DisplaySpeed, 1);
    return image;
}

QByteArray displayReply()
{
    return QByteArray(1, '\xAA') + displayImage().configBytes();
}

} // namespace

Q_DECLARE_METATYPE(FindResult::Outcome)

class DisplayFinderTest : public QObject
{
    Q_OBJECT

private slots:
    void ask_data();
    void ask();
    void lateReplyCountsForItsOwnSpeed_data();
    void lateReplyCountsForItsOwnSpeed();
    void searchReportsEveryPortOnce();
    void stopEndsWaitsAndClosesPorts();
};

void DisplayFinderTest::ask_data()
{
    QTest::addColumn<QString>("answersAt");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("refuseOpen");
    QTest::addColumn<int>("vanishAfterMs");
    QTest::addColumn<FindResult::Outcome>("outcome");
    QTest::addColumn<QString>("settings");

    const QByteArray good = displayReply();
    QByteArray wrongLead = good;
    wrongLead[0] = '\x55';
    QTest::newRow("answers at 9600")
        << "9600" << good << false << -1 << FindResult::Answered << "9600,n,8,1";
    QTest::newRow("answers at 19200 only")
        << "19200" << good << false << -1 << FindResult::Answered << "19200,n,8,1";
    QTest::newRow("silent") << "" << QByteArray() << false << -1 << FindResult::NoAnswer << "";
    QTest::newRow("cannot open") << "9600" << good << true << -1 << FindResult::CannotOpen << "";
    QTest::newRow("wrong lead byte")
        << "9600" << wrongLead << false << -1 << FindResult::NotADisplay << "";
    QTest::newRow("short reply") << "19200" << good.left(60) << false << -1
                                 << FindResult::NotADisplay << "";
    QTest::newRow("vanishes while asked")
        << "" << QByteArray() << false << 100 << FindResult::CannotOpen << "";
}

void DisplayFinderTest::ask()
{
    QFETCH(QString, answersAt);
    QFETCH(QByteArray, reply);
    QFETCH(bool, refuseOpen);
    QFETCH(int, vanishAfterMs);
    QFETCH(FindResult::Outcome, outcome);
    QFETCH(QString, settings);

    Script script{answersAt, reply, refuseOpen, vanishAfterMs};
    const std::atomic_bool never{false};
    const FindResult result =
        DisplayFinder::ask(typed("/dev/ttyX"), scripted({{"/dev/ttyX", script}}), never);

    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.settings, settings);
    QCOMPARE(result.port, QStringLiteral("/dev/ttyX"));
    QCOMPARE(FindMessages::reason(result).isEmpty(), outcome == FindResult::Answered);
    if (outcome == FindResult::Answered) {
        QCOMPARE(result.image.configBytes(), displayImage().configBytes());
        QCOMPARE(FindMessages::summary(result),
                 QStringLiteral("command set CD5220, character set GERMANY, "
                                "display baud 19200,n,8,1"));
    } else {
        QVERIFY(FindMessages::summary(result).isEmpty());
    }
}

void DisplayFinderTest::lateReplyCountsForItsOwnSpeed_data()
{
    QTest::addColumn<QString>("hearsAt");
    QTest::addColumn<QString>("settings");
    QTest::newRow("9600 only, late") << "9600"
                                     << "9600,n,8,1";
    QTest::newRow("19200 only, late") << "19200"
                                      << "19200,n,8,1";
}

// A reply that begins 2.1 s after the request, past the wait for the first
// byte, answers that request: it is not the answer at the next speed.
void DisplayFinderTest::lateReplyCountsForItsOwnSpeed()
{
    QFETCH(QString, hearsAt);
    QFETCH(QString, settings);
    const auto late = [hearsAt](const PortChoice &) {
        auto ticks = std::make_unique<FakeTicks>();
        auto comm = std::make_unique<LateComm>(ticks.get(), hearsAt, 2100, displayReply());
        return DisplayFinder::Link{std::move(ticks), std::move(comm)};
    };
    const std::atomic_bool never{false};
    const FindResult result = DisplayFinder::ask(typed("/dev/ttyX"), late, never);
    QCOMPARE(result.outcome, FindResult::Answered);
    QCOMPARE(result.settings, settings);
}

// Through the signals: each distinct device once, progress up to the total.
void DisplayFinderTest::searchReportsEveryPortOnce()
{
    QHash<QString, Script> scripts = {
        {"/dev/a", {"19200", displayReply()}},
        {"/dev/b", {}},
    };
    scripts["/dev/c"].refuseOpen = true;
    DisplayFinder finder(scripted(scripts));
    QSignalSpy results(&finder, &DisplayFinder::resultReady);
    QSignalSpy progress(&finder, &DisplayFinder::progress);
    QSignalSpy finished(&finder, &DisplayFinder::finished);

    finder.start({typed("/dev/a"), typed("/dev/b"), typed("/dev/a"), typed("/dev/c")});
    QVERIFY(finder.isRunning());
    QVERIFY(finished.wait(10000));
    QVERIFY(!finder.isRunning());
    QCOMPARE(results.size(), 3);
    QCOMPARE(progress.last().at(0).toInt(), 3);
    QCOMPARE(progress.last().at(1).toInt(), 3);

    QHash<QString, FindResult::Outcome> byPort;
    for (const FindResult &result : finder.results())
        byPort.insert(result.port, result.outcome);
    QCOMPARE(byPort.value("/dev/a"), FindResult::Answered);
    QCOMPARE(byPort.value("/dev/b"), FindResult::NoAnswer);
    QCOMPARE(byPort.value("/dev/c"), FindResult::CannotOpen);
}

// Clocks that stand still: only the stop can end these waits.
void DisplayFinderTest::stopEndsWaitsAndClosesPorts()
{
    Script waiting;
    waiting.tickStep = 0;
    QHash<QString, Script> scripts;
    QList<PortChoice> ports;
    for (int k = 0; k < DisplayFinder::MaxParallel + 2; ++k) {
        const QString device = QStringLiteral("/dev/w%1").arg(k);
        scripts.insert(device, waiting);
        ports << typed(device);
    }
    DisplayFinder finder(scripted(scripts));
    QSignalSpy finished(&finder, &DisplayFinder::finished);
    finder.start(ports);
    QTest::qWait(50);
    QVERIFY(finished.isEmpty());

    finder.stop();
    QVERIFY(finished.wait(5000));
    QCOMPARE(finder.results().size(), ports.size());
    for (const FindResult &result : finder.results())
        QCOMPARE(result.outcome, FindResult::Stopped);
}

QTEST_GUILESS_MAIN(DisplayFinderTest)
#include "tst_displayfinder.moc"
