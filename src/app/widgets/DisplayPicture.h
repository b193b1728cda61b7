#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

#include "glass/GlassRenderer.h"

// The colours of a vacuum-fluorescent display's glass and its characters.
namespace DisplayLook {
inline const QColor Glass = GlassLook::Glass;
inline const QColor Glow = GlassLook::Glow;
inline const QColor Lit = GlassLook::Lit;
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
