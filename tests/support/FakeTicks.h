#pragma once

#include "link/TickCounter.h"

// A tick counter that tests drive: every reading advances it by `step`
// milliseconds, and it can be started anywhere, near its wrap included.
class FakeTicks final : public TickCounter
{
public:
    explicit FakeTicks(quint32 start = 0, quint32 step = 1) : m_now(start), m_step(step) {}

    quint32 GetTickCount() override
    {
        const quint32 reading = m_now;
        m_now += m_step;
        ++m_readings;
        return reading;
    }

    quint32 now() const { return m_now; }
    void advance(quint32 ms) { m_now += ms; }
    void setStep(quint32 step) { m_step = step; }
    int readings() const { return m_readings; }

private:
    quint32 m_now;
    quint32 m_step;
    int m_readings = 0;
};
