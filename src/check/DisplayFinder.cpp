#include "check/DisplayFinder.h"

#include <vector>

#include <QFileInfo>
#include <QSet>

#include "link/SystemComm.h"
#include "link/Transfer.h"
#include "messages/Messages.h"

namespace {

// The port's component with a stop switch: once the search is stopped it
// reports a fault, which ends every wait of a transfer at its next look,
// and the transfer then closes the port.
class StoppableComm final : public MSComm
{
public:
    StoppableComm(MSComm &comm, const std::atomic_bool &stop) : m_comm(comm), m_stop(stop) {}

    void setCommPort(int number) override { m_comm.setCommPort(number); }
    void setPortName(const QString &device) override { m_comm.setPortName(device); }
    bool setSettings(const QString &settings) override { return m_comm.setSettings(settings); }
    bool setPortOpen(bool open) override
    {
        if (open && stopped())
            return false;
        return m_comm.setPortOpen(open);
    }
    bool isPortOpen() const override { return m_comm.isPortOpen(); }
    bool setOutput(QByteArrayView bytes) override
    {
        return !stopped() && m_comm.setOutput(bytes);
    }
    int outBufferCount() override { return m_comm.outBufferCount(); }
    int inBufferCount() override { return m_comm.inBufferCount(); }
    int lineQueueCount() override { return m_comm.lineQueueCount(); }
    QByteArray input() override { return m_comm.input(); }
    bool hasFault() const override { return stopped() || m_comm.hasFault(); }
    Error error() const override
    {
        if (m_comm.hasFault() || !stopped())
            return m_comm.error();
        return {.reason = Error::Reason::DeviceFailed, .system = QStringLiteral("stopped")};
    }

private:
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }

    MSComm &m_comm;
    const std::atomic_bool &m_stop;
};

FindResult stoppedAt(FindResult result)
{
    result.outcome = FindResult::Stopped;
    result.reason = QStringLiteral("the search was stopped");
    return result;
}

QString speedsText()
{
    QStringList speeds;
    for (const QString &settings : FindSpeeds::all())
        speeds << settings.section(QLatin1Char(','), 0, 0);
    return speeds.join(QStringLiteral(" or "));
}

// Why a reply is no display's.
QString wrongReply(const Error &error, const QString &settings)
{
    const QString speed = settings.section(QLatin1Char(','), 0, 0);
    if (error.reason == Error::Reason::WrongLeadByte)
        return QStringLiteral("at %1 a reply came that does not start as a display's").arg(speed);
    return QStringLiteral("at %1 a reply of %2 bytes came, a display's has %3")
        .arg(speed)
        .arg(error.count)
        .arg(error.total);
}

// The device behind a port, to ask each one once.
QString deviceKey(const PortChoice &port)
{
    const QString device = port.device();
    if (device.isEmpty())
        return port.shownText;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

} // namespace

DisplayFinder::LinkFactory DisplayFinder::systemLinks()
{
    return [](const PortChoice &) {
        return Link{std::make_unique<SystemTickCounter>(), std::make_unique<SystemComm>()};
    };
}

DisplayFinder::DisplayFinder(LinkFactory links, QObject *parent)
    : QObject(parent), m_links(std::move(links))
{
    m_pool.setMaxThreadCount(MaxParallel);
}

DisplayFinder::~DisplayFinder()
{
    stop();
    m_pool.waitForDone();
}

FindResult DisplayFinder::ask(const PortChoice &port, const LinkFactory &links,
                              const std::atomic_bool &stop)
{
    FindResult result;
    result.port = port.shownText;
    result.device = port.device();
    if (stop)
        return stoppedAt(result);

    Link link = links(port);
    StoppableComm comm(*link.comm, stop);
    QString wrong;
    for (const QString &settings : FindSpeeds::all()) {
        const Result<SettingsImage> reply =
            Transfer::upload(comm, *link.ticks, Transfer::Target{port, settings});
        if (stop)
            return stoppedAt(result);
        if (reply) {
            result.outcome = FindResult::Answered;
            result.settings = settings;
            result.image = *reply;
            result.reason.clear();
            return result;
        }
        const Error &error = reply.error();
        switch (error.reason) {
        case Error::Reason::NoAnswer:
            break;
        case Error::Reason::WrongLeadByte:
        case Error::Reason::ShortReply:
            // Garbled at one speed may be a display that listens at the
            // other: the next speed is asked all the same.
            if (wrong.isEmpty())
                wrong = wrongReply(error, settings);
            break;
        default:
            // Cannot be opened, or went away while asked: the next speed
            // would fare no better.
            result.outcome = FindResult::CannotOpen;
            result.reason = Messages::reason(error);
            return result;
        }
    }
    if (!wrong.isEmpty()) {
        result.outcome = FindResult::NotADisplay;
        result.reason = wrong;
    } else {
        result.outcome = FindResult::NoAnswer;
        result.reason = QStringLiteral("no answer at %1").arg(speedsText());
    }
    return result;
}

QList<PortChoice> DisplayFinder::distinct(const QList<PortChoice> &ports)
{
    QList<PortChoice> once;
    QSet<QString> seen;
    for (const PortChoice &port : ports) {
        const QString key = deviceKey(port);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        once.append(port);
    }
    return once;
}

QList<FindResult> DisplayFinder::findAll(const QList<PortChoice> &ports, const LinkFactory &links)
{
    const QList<PortChoice> once = distinct(ports);
    std::vector<FindResult> results(static_cast<std::size_t>(once.size()));
    const std::atomic_bool never{false};
    QThreadPool pool;
    pool.setMaxThreadCount(MaxParallel);
    for (qsizetype k = 0; k < once.size(); ++k) {
        pool.start([&, k] {
            results[static_cast<std::size_t>(k)] = ask(once.at(k), links, never);
        });
    }
    pool.waitForDone();
    return {results.begin(), results.end()};
}

void DisplayFinder::start(const QList<PortChoice> &ports)
{
    if (m_running)
        return;
    const QList<PortChoice> once = distinct(ports);
    m_results.clear();
    m_total = static_cast<int>(once.size());
    m_stop = std::make_shared<std::atomic_bool>(false);
    m_running = true;
    emit progress(0, m_total);
    if (once.isEmpty()) {
        m_running = false;
        emit finished();
        return;
    }
    for (const PortChoice &port : once) {
        m_pool.start([this, port, links = m_links, stop = m_stop] {
            const FindResult result = ask(port, links, *stop);
            // Queued to the finder's thread; dropped when the finder is gone.
            QMetaObject::invokeMethod(this, [this, result] { deliver(result); },
                                      Qt::QueuedConnection);
        });
    }
}

void DisplayFinder::stop()
{
    if (m_stop)
        m_stop->store(true);
}

void DisplayFinder::deliver(const FindResult &result)
{
    m_results.append(result);
    emit resultReady(result);
    emit progress(static_cast<int>(m_results.size()), m_total);
    if (m_results.size() == m_total) {
        m_running = false;
        emit finished();
    }
}
