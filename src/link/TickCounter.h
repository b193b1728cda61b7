#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// A millisecond counter that wraps around at 2^32, like the system tick
// count. A seam: tests put in a counter they drive, started near its maximum.
class TickCounter
{
public:
    virtual ~TickCounter() = default;
    virtual quint32 GetTickCount() = 0;
};

// Elapsed milliseconds between two readings, in 32-bit two's complement: a
// wrap of the counter between them does not matter.
constexpr qint32 elapsedTicks(quint32 start, quint32 now)
{
    return static_cast<qint32>(now - start);
}

// The real counter: the system's own on Windows; elsewhere milliseconds of a
// monotonic clock, cut to 32 bits.
class SystemTickCounter final : public TickCounter
{
public:
    SystemTickCounter() { m_clock.start(); }
    quint32 GetTickCount() override;

private:
    QElapsedTimer m_clock;
};
