#pragma once

#include <array>
#include <optional>

#include <QString>

#include "model/SettingsImage.h"

// The dots the glass draws for a character code, in the layout of the
// settings image's character records: five columns, leftmost first, bit 0
// of a column the top row.
namespace GlassFont {

using Columns = std::array<quint8, ImageLayout::GlyphColumns>;

inline constexpr quint8 FirstCode = 0x20;
inline constexpr quint8 LastCode = 0x7E;
inline constexpr quint8 RowMask = 0x7F; // bit 7 of a column is no dot

constexpr bool isPrintable(int code)
{
    return code >= FirstCode && code <= LastCode;
}

// The built-in glyph of a printable code; the blank for any other.
const Columns &glyph(quint8 code);

constexpr bool isLit(const Columns &columns, int column, int row)
{
    return (columns[static_cast<std::size_t>(column)] >> row) & 1;
}

} // namespace GlassFont

// The international sets: the first entries of "Character Type" replace the
// glyphs of twelve codes. Those glyphs are the ones settled for printers;
// for the later entries no table is public, so they draw ASCII.
namespace InternationalSets {

inline constexpr int PublicCount = 11; // "Character Type" positions 0..10
inline constexpr std::array<quint8, 12> Codes = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D,
                                                 0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

struct Replacement
{
    QString text; // what the glyph stands for: "é", "Pt"
    GlassFont::Columns columns{};
};

// What the entry at `set` draws for `code` instead of its ASCII glyph;
// nothing where it draws the ASCII glyph or its table is not public.
std::optional<Replacement> replacement(int set, quint8 code);

} // namespace InternationalSets
