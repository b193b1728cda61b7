#include "model/HexText.h"

namespace HexText {

std::optional<quint8> digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return static_cast<quint8>(u - u'0');
    if (u >= u'A' && u <= u'F')
        return static_cast<quint8>(u - u'A' + 10);
    if (u >= u'a' && u <= u'f')
        return static_cast<quint8>(u - u'a' + 10);
    return std::nullopt;
}

quint8 StrToDec(QStringView text)
{
    // Exactly one character can be a digit; anything longer, shorter or
    // outside the two letter ranges counts 0.
    if (text.size() != 1)
        return 0;
    return digitValue(text.front()).value_or(0);
}

quint8 decodePair(QStringView high, QStringView low)
{
    return static_cast<quint8>(16 * StrToDec(high) + StrToDec(low));
}

QString hexPair(quint8 byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString hexCompact(quint8 byte)
{
    return QString::number(byte, 16).toUpper();
}

} // namespace HexText
