#pragma once

#include <QString>

#include "model/OptionLists.h"
#include "model/Result.h"
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

    QString port;   // as the user named it ("Com 3", "/dev/ttyUSB0")
    QString device; // what was opened
    Outcome outcome = NoAnswer;
    QString settings;    // with Answered: the line settings it answered at
    SettingsImage image; // with Answered: what the display holds
    // Otherwise, why not: what kept the port from being opened, NoAnswer
    // (at every speed), NotADisplay or Stopped.
    Error error;

    bool answered() const { return outcome == Answered; }
};

// The line settings a display is asked at, in the order they are tried:
// the entries of "Buad Rate".
namespace FindSpeeds {
inline const QStringList &all()
{
    return OptionLists::linkSettings();
}
} // namespace FindSpeeds
