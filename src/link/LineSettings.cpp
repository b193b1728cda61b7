#include "link/LineSettings.h"

#include <QList>

std::optional<LineSettings> LineSettings::parse(QStringView text)
{
    const QList<QStringView> parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;

    LineSettings result;

    const QStringView speed = parts[0].trimmed();
    bool ok = false;
    result.baudRate = speed.toInt(&ok);
    // toInt accepts a sign; a speed is digits only.
    if (!ok || result.baudRate <= 0 || speed.startsWith(u'+'))
        return std::nullopt;

    const QStringView parity = parts[1].trimmed();
    if (parity.size() != 1)
        return std::nullopt;
    switch (parity.front().toLower().unicode()) {
    case 'n':
        result.parity = Parity::None;
        break;
    case 'e':
        result.parity = Parity::Even;
        break;
    case 'o':
        result.parity = Parity::Odd;
        break;
    case 'm':
        result.parity = Parity::Mark;
        break;
    case 's':
        result.parity = Parity::Space;
        break;
    default:
        return std::nullopt;
    }

    const QStringView data = parts[2].trimmed();
    result.dataBits = data.toInt(&ok);
    if (!ok || data.size() != 1 || result.dataBits < 5 || result.dataBits > 8)
        return std::nullopt;

    const QStringView stop = parts[3].trimmed();
    if (stop == u"1")
        result.stopBits = StopBits::One;
#if defined(Q_OS_WIN)
    // Only Windows' serial layer can set one and a half stop bits; elsewhere
    // the line would quietly use one.
    else if (stop == u"1.5")
        result.stopBits = StopBits::OneAndHalf;
#endif
    else if (stop == u"2")
        result.stopBits = StopBits::Two;
    else
        return std::nullopt;

    return result;
}

int LineSettings::bitsPerFrame() const
{
    const int parityBits = parity == Parity::None ? 0 : 1;
    const int stop = stopBits == StopBits::One ? 1 : 2;
    return 1 + dataBits + parityBits + stop;
}

qint32 LineSettings::lineTimeMs(int bytes) const
{
    const qint64 bits = qint64(qMax(bytes, 0)) * bitsPerFrame() * 1000;
    return static_cast<qint32>(qMin<qint64>((bits + baudRate - 1) / baudRate, 1 << 30));
}
