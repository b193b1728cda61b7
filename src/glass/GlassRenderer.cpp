#include "glass/GlassRenderer.h"

#include <algorithm>
#include <optional>

#include <QPainter>

namespace {

// In dot pitches: a cell is 5 x 7 dots and a cursor line; a column of dots
// keeps the cells apart, a row of pitches the two rows.
constexpr int CellDots = 5;
constexpr int CellAdvance = CellDots + 1;
constexpr int RowDots = 8; // seven rows and the cursor line
constexpr int RowAdvance = RowDots + 1;
constexpr int Margin = 2;

// A tile key: 35 dots, the cursor line, the no-glyph colour, the brightness.
constexpr int CursorBit = 35;
constexpr int NoGlyphBit = 36;
constexpr int BrightnessShift = 37;

// The hollow box of a code without a glyph.
constexpr GlassFont::Columns NoGlyphBox = {0x7F, 0x41, 0x41, 0x41, 0x7F};

QColor mixed(const QColor &from, const QColor &to, int percent)
{
    const auto channel = [percent](int a, int b) { return a + (b - a) * percent / 100; };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

GlassRenderer::GlassRenderer(int dotPitch)
    : m_pitch(std::max(dotPitch, MinimumPitch)), m_dot(m_pitch - std::max(1, m_pitch / 4))
{
}

QSize GlassRenderer::imageSize(int rows) const
{
    return QSize((2 * Margin + GlassText::Columns * CellAdvance - 1) * m_pitch,
                 (2 * Margin + rows * RowAdvance - 1) * m_pitch);
}

int GlassRenderer::pitchToFit(QSize size, int rows)
{
    const int across = size.width() / (2 * Margin + GlassText::Columns * CellAdvance - 1);
    const int down = size.height() / (2 * Margin + rows * RowAdvance - 1);
    return std::max(MinimumPitch, std::min(across, down));
}

QRect GlassRenderer::cellRect(int row, int column) const
{
    return QRect((Margin + column * CellAdvance) * m_pitch, (Margin + row * RowAdvance) * m_pitch,
                 CellDots * m_pitch, RowDots * m_pitch);
}

QPoint GlassRenderer::dotCentre(int row, int column, int dotColumn, int dotRow) const
{
    const QPoint corner = cellRect(row, column).topLeft();
    return corner + QPoint(dotColumn * m_pitch + m_dot / 2, dotRow * m_pitch + m_dot / 2);
}

GlassRenderer::TileKey GlassRenderer::keyOf(const GlassText::Cell &cell, int row, int column,
                                            const State &state) const
{
    const bool undrawable = cell.kind == GlassText::Kind::Undrawable;
    const bool dark =
        !state.darkCells.isEmpty() && state.darkCells.contains(row * GlassText::Columns + column);
    const GlassFont::Columns &columns = undrawable ? NoGlyphBox : cell.columns;
    TileKey key = 0;
    if (!dark) {
        for (int c = 0; c < CellDots; ++c)
            key |= TileKey(columns[std::size_t(c)] & GlassFont::RowMask) << (7 * c);
    }
    if (row == state.cursorRow && column == state.cursorColumn)
        key |= TileKey(1) << CursorBit;
    if (undrawable)
        key |= TileKey(1) << NoGlyphBit;
    key |= TileKey(std::clamp(state.brightness, 0, 100)) << BrightnessShift;
    return key;
}

const QImage &GlassRenderer::tile(TileKey key)
{
    const auto found = m_tiles.constFind(key);
    if (found != m_tiles.constEnd())
        return *found;

    const int brightness = int(key >> BrightnessShift);
    const QColor &on = (key >> NoGlyphBit) & 1 ? GlassLook::NoGlyph : GlassLook::Lit;
    const QColor lit = mixed(GlassLook::Unlit, on, std::max(brightness, 15));
    QImage tile(CellDots * m_pitch, RowDots * m_pitch, QImage::Format_RGB32);
    tile.fill(GlassLook::Glass);
    QPainter painter(&tile);
    painter.setPen(Qt::NoPen);
    const qreal radius = m_dot >= 4 ? m_dot / 4.0 : 0;
    for (int column = 0; column < CellDots; ++column) {
        for (int row = 0; row < RowDots; ++row) {
            const bool isCursorLine = row == RowDots - 1;
            const bool on = isCursorLine ? (key >> CursorBit) & 1 : (key >> (7 * column + row)) & 1;
            if (isCursorLine && !on)
                continue; // the cursor line has no dots of its own
            const QRectF dot(column * m_pitch, row * m_pitch, m_dot, m_dot);
            if (on) {
                painter.setBrush(GlassLook::Glow);
                painter.drawRoundedRect(dot.adjusted(-0.5, -0.5, 0.5, 0.5), radius, radius);
            }
            painter.setBrush(on ? lit : GlassLook::Unlit);
            painter.drawRoundedRect(dot, radius, radius);
        }
    }
    painter.end();
    return *m_tiles.insert(key, tile);
}

const QImage &GlassRenderer::render(const GlassText::Glass &glass, const State &state)
{
    const int rows = int(glass.rows.size());
    if (m_image.size() != imageSize(rows)) {
        m_image = QImage(imageSize(rows), QImage::Format_RGB32);
        m_image.fill(GlassLook::Glass);
        m_drawn = QList<TileKey>(rows * GlassText::Columns, ~TileKey(0));
    }
    m_cellsPainted = 0;
    // Made only when a cell changed: most renders while typing change one.
    std::optional<QPainter> painter;
    for (int row = 0; row < rows; ++row) {
        const GlassText::Row &cells = glass.rows.at(row);
        for (int column = 0; column < GlassText::Columns && column < cells.size(); ++column) {
            const TileKey key = keyOf(cells.at(column), row, column, state);
            TileKey &drawn = m_drawn[row * GlassText::Columns + column];
            if (drawn == key)
                continue;
            const QImage &image = tile(key);
            if (!painter)
                painter.emplace(&m_image);
            painter->drawImage(cellRect(row, column).topLeft(), image);
            drawn = key;
            ++m_cellsPainted;
        }
    }
    return m_image;
}

const QImage &GlassRenderer::render(const GlassText::Glass &glass)
{
    return render(glass, State());
}
