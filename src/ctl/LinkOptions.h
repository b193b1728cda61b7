#pragma once

#include <QString>

#include "Cli.h"
#include "Displays.h"

// The options of every command that reaches displays.
namespace Commands {

// --port (help begins with `portHelp`), --settings and --quiet.
void addLinkOptions(Cli::CommandLine &line, const QString &portHelp);

// Progress on stderr: on a terminal, unless --quiet.
Displays::Progress progress(const Cli::CommandLine &line);

} // namespace Commands
