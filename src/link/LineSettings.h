#pragma once

#include <optional>

#include <QStringView>
#include <QtGlobal>

// A settings text such as "9600,n,8,1": speed, parity letter, data bits and
// stop bits, separated by commas.
struct LineSettings
{
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    int baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    bool operator==(const LineSettings &) const = default;

    // Bits on the line for one byte: start, data, parity and stop bits
    // (one and a half counted as two).
    int bitsPerFrame() const;
    // Milliseconds the line needs to carry `bytes` bytes, rounded up.
    qint32 lineTimeMs(int bytes) const;

    // Nothing when the text does not parse (unknown parity letter, data bits
    // outside 5..8, stop bits other than 1, 1.5 and 2, a speed that is not a
    // positive number) or asks what this system's serial layer cannot set
    // (1.5 stop bits outside Windows).
    static std::optional<LineSettings> parse(QStringView text);
};
