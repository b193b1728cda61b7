#include "app/widgets/GlassView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {

// Pitches between the glass and the row under it.
constexpr int ContinuationGap = 1;

// Asks the view for its spoken text when a tool reads it.
class GlassViewAccessible : public QAccessibleWidget
{
public:
    explicit GlassViewAccessible(GlassView *view) : QAccessibleWidget(view, QAccessible::Graphic) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const GlassView *>(widget())->spokenText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *glassViewAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("GlassView") && object && object->isWidgetType())
        return new GlassViewAccessible(static_cast<GlassView *>(object));
    return nullptr;
}

} // namespace

GlassView::GlassView(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(glassViewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::NoFocus);
    setRows({});
}

void GlassView::setGlass(const GlassText::Glass &glass, const GlassText::Glass &continuation)
{
    if (glass == m_glass && continuation == m_continuation)
        return;
    const int continuationTop =
        m_renderer.imageSize(rowsShown()).height() + ContinuationGap * m_renderer.dotPitch();
    const QRegion changed = changedCells(m_glass, glass, 0) +
                            changedCells(m_continuation, continuation, continuationTop);
    m_glass = glass;
    m_continuation = continuation;
    m_dirty = true;
    update(changed);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QRegion GlassView::changedCells(const GlassText::Glass &before, const GlassText::Glass &after,
                                int top) const
{
    if (before.rows.size() != after.rows.size())
        return QRegion(rect());
    QRegion changed;
    for (int row = 0; row < int(after.rows.size()); ++row) {
        const GlassText::Row &was = before.rows.at(row);
        const GlassText::Row &is = after.rows.at(row);
        for (int column = 0; column < int(is.size()); ++column) {
            if (column < int(was.size()) && was.at(column) == is.at(column))
                continue;
            const QRectF cell = m_renderer.cellRect(row, column).translated(0, top);
            const qreal by = scale();
            changed += QRectF(cell.topLeft() * by, cell.size() * by).toAlignedRect();
        }
    }
    return changed;
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

void GlassView::setSpokenText(std::function<QString()> source)
{
    m_spokenText = std::move(source);
}

QString GlassView::spokenText() const
{
    return m_spokenText ? m_spokenText() : accessibleName();
}

int GlassView::rowsShown() const
{
    // The glass always shows its two rows.
    return std::max<int>(2, int(m_glass.rows.size()));
}

qreal GlassView::scale() const
{
    // Too small a widget gets the picture scaled down rather than cut.
    const QSize glass = m_renderer.imageSize(rowsShown());
    return std::min(1.0,
                    std::min(qreal(width()) / glass.width(), qreal(height()) / glass.height()));
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
    const qreal by = scale();
    painter.scale(by, by);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, by < 1.0);
    painter.drawImage(0, 0, glass);
    if (!m_continuation.rows.isEmpty()) {
        const int top = glass.height() + ContinuationGap * m_renderer.dotPitch();
        painter.drawImage(0, top, m_continuationRenderer.image());
    }
}
