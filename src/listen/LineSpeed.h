#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What a UART set to one speed receives when the other end sends at
// another: both 8 data bits, no parity, one stop bit, the frames back to
// back. At the wrong speed it samples the wrong bits, so few bytes come
// out printable and many frames end without their stop bit.
struct Reframed
{
    QByteArray bytes;
    qsizetype framingErrors = 0; // frames whose stop bit read low; their byte is kept
};

namespace LineSpeed {

Reframed reframe(QByteArrayView sent, int sentBaud, int heardBaud);

// The speeds a till is seen to use, in the order a listen tries them.
inline constexpr int Speeds[] = {9600, 19200};

} // namespace LineSpeed
