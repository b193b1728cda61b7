#pragma once

// How the screen tests write what a till sends, a row, and what was reported.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "screen/ScreenInterpreter.h"

// Bytes written as hex pairs and 'quoted text': "1B 40 'AB' 0D".
inline QByteArray bytes(const QString &notation)
{
    QByteArray out;
    QString hex;
    for (qsizetype k = 0; k < notation.size(); ++k) {
        if (notation.at(k) == QLatin1Char('\'')) {
            const qsizetype end = notation.indexOf(QLatin1Char('\''), k + 1);
            out.append(notation.mid(k + 1, end - k - 1).toLatin1());
            k = end;
        } else if (notation.at(k) != QLatin1Char(' ')) {
            hex.append(notation.at(k));
            if (hex.size() == 2) {
                out.append(char(hex.toInt(nullptr, 16)));
                hex.clear();
            }
        }
    }
    return out;
}

inline QString row(const QString &text)
{
    return text.leftJustified(20);
}

inline QString unknownText(const ScreenInterpreter::Unknown &unknown)
{
    QStringList parts;
    for (const QByteArray &sequence : unknown.sequences)
        parts << QString::fromLatin1(sequence.toHex(' '));
    return parts.join(QLatin1Char('|'));
}
