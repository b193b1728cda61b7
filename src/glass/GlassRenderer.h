#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSet>

#include "glass/GlassText.h"

// The colours of a vacuum-fluorescent display's glass and its dots.
namespace GlassLook {
inline const QColor Glass(0x06, 0x1c, 0x1a);
inline const QColor Glow(0x40, 0xf0, 0xc8, 90);
inline const QColor Lit(0x7a, 0xff, 0xde);
inline const QColor Unlit(0x12, 0x30, 0x2c);   // faintly visible, as on real glass
inline const QColor NoGlyph(0xff, 0xb0, 0x40); // a code the preview cannot draw
} // namespace GlassLook

// Paints a glass of rows of 20 cells, each a 5 x 7 dot matrix with the
// pitch and gaps of a vacuum-fluorescent display, into an image it keeps.
// A render redraws only the cells that changed, from tiles made once per
// dot pattern, so that a preview costs little while the user types.
class GlassRenderer
{
public:
    // What the display adds to its cells, where the command set has it.
    struct State
    {
        int brightness = 100; // percent
        int cursorRow = -1;   // -1: no cursor shown
        int cursorColumn = -1;
        QSet<int> darkCells; // row * 20 + column: blinking cells in their dark phase

        bool operator==(const State &other) const = default;
    };

    static constexpr int MinimumPitch = 3;

    // `dotPitch`: pixels from one dot to the next.
    explicit GlassRenderer(int dotPitch = 4);

    int dotPitch() const { return m_pitch; }
    // The whole image for a glass of `rows` rows.
    QSize imageSize(int rows) const;
    // The largest pitch at which `rows` rows fit into `size`.
    static int pitchToFit(QSize size, int rows);
    // Where a cell lies in the image, and the centre of one of its dots
    // (dotRow 7 is the cursor line).
    QRect cellRect(int row, int column) const;
    QPoint dotCentre(int row, int column, int dotColumn, int dotRow) const;

    const QImage &render(const GlassText::Glass &glass, const State &state);
    const QImage &render(const GlassText::Glass &glass);
    const QImage &image() const { return m_image; }
    // How many cells the last render() painted.
    int cellsPainted() const { return m_cellsPainted; }

private:
    using TileKey = quint64;
    TileKey keyOf(const GlassText::Cell &cell, int row, int column, const State &state) const;
    const QImage &tile(TileKey key);

    int m_pitch;
    int m_dot;
    QImage m_image;
    QList<TileKey> m_drawn; // per cell of m_image, row by row
    QHash<TileKey, QImage> m_tiles;
    int m_cellsPainted = 0;
};
