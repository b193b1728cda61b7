#include "app/widgets/GlassView.h"

#include <QPainter>

namespace {

// Pitches between the glass and the row under it.
constexpr int ContinuationGap = 1;

} // namespace

GlassView::GlassView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setRows({});
}

void GlassView::setGlass(const GlassText::Glass &glass, const GlassText::Glass &continuation)
{
    if (glass == m_glass && continuation == m_continuation)
        return;
    m_glass = glass;
    m_continuation = continuation;
    m_dirty = true;
    update();
}

void GlassView::setState(const GlassRenderer::State &state)
{
    if (state == m_state)
        return;
    m_state = state;
    m_dirty = true;
    update();
}

void GlassView::setRows(const QStringList &rows)
{
    m_rows = rows;
    GlassText::Input input;
    for (int row = 0; row < 2; ++row)
        input.rows << rows.value(row).toLatin1();
    setGlass(GlassText::resolve(input));
}

int GlassView::rowsShown() const
{
    // The glass always shows its two rows.
    return std::max<int>(2, int(m_glass.rows.size()));
}

void GlassView::resizeEvent(QResizeEvent *)
{
    const int continuationRows = int(m_continuation.rows.size());
    const int pitch = GlassRenderer::pitchToFit(
        size(), rowsShown() + continuationRows + (continuationRows ? ContinuationGap : 0));
    if (pitch != m_renderer.dotPitch()) {
        m_renderer = GlassRenderer(pitch);
        m_continuationRenderer = GlassRenderer(pitch);
        m_dirty = true;
    }
}

void GlassView::renderIfDirty()
{
    if (!m_dirty)
        return;
    m_renderer.render(m_glass, m_state);
    if (!m_continuation.rows.isEmpty())
        m_continuationRenderer.render(m_continuation);
    m_dirty = false;
}

QImage GlassView::picture()
{
    QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    render(&picture);
    return picture;
}

void GlassView::paintEvent(QPaintEvent *)
{
    renderIfDirty();
    QPainter painter(this);
    const QImage &glass = m_renderer.image();
    // Too small a widget gets the picture scaled down rather than cut.
    const qreal scale =
        std::min(1.0, std::min(qreal(width()) / glass.width(), qreal(height()) / glass.height()));
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    painter.drawImage(0, 0, glass);
    if (!m_continuation.rows.isEmpty()) {
        const int top = glass.height() + ContinuationGap * m_renderer.dotPitch();
        painter.drawImage(0, top, m_continuationRenderer.image());
    }
}
