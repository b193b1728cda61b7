#pragma once

#include <functional>

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

// Tells what a transfer does now ("writing the settings"), for progress.
using Step = std::function<void(const QString &what)>;

struct DownloadOptions
{
    bool verify = true; // read the display back, before its port closes, and compare
};

// How the download into one display ended.
struct Outcome
{
    // Unchecked: the bytes left, but the read-back could not confirm them.
    enum class Kind { Ok, Failed, Differs, Unchecked };
    Kind kind = Kind::Failed;
    QString message;
    QStringList differences;  // with Differs: the fields the display holds otherwise
    QString kindName() const; // "ok", "failed", "differs" or "unchecked"
};

// Writes the image into one display, closing pause included, on the
// calling thread.
Outcome download(const Transfer::Target &target, const SettingsImage &image,
                 const DownloadOptions &options, const Step &step);

// Reads one display.
Result<SettingsImage> upload(const Transfer::Target &target, const Step &step);

} // namespace Displays
