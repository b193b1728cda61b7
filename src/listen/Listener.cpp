#include "listen/Listener.h"

#include <algorithm>

Result<void> Listener::start(const PortChoice &port, const QString &settings, int seconds)
{
    finish(End::Stopped);
    m_capture.clear();
    const auto refused = [&](Error error) {
        error.stage = Error::Stage::Opening;
        error.subject = port.shownText;
        return error;
    };
    if (!port.isChosen())
        return refused({.reason = Error::Reason::NoPortChosen});
    m_comm.setCommPort(port.number);
    m_comm.setPortName(port.deviceName);
    if (!m_comm.setSettings(settings) || !m_comm.setPortOpen(true)) {
        const Error error = m_comm.error();
        m_comm.setPortOpen(false);
        return refused(error);
    }
    // Bytes that waited in the system's buffer belong to the capture too:
    // they came from the same till.
    m_limitMs = std::clamp(seconds, 1, LongestSeconds) * 1000;
    m_startTick = m_ticks.GetTickCount();
    m_deadline.emplace(m_startTick, m_limitMs);
    m_end = End::Listening;
    return {};
}

bool Listener::poll()
{
    if (m_end != End::Listening)
        return false;
    if (m_comm.inBufferCount() > 0) {
        const QByteArray bytes = m_comm.input();
        m_capture.append(bytes.left(CaptureLimit - m_capture.size()));
        if (m_capture.size() >= CaptureLimit) {
            finish(End::Full);
            return false;
        }
    }
    if (m_comm.hasFault()) {
        m_lineError = m_comm.error();
        finish(End::LineLost);
        return false;
    }
    if (m_deadline->passedAt(m_ticks.GetTickCount())) {
        finish(End::TimeUp);
        return false;
    }
    return true;
}

qint32 Listener::msLeft() const
{
    if (m_end != End::Listening)
        return 0;
    const qint32 gone = elapsedTicks(m_startTick, m_ticks.GetTickCount());
    return std::clamp(m_limitMs - gone, 0, m_limitMs);
}

void Listener::finish(End end)
{
    if (m_end != End::Listening)
        return;
    m_end = end;
    m_comm.setPortOpen(false);
}
