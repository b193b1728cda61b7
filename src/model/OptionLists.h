#pragma once

#include <string_view>

#include <QString>
#include <QStringList>
#include <QStringView>

// The six lists of the window, in the order that numbers their entries: for
// the lists of the display's settings (see DisplaySettings) an entry's
// 0-based position is the very byte stored in the settings image.
namespace OptionLists {

// The Command list's texts, also known at compile time so that each command
// set's description can be checked against its position.
inline constexpr std::string_view CommandSetEntries[] = {
    "KS310",  "EPSON (Default)", "UTC/S",  "UTC/P", "AEDEX",
    "ADM788", "DSP800",          "CD5220", "EMAX",  "LogicControl",
};

const QStringList &charSets();      // Char, 19 entries
const QStringList &commandSets();   // Command, 10 entries
const QStringList &displaySpeeds(); // BaudRate, 2 entries: the display's own serial speed
const QStringList &passthruModes(); // Passthru, 3 entries
const QStringList &commPorts();     // Comm, "Com 1".."Com 8"
const QStringList &linkSettings();  // Baud, "9600,n,8,1" and "19200,n,8,1"

// The position of an entry given by its text, compared without regard to
// case or surrounding blanks and with the " (Default)" suffix optional;
// -1 when no entry matches.
int positionOf(const QStringList &entries, QStringView text);

// Another text that names an entry, as people type it: the corrected
// spelling of an entry's text, or a speed alone. The list's own texts stay
// what is shown.
struct Alias
{
    const char *text;
    int position;
};

inline constexpr Alias CharSetAliases[] = {
    {"USA/Europe", 0},
    {"UK", 3},
    {"U.K.", 3},
    {"LATVIAN", 15},
    {"GREEK ISO 8859-7", 18},
    {"GREEK ISO8859-7", 18},
    {"GREEK 8859-7", 18},
};
inline constexpr Alias CommandSetAliases[] = {{"Logic Control", 9}};
inline constexpr Alias DisplaySpeedAliases[] = {{"9600", 0}, {"19200", 1}};

// Positions selected when the window's own lists are filled.
inline constexpr int DefaultCommPort = 0;
inline constexpr int DefaultLinkSettings = 0;

// The factory welcome messages.
QString defaultLine1(); // "*VFD DISPLAY TQ-540*", 20 characters
QString defaultLine2(); // "**HAVE A NICE DAY AND THANK YOU**", 33 characters

} // namespace OptionLists
