#pragma once

#include <functional>

#include <QStringList>
#include <QWidget>

#include "glass/GlassRenderer.h"

// A preview of the glass: two rows of 20 dot-matrix cells, and optionally
// a row of further cells under them, off the glass. The images are drawn
// when what they show changes and the widget is painted, never per paint;
// the largest dot pitch that fits is taken, and only the cells that changed
// are repainted. It takes no focus: the owner gives it a label and its
// spoken text, which is made only when an assistive tool asks for it.
class GlassView : public QWidget
{
    Q_OBJECT

public:
    explicit GlassView(QWidget *parent = nullptr);

    // What to show; `continuation`, when it has a row, goes under the glass.
    void setGlass(const GlassText::Glass &glass,
                  const GlassText::Glass &continuation = GlassText::Glass());
    void setState(const GlassRenderer::State &state);
    // Printable rows as text, each cell its code (a test screen's rows).
    void setRows(const QStringList &rows);

    // What a screen reader says for it; without a source, the accessible
    // name set on the widget.
    void setSpokenText(std::function<QString()> source);
    QString spokenText() const;

    const GlassText::Glass &glass() const { return m_glass; }
    const GlassText::Glass &continuation() const { return m_continuation; }
    QStringList rows() const { return m_rows; }
    // The picture as painted, at the current size.
    QImage picture();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int rowsShown() const;
    qreal scale() const;
    // The cells that differ between two glasses, where they are painted.
    QRegion changedCells(const GlassText::Glass &before, const GlassText::Glass &after,
                         int top) const;
    void renderIfDirty();

    GlassText::Glass m_glass;
    GlassText::Glass m_continuation;
    GlassRenderer::State m_state;
    QStringList m_rows;
    GlassRenderer m_renderer;
    GlassRenderer m_continuationRenderer;
    bool m_dirty = true;
    std::function<QString()> m_spokenText;
};
