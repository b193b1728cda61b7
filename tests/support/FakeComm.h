#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "FakeTicks.h"
#include "link/MSComm.h"

// A serial component that tests script. It records every byte written and
// every property set, and delivers a scripted reply: each chunk becomes
// readable once the tick counter has passed the chunk's time, counted from
// the moment the request's last byte was queued.
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
    int drainAfterPolls = 0;  // polls of outBufferCount before it reads 0
    bool neverDrain = false;  // the output buffer never empties
    int faultAfterBytes = -1; // the device reports an error after N bytes
    QString failureReason = QStringLiteral("scripted failure");

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
        if (refuseSettings) {
            m_error = failureReason;
            return false;
        }
        return true;
    }
    bool setPortOpen(bool open) override
    {
        if (!open) {
            if (m_open)
                calls << QStringLiteral("Close");
            m_open = false;
            return true;
        }
        calls << QStringLiteral("Open");
        if (refuseOpen || (m_port == 0 && m_device.isEmpty())) {
            m_error = failureReason;
            return false;
        }
        m_open = true;
        ++opens;
        m_inbox = staleInput;
        m_replyStarted.reset();
        m_delivered = 0;
        return true;
    }
    bool isPortOpen() const override { return m_open; }
    bool setOutput(QByteArrayView bytes) override
    {
        if (!m_open)
            return false;
        written.append(bytes.toByteArray());
        m_pendingPolls = drainAfterPolls;
        if (faultAfterBytes >= 0 && written.size() >= faultAfterBytes) {
            m_fault = true;
            m_error = failureReason;
        }
        if (written.size() >= requestLength && !m_replyStarted && m_ticks)
            m_replyStarted = m_ticks->now();
        return true;
    }
    int outBufferCount() override
    {
        if (neverDrain)
            return 1;
        if (m_pendingPolls > 0) {
            --m_pendingPolls;
            return 1;
        }
        return 0;
    }
    int inBufferCount() override
    {
        deliver();
        return static_cast<int>(m_inbox.size());
    }
    QByteArray input() override
    {
        deliver();
        calls << QStringLiteral("Input");
        QByteArray all;
        all.swap(m_inbox);
        return all;
    }
    bool hasFault() const override { return m_fault; }
    QString errorString() const override { return m_error; }

private:
    void deliver()
    {
        if (!m_open || !m_replyStarted || !m_ticks)
            return;
        const quint32 now = m_ticks->now(); // looking does not move the clock
        while (m_delivered < reply.size() && elapsedTicks(*m_replyStarted, now) >=
                                                 static_cast<qint32>(reply[m_delivered].afterMs)) {
            m_inbox.append(reply[m_delivered].bytes);
            ++m_delivered;
        }
    }

    FakeTicks *m_ticks;
    int m_port = 0;
    QString m_device;
    bool m_open = false;
    bool m_fault = false;
    QString m_error;
    QByteArray m_inbox;
    std::optional<quint32> m_replyStarted;
    qsizetype m_delivered = 0;
    int m_pendingPolls = 0;
};
