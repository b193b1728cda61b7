#pragma once

#include <QImage>
#include <QStringList>

#include "glass/GlassRenderer.h"

// The dots of one cell of a glass picture: seven rows of five, '#' lit, top
// row first, joined by '/'. `litColour` gets the colour of a lit dot.
inline QString glassDots(const QImage &picture, const GlassRenderer &geometry, int row, int column,
                         QRgb *litColour = nullptr)
{
    QStringList rows;
    for (int dotRow = 0; dotRow < ImageLayout::GlyphRows; ++dotRow) {
        QString text;
        for (int dotColumn = 0; dotColumn < ImageLayout::GlyphColumns; ++dotColumn) {
            const QRgb pixel = picture.pixel(geometry.dotCentre(row, column, dotColumn, dotRow));
            const bool lit =
                qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) != GlassLook::Unlit.rgb();
            if (lit && litColour)
                *litColour = pixel;
            text += lit ? QLatin1Char('#') : QLatin1Char('.');
        }
        rows << text;
    }
    return rows.join(QLatin1Char('/'));
}
