#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "model/DisplaySettings.h"
#include "model/SettingsImage.h"

// The settings image read into typed fields and written back. Every one of
// the 126 configuration bytes belongs to exactly one field: a setting, a
// message cell, a user character record or a reserved byte.
namespace ImageCodec {

// A user character's dots: [column - 1][row], row 0 on top.
using Dots = std::array<std::array<bool, ImageLayout::GlyphRows>, ImageLayout::GlyphColumns>;

// The dot pattern as --glyph takes it and show prints it: seven rows of
// five '#' (lit) or '.', top row first, joined by '/'.
QString patternText(const Dots &dots);
// The same rows, one a string.
QStringList patternRows(const Dots &dots);
// Nothing when the text is not exactly that shape.
std::optional<Dots> readPattern(QStringView text);

struct SettingField
{
    DisplaySetting setting;
    quint8 position = 0;

    const DisplaySettingInfo &info() const { return DisplaySettings::of(setting); }
    // Nothing when the byte is no position of the list.
    std::optional<QString> entry() const { return info().entryAt(position); }
};

// Where a welcome line lies; its name is the option and the JSON key.
struct LinePlace
{
    const char *name;
    int first;  // image index of cell 1
    int length; // cells
};
inline constexpr LinePlace Lines[] = {
    {"line1", ImageLayout::Line1, ImageLayout::Line1Length},
    {"line2", ImageLayout::Line2, ImageLayout::Line2Length},
};
inline constexpr std::size_t LineCount = std::size(Lines);

struct LineField
{
    QByteArray bytes; // one a cell; on writing, missing cells are 0

    // The byte of cell 1..length; 0 for a cell beyond the bytes.
    quint8 cell(int number) const;
    // The cells as one text through the code page, as show prints it: the
    // zero cells at the end left off, a zero cell before them as \u2400.
    QString text() const;
};

struct Glyph
{
    int number = 1; // 1..9
    quint8 code = 0;
    std::array<quint8, ImageLayout::GlyphColumns> columns{}; // as stored, bit 7 included

    // The dots; bit 7 of a column is no dot.
    Dots dots() const;
    // A record drawn by the character editor: bit 7 of each column is 0.
    static Glyph drawn(int number, quint8 code, const Dots &dots);
    // Code and every column 0: nothing was ever defined here.
    bool isEmpty() const;

    bool operator==(const Glyph &other) const = default;
};

struct ReservedByte
{
    int index; // in the image
    quint8 value = 0;
};

// The whole configuration, field by field.
struct Fields
{
    std::array<SettingField, DisplaySettings::Count> settings;
    std::array<LineField, LineCount> lines;
    std::array<Glyph, ImageLayout::CharacterCount> glyphs;
    std::array<ReservedByte, ImageLayout::Reserved.size()> reserved;
};

Fields decode(const SettingsImage &image);
// Writes bytes 1..126 from the fields; byte 0 (a reply's lead) is kept.
void encode(const Fields &fields, SettingsImage &image);

Glyph glyphAt(const SettingsImage &image, int number);
void storeGlyph(SettingsImage &image, const Glyph &glyph);

// A field that differs between two images, named as show and diff name it.
struct FieldRef
{
    enum class Kind { Setting, Cell, Glyph, Reserved };
    Kind kind;
    std::size_t slot; // in its array of Fields
    int cell = 0;     // with Cell: 1..length

    // "char", "line1[3]", "glyph[2]", "reserved[67]".
    QString name() const;
};

// The fields whose bytes differ, in the order of Fields.
QList<FieldRef> differences(const Fields &a, const Fields &b);

// Their names with runs of neighbouring cells folded: "line1[1-20]".
QStringList foldedNames(const QList<FieldRef> &differences);

} // namespace ImageCodec
