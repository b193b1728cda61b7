#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Where a control stands, in twips (1/1440 inch) as the control tables give
// it: left, top, width, height in its container.
struct Twips
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Geometry and naming shared by the window's views: every control is
// created, named from the tables, placed from its twips and then bound.
namespace Controls {

// 15 twips are one pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;

constexpr int px(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

// In its container's pixels. Controls on a tab page are given relative to
// the tab control, whose page starts at `pageOrigin` inside it.
QRect place(const Twips &at, QPoint pageOrigin = QPoint());

// The control's name from the tables becomes its object name and its
// accessible description. The spoken name is only given where Qt's own
// (the caption, or the text of the label the control is a buddy of) says
// too little; it always contains the visible caption.
void identify(QWidget *control, const QString &name, const QString &spokenName = QString());

// An element of a control array, as the tables write it: "L1H(3)".
QString element(const char *array, int index);

// Lets a caption that is a little wider than its table slot show whole.
void widenToFit(QWidget *control);

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &at);
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &at,
                    const QString &spokenName = QString());

} // namespace Controls
