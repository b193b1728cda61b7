#pragma once

#include <QString>
#include <QStringList>

#include "model/SettingsImage.h"

// What asking one port for a display found.
struct FindResult
{
    enum Outcome {
        Answered,    // a display sent its settings
        CannotOpen,  // the port could not be opened, or went away while asked
        NoAnswer,    // nothing came at either speed
        NotADisplay, // something answered, but not with a display's reply
        Stopped,     // the search was stopped before this port was done
    };

    QString port;          // as the user named it ("Com 3", "/dev/ttyUSB0")
    QString device;        // what was opened
    Outcome outcome = NoAnswer;
    QString settings;      // with Answered: the line settings it answered at
    SettingsImage image;   // with Answered: what the display holds
    QString reason;        // otherwise: why not, as a clause

    bool answered() const { return outcome == Answered; }
    // With Answered, what the display is set to, in one line: "command set
    // EPSON (Default), character set USA/Eurpope  (Default), display baud
    // 9600,n,8,1"; empty otherwise.
    QString summary() const;
    // The outcome's word: "answered", "cannot open", "no answer",
    // "not a display", "stopped"; for scripts and the JSON output.
    QString outcomeName() const;
};

// The line settings a display is asked at, in the order they are tried.
namespace FindSpeeds {
inline const QStringList &all()
{
    static const QStringList speeds = {QStringLiteral("9600,n,8,1"),
                                       QStringLiteral("19200,n,8,1")};
    return speeds;
}
} // namespace FindSpeeds
