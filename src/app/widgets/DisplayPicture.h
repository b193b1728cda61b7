#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

// The colours of a vacuum-fluorescent display's glass and its characters.
namespace DisplayLook {
inline const QColor Glass(0x06, 0x1c, 0x1a);
inline const QColor Glow(0x40, 0xf0, 0xc8, 90);
inline const QColor Lit(0x7a, 0xff, 0xde);
} // namespace DisplayLook

// A drawing of a two-line pole display: decoration only.
class DisplayPicture : public QWidget
{
    Q_OBJECT

public:
    explicit DisplayPicture(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The glass alone, 2 x 20 cells in a fixed pitch: what a display shows,
// drawn in the look of the picture.
class GlassPreview : public QWidget
{
    Q_OBJECT

public:
    explicit GlassPreview(QWidget *parent = nullptr);

    void setRows(const QStringList &rows);
    QStringList rows() const { return m_rows; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList m_rows;
};
