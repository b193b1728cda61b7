#pragma once

#include <QtGlobal>

#include "link/TickCounter.h"

// A time limit on the wrapping tick counter, the one rule every wait of a
// transfer follows: the limit has passed once `limitMs` milliseconds have
// gone by since the start. Readings are compared in 32-bit two's
// complement, so a wrap of the counter does not matter; a counter that went
// back (a reading before the start) restarts the measurement from there.
class Deadline
{
public:
    Deadline(quint32 start, qint32 limitMs) : m_start(start), m_limitMs(limitMs) {}

    // Whether the reading `now` lies before the start.
    bool wentBack(quint32 now) const { return elapsedTicks(m_start, now) < 0; }
    void restartAt(quint32 now) { m_start = now; }

    // Whether the limit has passed by the reading `now`; a reading before
    // the start restarts the measurement and has not.
    bool passedAt(quint32 now)
    {
        if (wentBack(now)) {
            restartAt(now);
            return false;
        }
        return elapsedTicks(m_start, now) >= m_limitMs;
    }

private:
    quint32 m_start;
    qint32 m_limitMs;
};
