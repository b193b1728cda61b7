#include "PerPort.h"

#include <csignal>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>

#include "Parallel.h"
#include "messages/CtlMessages.h"
#include "messages/Messages.h"

namespace PerPort {

namespace {

std::atomic_bool s_stop{false};

extern "C" void onInterrupt(int signal)
{
    s_stop = true;
    // A second Ctrl+C ends the program at once.
    std::signal(signal, SIG_DFL);
}

// Ctrl+C stops the work that has not begun while it is installed.
class InterruptWatch
{
public:
    InterruptWatch()
    {
        s_stop = false;
        m_previous = std::signal(SIGINT, onInterrupt);
    }
    ~InterruptWatch() { std::signal(SIGINT, m_previous); }
    InterruptWatch(const InterruptWatch &) = delete;
    InterruptWatch &operator=(const InterruptWatch &) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
};

// A Failure thrown on a worker thread would end the program: it becomes
// that port's result instead.
Result guarded(const Work &work, const Port &port)
{
    try {
        return work(port);
    } catch (const Cli::Failure &failure) {
        return {.message = failure.message, .status = failure.status};
    }
}

} // namespace

QString Display::device() const
{
    return target.port.devicePath();
}

Result stopped()
{
    return {.outcome = QStringLiteral("stopped"), .message = CtlMessages::stoppedBeforeStart()};
}

QJsonObject toJson(const Display &display, const Result &result)
{
    QJsonObject object{{QStringLiteral("port"), display.given},
                       {QStringLiteral("device"), display.device()},
                       {QStringLiteral("outcome"), result.outcome}};
    if (!result.success)
        object.insert(QStringLiteral("message"), result.message);
    for (auto field = result.fields.begin(); field != result.fields.end(); ++field)
        object.insert(field.key(), field.value());
    return object;
}

QString line(const Display &display, const Result &result)
{
    return QStringLiteral("%1: %2: %3")
        .arg(Messages::shown(display.given), result.outcome,
             QString(result.message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void Port::step(const QString &what) const
{
    if (m_progress == Displays::Progress::Shown)
        Cli::err(QStringLiteral("%1: %2").arg(Messages::shown(m_display.given), what));
}

const std::atomic_bool &stopRequested()
{
    return s_stop;
}

QList<Result> collect(const QList<Display> &displays, Displays::Progress progress, const Work &work,
                      bool *stopped)
{
    const InterruptWatch watch;
    // Each thread fills its own element; a vector, unlike a QList, is never
    // detached under their hands.
    std::vector<Result> results(static_cast<std::size_t>(displays.size()));
    Parallel::forEach(static_cast<int>(displays.size()), Parallel::MostAtOnce, [&](int k) {
        results[static_cast<std::size_t>(k)] =
            s_stop ? PerPort::stopped() : guarded(work, Port(displays[k], progress));
    });
    if (stopped)
        *stopped = s_stop;
    return QList<Result>(results.begin(), results.end());
}

int print(const QList<Display> &displays, const QList<Result> &results, const Options &options,
          bool stopped)
{
    bool allDone = true;
    bool oneDone = false;
    int worst = Cli::Failed;
    QJsonArray objects;
    for (qsizetype k = 0; k < displays.size(); ++k) {
        const Result &result = results[k];
        allDone = allDone && result.success;
        oneDone = oneDone || result.success;
        if (!result.success)
            worst = qMax(worst, result.status);
        if (options.json)
            objects.append(toJson(displays[k], result));
        else
            Cli::out(result.success && !result.text.isEmpty() ? result.text
                                                              : line(displays[k], result));
    }
    if (options.json)
        Cli::out(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("ports"), objects}})
                                       .toJson(QJsonDocument::Indented))
                     .trimmed());
    if (stopped) {
        Cli::err(CtlMessages::interrupted());
        return Cli::Interrupted;
    }
    return (options.oneSuffices ? oneDone : allDone) ? Cli::Done : worst;
}

int run(const QList<Display> &displays, const Options &options, const Work &work)
{
    bool stopped = false;
    const QList<Result> results = collect(displays, options.progress, work, &stopped);
    return print(displays, results, options, stopped);
}

} // namespace PerPort
