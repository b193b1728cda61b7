#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "link/Deadline.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"
#include "link/TickCounter.h"
#include "model/Result.h"

// Takes what a till sends on a port for a while, without ever writing a
// byte: the cable that normally goes to the display goes to the PC. The
// capture is bounded in size and time; a port that goes away ends it with
// what was heard. Driven by polling, so the window and tq540ctl share it.
class Listener
{
public:
    // 1 MiB: a till at 19200 baud sends that in about nine minutes.
    static constexpr qsizetype CaptureLimit = 1024 * 1024;
    static constexpr int LongestSeconds = 600;

    enum class End {
        Listening,
        TimeUp,
        Full,     // CaptureLimit reached
        LineLost, // the port went away; the capture holds what came before
        Stopped,  // asked to stop
    };

    Listener(MSComm &comm, TickCounter &ticks) : m_comm(comm), m_ticks(ticks) {}
    ~Listener() { finish(End::Stopped); }
    Listener(const Listener &) = delete;
    Listener &operator=(const Listener &) = delete;

    // Opens the port with `settings` ("9600,n,8,1") for `seconds`, 1 up to
    // LongestSeconds. The port stays closed when it cannot be used.
    Result<void> start(const PortChoice &port, const QString &settings, int seconds);

    // Takes what arrived; returns false once the listen has ended.
    bool poll();
    void stop() { finish(End::Stopped); }

    End end() const { return m_end; }
    const QByteArray &capture() const { return m_capture; }
    qint32 msLeft() const;
    // Why the line went, after End::LineLost.
    const Error &lineError() const { return m_lineError; }

private:
    void finish(End end);

    MSComm &m_comm;
    TickCounter &m_ticks;
    std::optional<Deadline> m_deadline;
    qint32 m_limitMs = 0;
    quint32 m_startTick = 0;
    End m_end = End::Stopped;
    QByteArray m_capture;
    Error m_lineError;
};
