#pragma once

#include <array>
#include <cstddef>

#include <QByteArray>
#include <QByteArrayView>

// Where each field of the display's stored configuration lies.
namespace ImageLayout {

inline constexpr int Size = 127;      // indices 0..126
inline constexpr int ReplyLead = 0;   // only an upload reply's lead byte
inline constexpr int FirstConfig = 1; // bytes 1..126 are the configuration
inline constexpr int ConfigLength = 126;

inline constexpr int DisplayBaud = 2;  // position in the BaudRate list
inline constexpr int CharacterSet = 4; // position in the Char list
inline constexpr int CommandSet = 6;   // position in the Command list
inline constexpr int Passthru = 68;    // position in the Passthru list

inline constexpr int Line1 = 7; // cell i at Line1 - 1 + i
inline constexpr int Line1Length = 20;
inline constexpr int Line2 = 27; // cell i at Line2 - 1 + i
inline constexpr int Line2Length = 40;

inline constexpr int Characters = 69; // nine six-byte records
inline constexpr int RecordSize = 6;
inline constexpr int CharacterCount = 9;
inline constexpr int CharactersEnd = Characters + RecordSize * CharacterCount; // 123

inline constexpr std::array<int, 8> Reserved = {1, 3, 5, 67, 123, 124, 125, 126};

// Image index of the record of user-defined character `number` (1..9).
constexpr int recordPosition(int number)
{
    return Characters + RecordSize * (number - 1);
}

} // namespace ImageLayout

// The settings image: 127 bytes, 0 at start. Bytes 1..126 are what goes to
// the display and into files; index 0 only ever holds an upload's lead byte.
class SettingsImage
{
public:
    SettingsImage() { m_bytes.fill(0); }

    quint8 at(int index) const { return m_bytes.at(static_cast<std::size_t>(index)); }
    void set(int index, quint8 value) { m_bytes.at(static_cast<std::size_t>(index)) = value; }

    void clear() { m_bytes.fill(0); }

    // Bytes 1..126 in ascending order, as sent to the display and stored in files.
    QByteArray configBytes() const;

    // Overwrites bytes 1..126 from the first 126 bytes of `bytes`, which must
    // hold at least that many; returns false and changes nothing otherwise.
    bool setConfigBytes(QByteArrayView bytes);

    bool operator==(const SettingsImage &other) const = default;

private:
    std::array<quint8, ImageLayout::Size> m_bytes;
};
