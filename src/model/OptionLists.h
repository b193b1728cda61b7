#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The six lists of the window, in the order that numbers their entries: for
// the four display lists an entry's 0-based position is the very byte stored
// in the settings image.
namespace OptionLists {

const QStringList &charSets();         // Char, 19 entries
const QStringList &commandSets();      // Command, 10 entries
const QStringList &displayBaudRates(); // BaudRate, 2 entries
const QStringList &passthruModes();    // Passthru, 3 entries
const QStringList &commPorts();        // Comm, "Com 1".."Com 8"
const QStringList &linkSettings();     // Baud, "9600,n,8,1" and "19200,n,8,1"

// The position of an entry given by its text, compared without regard to
// case or surrounding blanks and with the " (Default)" suffix optional;
// -1 when no entry matches.
int positionOf(const QStringList &entries, QStringView text);

// Positions selected when the lists are filled and by "Set All Default".
inline constexpr int DefaultCharSet = 0;
inline constexpr int DefaultCommandSet = 1;
inline constexpr int DefaultDisplayBaud = 0;
inline constexpr int DefaultPassthru = 0;
inline constexpr int DefaultCommPort = 0;
inline constexpr int DefaultLinkSettings = 0;

// The factory welcome messages.
QString defaultLine1(); // "*VFD DISPLAY TQ-540*", 20 characters
QString defaultLine2(); // "**HAVE A NICE DAY AND THANK YOU**", 33 characters

} // namespace OptionLists
