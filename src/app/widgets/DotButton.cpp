#include "app/widgets/DotButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

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
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = box.adjusted(3, 3, -3, -3);
        option.backgroundColor = fillColor();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
