#pragma once

#include <array>
#include <cstddef>

#include <QByteArray>
#include <QByteArrayView>

#include "model/DisplaySettings.h"

// Where each field of the display's stored configuration lies. The bytes
// of the settings are in the DisplaySettings table.
namespace ImageLayout {

inline constexpr int Size = 127;      // indices 0..126
inline constexpr int ReplyLead = 0;   // only an upload reply's lead byte
inline constexpr int FirstConfig = 1; // bytes 1..126 are the configuration
inline constexpr int ConfigLength = 126;

inline constexpr int Line1 = 7; // cell i at Line1 - 1 + i
inline constexpr int Line1Length = 20;
inline constexpr int Line2 = 27; // cell i at Line2 - 1 + i
inline constexpr int Line2Length = 40;

inline constexpr int Characters = 69; // nine six-byte records: the code, then five columns
inline constexpr int RecordSize = 6;
inline constexpr int CharacterCount = 9;
inline constexpr int CharactersEnd = Characters + RecordSize * CharacterCount; // 123
inline constexpr int GlyphColumns = RecordSize - 1;                            // leftmost first
inline constexpr int GlyphRows = 7; // bit 0 of a column is the top row

// Image index of the record of user-defined character `number` (1..9).
constexpr int recordPosition(int number)
{
    return Characters + RecordSize * (number - 1);
}

// The settings' bytes by name, for the tests and the dumps that want one.
inline constexpr int DisplaySpeed = DisplaySettings::of(DisplaySetting::DisplaySpeed).imageIndex;
inline constexpr int CharacterSet = DisplaySettings::of(DisplaySetting::CharacterSet).imageIndex;
inline constexpr int CommandSet = DisplaySettings::of(DisplaySetting::CommandSet).imageIndex;
inline constexpr int Passthru = DisplaySettings::of(DisplaySetting::Passthru).imageIndex;

// The configuration bytes that no field uses; they are kept as they come.
constexpr bool isReserved(int index)
{
    const auto within = [index](int first, int length) {
        return index >= first && index < first + length;
    };
    return within(FirstConfig, ConfigLength) && !DisplaySettings::isSettingByte(index) &&
           !within(Line1, Line1Length) && !within(Line2, Line2Length) &&
           !within(Characters, CharactersEnd - Characters);
}

constexpr int reservedCount()
{
    int count = 0;
    for (int index = FirstConfig; index < FirstConfig + ConfigLength; ++index)
        count += isReserved(index) ? 1 : 0;
    return count;
}

// In ascending order: 1, 3, 5, 67, 123..126.
inline constexpr std::array<int, reservedCount()> Reserved = [] {
    std::array<int, reservedCount()> bytes{};
    std::size_t next = 0;
    for (int index = FirstConfig; index < FirstConfig + ConfigLength; ++index) {
        if (isReserved(index))
            bytes[next++] = index;
    }
    return bytes;
}();

} // namespace ImageLayout

// The settings image: 127 bytes, 0 at start. Bytes 1..126 are what goes to
// the display and into files; index 0 only ever holds an upload's lead byte.
class SettingsImage
{
public:
    SettingsImage() { m_bytes.fill(0); }

    quint8 at(int index) const { return m_bytes.at(static_cast<std::size_t>(index)); }
    void set(int index, quint8 value) { m_bytes.at(static_cast<std::size_t>(index)) = value; }

    // Bytes 1..126 in ascending order, as sent to the display and stored in files.
    QByteArray configBytes() const;

    // Overwrites bytes 1..126 from the first 126 bytes of `bytes`, which must
    // hold at least that many; returns false and changes nothing otherwise.
    bool setConfigBytes(QByteArrayView bytes);

    bool operator==(const SettingsImage &other) const = default;

private:
    std::array<quint8, ImageLayout::Size> m_bytes;
};
