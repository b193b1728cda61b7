#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "link/Transfer.h"
#include "model/SettingsImage.h"

// The displays that --port names, and the transfers with them.
namespace Displays {

// The targets of the --port values: 1..8 (the window's "Com 1".."Com 8")
// or device names, none of them twice, with checked line settings (empty:
// the window's default). A usage Failure otherwise.
QList<Transfer::Target> targets(const QStringList &ports, const QString &settings);

struct Result
{
    enum class Kind { Ok, Failed, Differs };
    Kind kind = Kind::Failed;
    QString message;
    QString line() const; // "<port>: ok|failed|differs: <message>"
    Transfer::Target target;
};

// Writes the image into every display at once, each on a thread of its
// own, closing pause included; with `verify` reads each one back and
// compares all 126 bytes. `progress` reports each step on stderr.
QList<Result> download(const QList<Transfer::Target> &targets, const SettingsImage &image,
                       bool verify, bool progress);

// Reads one display.
Transfer::UploadResult upload(const Transfer::Target &target, bool progress);

} // namespace Displays
