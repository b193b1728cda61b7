#pragma once

#include <QList>
#include <QString>

#include "Cli.h"
#include "Displays.h"
#include "PerPort.h"
#include "check/FindResult.h"

// The options of every command that reaches displays.
namespace Commands {

// Whether --port may be "auto": the one display that find finds.
enum class AutoPort { Refused, Allowed };

// --port (help begins with `portHelp`), --settings and --quiet.
void addLinkOptions(Cli::CommandLine &line, const QString &portHelp,
                    AutoPort autoPort = AutoPort::Refused);

// The displays that --port and --settings name; a usage Failure for a
// wrong value, --settings "" included. With "auto", the one display that
// answers on the system's ports, at the speed it answered (unless
// --settings says otherwise); a Failed Failure when none or several answer.
QList<PerPort::Display> displays(const Cli::CommandLine &line,
                                 AutoPort autoPort = AutoPort::Refused);

// The display of --port auto among what find found: the only one that
// answered, at the speed it answered unless `settings` are given; a Failed
// Failure that lists the ports when none or several answered.
PerPort::Display onlyDisplay(const QList<FindResult> &results, const QString &settings);

// Progress on stderr: on a terminal, unless --quiet.
Displays::Progress progress(const Cli::CommandLine &line);

// --json, and whether it was given.
void addJsonOption(Cli::CommandLine &line);
bool json(const Cli::CommandLine &line);

} // namespace Commands
