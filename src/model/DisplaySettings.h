#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <span>

#include <QString>
#include <QStringList>

#include "model/OptionLists.h"

// The display's own settings, in the order of their bytes in the image.
// Each setting is one byte that holds the position of an entry in its list.
enum class DisplaySetting { DisplaySpeed, CharacterSet, CommandSet, Passthru };

// Everything the programs know of one setting. The window, the command
// line and the simulator all read the settings from the table below, so a
// new setting is a new row (and its list, and its place on the window).
struct DisplaySettingInfo
{
    DisplaySetting setting;
    // Its byte in the settings image.
    int imageIndex;
    // Its list; the position of an entry is the byte.
    const QStringList &(*entries)();
    // Other texts that tq540ctl takes for entries.
    std::span<const OptionLists::Alias> aliases;
    // Selected when the lists are filled and by "Set All Default".
    int factoryPosition;
    // An upload applies a received byte only below this (and when it is an entry).
    int uploadBound;
    // The command-line option, the JSON key and the label in show and diff.
    const char *name;
    // The caption of its list in the window.
    const char *windowCaption;
    // What it is, in tq540ctl's help.
    const char *helpCaption;
    // Its label in the simulator's print-out.
    const char *plainName;

    int size() const { return static_cast<int>(entries().size()); }
    bool isEntry(int position) const { return position >= 0 && position < size(); }
    // The entry at a position; nothing when the position is no entry.
    std::optional<QString> entryAt(int position) const
    {
        return isEntry(position) ? std::optional<QString>(entries().at(position)) : std::nullopt;
    }
    // The entry that a text names: one of the list's own texts (see
    // OptionLists::positionOf), else an alias, compared as loosely; -1 for none.
    int positionOf(QStringView text) const
    {
        if (const int found = OptionLists::positionOf(entries(), text); found >= 0)
            return found;
        for (const OptionLists::Alias &alias : aliases) {
            if (text.trimmed().compare(QLatin1String(alias.text), Qt::CaseInsensitive) == 0)
                return alias.position;
        }
        return -1;
    }
};

namespace DisplaySettings {

inline constexpr DisplaySettingInfo Table[] = {
    {
        .setting = DisplaySetting::DisplaySpeed,
        .imageIndex = 2,
        .entries = &OptionLists::displaySpeeds,
        .aliases = OptionLists::DisplaySpeedAliases,
        .factoryPosition = 0,
        .uploadBound = 4,
        .name = "display-baud",
        .windowCaption = "BaudRate Select :",
        .helpCaption = "the display's own serial speed",
        .plainName = "display baud",
    },
    {
        .setting = DisplaySetting::CharacterSet,
        .imageIndex = 4,
        .entries = &OptionLists::charSets,
        .aliases = OptionLists::CharSetAliases,
        .factoryPosition = 0,
        .uploadBound = 19,
        .name = "char",
        .windowCaption = " Character Type :",
        .helpCaption = "the international character set",
        .plainName = "character set",
    },
    {
        .setting = DisplaySetting::CommandSet,
        .imageIndex = 6,
        .entries = &OptionLists::commandSets,
        .aliases = OptionLists::CommandSetAliases,
        .factoryPosition = 1,
        .uploadBound = 17,
        .name = "command",
        .windowCaption = "Command Mode :",
        .helpCaption = "the command set the display emulates",
        .plainName = "command set",
    },
    {
        .setting = DisplaySetting::Passthru,
        .imageIndex = 68,
        .entries = &OptionLists::passthruModes,
        .aliases = {},
        .factoryPosition = 0,
        .uploadBound = 4,
        .name = "passthru",
        .windowCaption = " Passthru Mode :",
        .helpCaption = "the passthru mode",
        .plainName = "passthru",
    },
};

inline constexpr std::size_t Count = std::size(Table);

// A setting's row is found by its value in the enumeration.
constexpr bool rowsInOrder()
{
    for (std::size_t k = 0; k < Count; ++k) {
        if (static_cast<std::size_t>(Table[k].setting) != k)
            return false;
    }
    return true;
}
static_assert(rowsInOrder(), "the table's rows follow the order of DisplaySetting");

constexpr const DisplaySettingInfo &of(DisplaySetting setting)
{
    return Table[static_cast<std::size_t>(setting)];
}

constexpr std::size_t slot(DisplaySetting setting)
{
    return static_cast<std::size_t>(setting);
}

// Whether an image index is the byte of a setting.
constexpr bool isSettingByte(int index)
{
    for (const DisplaySettingInfo &info : Table) {
        if (info.imageIndex == index)
            return true;
    }
    return false;
}

} // namespace DisplaySettings
