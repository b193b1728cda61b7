#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "FakeTicks.h"
#include "link/LineSettings.h"
#include "link/MSComm.h"

// A serial component that tests script. It keeps the contract of MSComm (a
// contract test runs it beside the real component), records every byte
// written and every property set, and delivers a scripted reply: each chunk
// becomes readable once the tick counter has passed the chunk's time,
// counted from the moment the request's last byte was queued. Written bytes
// leave the line at the speed of the settings, by the tick counter.
class FakeComm final : public MSComm
{
public:
    struct Chunk
    {
        quint32 afterMs = 0;
        QByteArray bytes;
    };

    explicit FakeComm(FakeTicks *ticks = nullptr) : m_ticks(ticks) {}

    // --- script ---------------------------------------------------------
    QByteArray staleInput; // waiting in the receive buffer when opened
    QList<Chunk> reply;    // delivered after the request is sent
    int requestLength = 2; // bytes written before the reply clock starts
    bool refuseOpen = false;
    bool refuseSettings = false;
    int drainAfterPolls = 0;      // polls of outBufferCount before it reads 0
    bool neverDrain = false;      // the output buffer never empties
    bool lineNeverDrains = false; // the system's queue never empties
    bool lineCannotTell = false;  // the system's queue count is unknown (-1)
    int faultAfterBytes = -1;     // the device reports an error after N bytes
    int faultAfterMs = -1;        // ... N ms after the request's last byte
    QString failureReason = QStringLiteral("scripted failure");

    // Bytes arrive from the line now; while closed they wait for the next
    // opening, as in the system's buffer.
    void receive(const QByteArray &bytes) { (m_open ? m_inbox : m_arrivedClosed).append(bytes); }
    // The line goes away (a cable pulled).
    void dropLine()
    {
        if (!m_open)
            return;
        m_fault = true;
        m_error = {.reason = Error::Reason::LineLost};
    }

    // --- record ---------------------------------------------------------
    QByteArray written;
    QList<QString> calls; // "CommPort=3", "Settings=...", "Open", "Close", "Input"
    int opens = 0;

    // --- MSComm ---------------------------------------------------------
    void setCommPort(int number) override
    {
        m_port = number;
        calls << QStringLiteral("CommPort=%1").arg(number);
    }
    void setPortName(const QString &device) override
    {
        m_device = device;
        calls << QStringLiteral("PortName=%1").arg(device);
    }
    bool setSettings(const QString &settings) override
    {
        calls << QStringLiteral("Settings=%1").arg(settings);
        const std::optional<LineSettings> parsed = LineSettings::parse(settings);
        if (refuseSettings || !parsed) {
            m_error = refuseSettings
                          ? Error{.reason = Error::Reason::SettingsRefused,
                                  .detail = settings,
                                  .system = failureReason}
                          : Error{.reason = Error::Reason::SettingsInvalid, .detail = settings};
            return false;
        }
        m_line = *parsed;
        return true;
    }
    bool setPortOpen(bool open) override
    {
        if (!open) {
            if (m_open)
                calls << QStringLiteral("Close");
            m_open = false;
            m_inbox.clear();
            return true;
        }
        calls << QStringLiteral("Open");
        if (m_port == 0 && m_device.isEmpty()) {
            m_error = {.reason = Error::Reason::NoPortChosen};
            return false;
        }
        if (refuseOpen) {
            m_error = {.reason = Error::Reason::OpenFailed,
                       .device =
                           m_device.isEmpty() ? QStringLiteral("port %1").arg(m_port) : m_device,
                       .system = failureReason};
            return false;
        }
        m_open = true;
        ++opens;
        m_fault = false;
        m_inbox = staleInput + m_arrivedClosed;
        m_arrivedClosed.clear();
        m_replyStarted.reset();
        m_delivered = 0;
        m_openedAt = now();
        m_lineBusyUs = 0;
        m_queuedSinceOpen = 0;
        return true;
    }
    bool isPortOpen() const override { return m_open; }
    bool setOutput(QByteArrayView bytes) override
    {
        if (!m_open || hasFault())
            return false;
        written.append(bytes.toByteArray());
        m_pendingPolls = drainAfterPolls;
        m_lineBusyUs = qMax(m_lineBusyUs, sinceOpenUs()) + bytes.size() * byteUs();
        m_queuedSinceOpen += static_cast<int>(bytes.size());
        if (faultAfterBytes >= 0 && written.size() >= faultAfterBytes) {
            m_fault = true;
            m_error = scriptedFault();
        }
        if (written.size() >= requestLength && !m_replyStarted && m_ticks)
            m_replyStarted = m_ticks->now();
        return true;
    }
    int outBufferCount() override
    {
        if (!m_open)
            return 0;
        if (neverDrain)
            return 1;
        if (m_pendingPolls > 0) {
            --m_pendingPolls;
            return 1;
        }
        return 0;
    }
    int lineQueueCount() override
    {
        if (!m_open)
            return 0;
        if (lineCannotTell)
            return -1;
        if (lineNeverDrains)
            return m_queuedSinceOpen;
        const qint64 left = m_lineBusyUs - sinceOpenUs();
        return left > 0 ? static_cast<int>((left + byteUs() - 1) / byteUs()) : 0;
    }
    int inBufferCount() override
    {
        deliver();
        return static_cast<int>(m_inbox.size());
    }
    QByteArray input() override
    {
        if (!m_open)
            return {};
        deliver();
        calls << QStringLiteral("Input");
        QByteArray all;
        all.swap(m_inbox);
        return all;
    }
    bool hasFault() const override { return m_fault || faultOnTime(); }
    Error error() const override { return faultOnTime() ? scriptedFault() : m_error; }

private:
    Error scriptedFault() const
    {
        return {.reason = Error::Reason::DeviceFailed, .system = failureReason};
    }

    quint32 now() const { return m_ticks ? m_ticks->now() : 0; }
    qint64 sinceOpenUs() const { return qint64(elapsedTicks(m_openedAt, now())) * 1000; }
    qint64 byteUs() const
    {
        return qMax<qint64>(1, qint64(m_line.bitsPerFrame()) * 1000000 / m_line.baudRate);
    }

    bool faultOnTime() const
    {
        return !m_fault && faultAfterMs >= 0 && m_replyStarted &&
               elapsedTicks(*m_replyStarted, now()) >= faultAfterMs;
    }

    void deliver()
    {
        if (!m_open || !m_replyStarted || !m_ticks)
            return;
        const quint32 at = now(); // looking does not move the clock
        while (m_delivered < reply.size() && elapsedTicks(*m_replyStarted, at) >=
                                                 static_cast<qint32>(reply[m_delivered].afterMs)) {
            m_inbox.append(reply[m_delivered].bytes);
            ++m_delivered;
        }
    }

    FakeTicks *m_ticks;
    int m_port = 0;
    QString m_device;
    LineSettings m_line;
    bool m_open = false;
    bool m_fault = false;
    Error m_error;
    QByteArray m_inbox;
    QByteArray m_arrivedClosed;
    std::optional<quint32> m_replyStarted;
    qsizetype m_delivered = 0;
    int m_pendingPolls = 0;
    quint32 m_openedAt = 0;
    qint64 m_lineBusyUs = 0; // when, after opening, the line has sent all
    int m_queuedSinceOpen = 0;
};
