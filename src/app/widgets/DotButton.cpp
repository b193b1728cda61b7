#include "app/widgets/DotButton.h"

#include <QPainter>

DotButton::DotButton(QWidget *parent) : QPushButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
}

QColor DotButton::fillColor() const
{
    return palette().color(isChecked() ? QPalette::WindowText : QPalette::Button);
}

void DotButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), fillColor());
    // A frame in a mid tone stays visible against both fill colours.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box);

    if (hasFocus()) {
        // A ring in the highlight colour and, inside it, one in the other
        // dot colour: the focus shows on a lit and on a dark dot alike.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        painter.setPen(palette().color(isChecked() ? QPalette::Button : QPalette::WindowText));
        painter.drawRect(box.adjusted(3, 3, -3, -3));
    }
}
