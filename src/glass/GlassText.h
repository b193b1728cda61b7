#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "glass/GlassFont.h"
#include "model/ImageCodec.h"

// What each cell of a glass shows, worked out from the codes written to it,
// the "Character Type" entry and the user-defined characters in force.
namespace GlassText {

inline constexpr int Columns = 20;

enum class Kind {
    Font,       // the built-in glyph of a printable code
    User,       // a user-defined character in force for the code
    Replaced,   // the international set's glyph (settled for printers)
    Undrawable, // a code outside 0x20..0x7E: no glyph is known
};

struct Cell
{
    quint8 code = GlassFont::FirstCode;
    Kind kind = Kind::Font;
    GlassFont::Columns columns{}; // bit 7 always 0
    int userNumber = 0;           // with Kind::User: 1..9
    QString text;                 // what it stands for; empty when undrawable

    bool operator==(const Cell &other) const = default;
};

using Row = QList<Cell>;

struct Input
{
    QList<QByteArray> rows; // each cut or padded with blanks to `Columns`
    int characterSet = 0;   // position in the "Character Type" list
    // The settings image's records; those with a printable code are in
    // force, the first one for a code wins.
    QList<ImageCodec::Glyph> userCharacters;
};

struct Glass
{
    QList<Row> rows;
    // Records that define dots for a code outside 0x20..0x7E: never drawn.
    QList<ImageCodec::Glyph> unusedCharacters;

    bool operator==(const Glass &other) const = default;
};

// The records of an image as user-defined characters: the nine of them.
QList<ImageCodec::Glyph> imageCharacters(const SettingsImage &image);

Cell cellFor(quint8 code, const Input &input);
Glass resolve(const Input &input);

// The welcome message as the glass shows it: line 1 on the upper row, line
// 2's first 20 cells on the lower row; its cells 21 to 40 in `beyond`,
// because how the display shows them on 20 columns is not public.
struct Welcome
{
    Glass glass;
    Glass beyond;
};
Welcome welcome(const QByteArray &line1, const QByteArray &line2, int characterSet,
                const QList<ImageCodec::Glyph> &userCharacters);
// The same from a settings image's own lines, set and records.
Welcome welcome(const SettingsImage &image);

} // namespace GlassText
