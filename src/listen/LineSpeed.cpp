#include "listen/LineSpeed.h"

namespace {

constexpr int FrameBits = 10; // start, 8 data, stop

// The sender's line level at time t, in units that make both bit times
// whole numbers: a sent bit lasts `sentBit` units.
class Line
{
public:
    Line(QByteArrayView sent, qint64 sentBit) : m_sent(sent), m_sentBit(sentBit) {}

    bool high(qint64 t) const
    {
        const qint64 bit = t / m_sentBit;
        if (t < 0 || bit >= qint64(m_sent.size()) * FrameBits)
            return true; // idle
        const qint64 inFrame = bit % FrameBits;
        if (inFrame == 0)
            return false; // start bit
        if (inFrame == FrameBits - 1)
            return true; // stop bit
        return (quint8(m_sent[bit / FrameBits]) >> (inFrame - 1)) & 1u;
    }

    qint64 end() const { return qint64(m_sent.size()) * FrameBits * m_sentBit; }

private:
    QByteArrayView m_sent;
    qint64 m_sentBit;
};

} // namespace

namespace LineSpeed {

Reframed reframe(QByteArrayView sent, int sentBaud, int heardBaud)
{
    // One unit is 1 / (sentBaud * heardBaud * 32) s: a heard bit is
    // sentBaud * 32 units and a UART's sixteenth of it whole.
    const qint64 sentBit = qint64(heardBaud) * 32, heardBit = qint64(sentBaud) * 32;
    const qint64 step = heardBit / 16;
    const Line line(sent, sentBit);
    Reframed heard;
    for (qint64 t = 0; t < line.end();) {
        if (line.high(t)) { // hunting for a start bit
            t += step;
            continue;
        }
        if (line.high(t + heardBit / 2)) { // a glitch, not a start bit
            t += step;
            continue;
        }
        quint8 byte = 0;
        for (int k = 0; k < 8; ++k) {
            if (line.high(t + heardBit * (k + 1) + heardBit / 2))
                byte |= quint8(1u << k);
        }
        const qint64 stopAt = t + heardBit * 9 + heardBit / 2;
        if (!line.high(stopAt))
            ++heard.framingErrors;
        heard.bytes.append(char(byte));
        t = stopAt + step;
    }
    return heard;
}

} // namespace LineSpeed
