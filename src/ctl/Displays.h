#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "link/Transfer.h"
#include "model/Result.h"
#include "model/SettingsImage.h"

// The displays that --port names, and the transfers with them.
namespace Displays {

// The targets of the --port values: 1..8 (the window's "Com 1".."Com 8")
// or device names, none of them twice, with checked line settings (empty:
// the window's default). A usage Failure otherwise.
QList<Transfer::Target> targets(const QStringList &ports, const QString &settings);

// Whether each step of a transfer is reported on stderr.
enum class Progress { Hidden, Shown };

struct DownloadOptions
{
    bool verify = true; // read each display back, before its port closes, and compare
    Progress progress = Progress::Hidden;
};

// How the download into one display ended.
struct Outcome
{
    // Unchecked: the bytes left, but the read-back could not confirm them.
    enum class Kind { Ok, Failed, Differs, Unchecked };
    Kind kind = Kind::Failed;
    QString message;
    QStringList differences;  // with Differs: the fields the display holds otherwise
    QString line() const;     // "<port>: ok|failed|differs|unchecked: <message>"
    QString kindName() const; // "ok", "failed", "differs" or "unchecked"
    Transfer::Target target;
};

// Writes the image into the displays, Parallel::MostAtOnce at once, each
// on a thread of its own, closing pause included; an outcome per target,
// in their order.
QList<Outcome> download(const QList<Transfer::Target> &targets, const SettingsImage &image,
                        const DownloadOptions &options);

// Reads one display.
Result<SettingsImage> upload(const Transfer::Target &target, Progress progress);

} // namespace Displays
