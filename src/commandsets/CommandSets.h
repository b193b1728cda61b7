#pragma once

#include <QString>

// The display's command sets by their position in the "Command Mode" list
// (OptionLists::commandSets()), which is also image byte 6.
namespace CommandSets {

enum Position : int {
    KS310 = 0,
    Epson = 1,
    UtcStandard = 2, // "UTC/S"
    UtcEnhanced = 3, // "UTC/P", taken to be the enhanced UTC set (an inference)
    Aedex = 4,
    Adm788 = 5,
    Dsp800 = 6,
    Cd5220 = 7,
    Emax = 8, // printed in one table with AEDEX by every guide
    LogicControl = 9,
};

inline constexpr int Count = 10;

bool isListed(int position);

// False for KS310 and DSP800, whose command tables are not public, and for
// positions outside the list: such a set is neither written nor interpreted.
bool isPubliclyDescribed(int position);

// The list entry without its " (Default)" suffix: "EPSON" for "EPSON (Default)";
// empty for a position outside the list.
QString shortName(int position);

} // namespace CommandSets
