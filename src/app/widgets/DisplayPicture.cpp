#include "app/widgets/DisplayPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

DisplayPicture::DisplayPicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void DisplayPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // Everything is laid out on a 100 x 100 grid and scaled to the widget.
    painter.scale(width() / 100.0, height() / 100.0);

    // Foot and pole.
    QLinearGradient metal(44, 0, 56, 0);
    metal.setColorAt(0.0, QColor(0x70, 0x74, 0x7a));
    metal.setColorAt(0.5, QColor(0xd8, 0xdc, 0xe0));
    metal.setColorAt(1.0, QColor(0x60, 0x64, 0x6a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x42, 0x46));
    painter.drawEllipse(QRectF(26, 88, 48, 10));
    painter.setBrush(metal);
    painter.drawRect(QRectF(45, 44, 10, 49));

    // Housing of the display head.
    QPainterPath housing;
    housing.addRoundedRect(QRectF(3, 8, 94, 40), 6, 6);
    QLinearGradient shell(0, 8, 0, 48);
    shell.setColorAt(0.0, QColor(0x4a, 0x4e, 0x55));
    shell.setColorAt(1.0, QColor(0x1e, 0x20, 0x24));
    painter.setBrush(shell);
    painter.setPen(QPen(QColor(0x10, 0x10, 0x12), 0.8));
    painter.drawPath(housing);

    // The glass with its two lines of glowing characters.
    const QRectF glass(9, 14, 82, 28);
    painter.setPen(Qt::NoPen);
    painter.setBrush(DisplayLook::Glass);
    painter.drawRoundedRect(glass, 2, 2);

    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setBold(true);
    font.setPixelSize(9);
    painter.setFont(font);
    const QColor &glow = DisplayLook::Glow;
    const QColor &lit = DisplayLook::Lit;
    const QRectF line1(glass.left(), glass.top() + 2, glass.width(), 12);
    const QRectF line2(glass.left(), glass.top() + 14, glass.width(), 12);
    for (const auto &[rect, text] : {std::pair{line1, QStringLiteral("TQ-540")},
                                     std::pair{line2, QStringLiteral("THANK YOU")}}) {
        painter.setPen(glow);
        painter.drawText(rect.translated(0.4, 0.4), Qt::AlignCenter, text);
        painter.setPen(lit);
        painter.drawText(rect, Qt::AlignCenter, text);
    }
}
