#pragma once

#include <optional>

#include <QString>

#include "DisplaySimulator.h"

class QCoreApplication;

// What the command line of tq540sim asks for. A new option is a line in
// SimOptions.cpp's addOptions() and a field here.
struct SimOptions
{
    DisplaySimulator::Options display;
    std::optional<QString> device; // none: a pseudo-terminal
    std::optional<int> baud;       // the speed the display listens at; none: any on a pty
    std::optional<QString> image;  // the .vfd file to start from; none: the factory settings
    std::optional<int> commandSet; // replaces the image's
    std::optional<QString> link;   // a stable name for the pseudo-terminal
    QString saveFile;
    QString screenFile;
    QString pngFile;
    bool once = false;
    bool quiet = false;
    int firstByteDelay = 0;
    int stale = 0;
    int staleByte = 0x5A;
    qint64 dropAfter = -1;

    // The speed of --device: --baud, else the display's factory speed.
    int deviceBaud() const { return baud.value_or(9600); }
};

// Reads the command line; prints the help or the version and exits, or
// fails with a message on stderr and exit status 1.
SimOptions parseOptions(const QCoreApplication &app);

// Ends the simulator: the message on stderr, exit status 1.
[[noreturn]] void failSim(const QString &text);

// A command set as tq540ctl takes a list entry: its text, an alias or its
// position; failSim() otherwise.
int commandSetOf(const QString &name, const QString &option = QStringLiteral("command"));
