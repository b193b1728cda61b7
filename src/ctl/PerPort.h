#pragma once

#include <atomic>
#include <functional>

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "Cli.h"
#include "Displays.h"
#include "link/Transfer.h"

// The one way tq540ctl works on displays: for each port named, open it, do
// the command's work, and give one result: one line of text or one JSON
// object. The pool, the progress, the stop on Ctrl+C and the shape of every
// per-port result live here.
namespace PerPort {

// A port as the user named it and the link it is reached over.
struct Display
{
    QString given;           // the --port value, as given ("3", "/dev/ttyUSB0", "auto")
    Transfer::Target target; // the device and the line settings
    QString device() const;  // what is opened
};

// What the work on one port came to.
struct Result
{
    // "ok" for a success; "failed", "differs", "refused", "stopped"; find
    // uses the finder's words ("answered", "no answer", ...).
    QString outcome = QStringLiteral("failed");
    bool success = false;
    QString message{};        // why not, when not a success; else what was done
    QJsonObject fields{};     // the command's own
    QString text{};           // a success's text output, where a line is too little (upload)
    int status = Cli::Failed; // the exit status a failure asks for
};

// Ends a port's work as stopped: Ctrl+C came before it began.
Result stopped();

// The JSON object of one port's result: port, device, outcome, message
// (only when not a success), then the command's own fields.
QJsonObject toJson(const Display &display, const Result &result);
// One line, whatever lines the message has: "<port>: <outcome>: <message>".
QString line(const Display &display, const Result &result);

// What the work on one port may ask of the helper.
class Port
{
public:
    Port(const Display &display, Displays::Progress progress)
        : m_display(display), m_progress(progress)
    {
    }
    const Display &display() const { return m_display; }
    const Transfer::Target &target() const { return m_display.target; }
    // A step of the work, on stderr when progress is shown.
    void step(const QString &what) const;
    // step() as the transfers take it.
    Displays::Step steps() const
    {
        return [this](const QString &what) { step(what); };
    }
    Displays::Progress progress() const { return m_progress; }

private:
    const Display &m_display;
    Displays::Progress m_progress;
};

using Work = std::function<Result(const Port &port)>;

struct Options
{
    bool json = false;
    Displays::Progress progress = Displays::Progress::Hidden;
    // Done when one port succeeded (find), rather than every port.
    bool oneSuffices = false;
};

// Does `work` for every display, Parallel::MostAtOnce at once, and prints
// one result per display in their order: a line each, or with json the
// object {"ports": [...]}. Ctrl+C stops what has not begun; what runs ends
// by itself (every wait has a bound), so no display is left half written.
// Returns Done when every port succeeded (or one, with oneSuffices),
// Interrupted after Ctrl+C, else the highest status of the failures.
int run(const QList<Display> &displays, const Options &options, const Work &work);

// The results without printing them: for tests, and for commands that
// print otherwise. `stopped` tells whether Ctrl+C came.
QList<Result> collect(const QList<Display> &displays, Displays::Progress progress, const Work &work,
                      bool *stopped = nullptr);

// Prints results as run() does and returns its status.
int print(const QList<Display> &displays, const QList<Result> &results, const Options &options,
          bool stopped);

// Whether Ctrl+C came since collect() began; the finder's waits read it.
const std::atomic_bool &stopRequested();

} // namespace PerPort
