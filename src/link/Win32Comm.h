#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "link/LineSettings.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"

// The serial component on the plain Win32 calls, for Windows, where Qt Serial
// Port is not used. Every call is synchronous: writes go to the driver at
// once, reads take what has arrived and never wait, and the two buffer counts
// are the driver's own (ClearCommError). No overlapped I/O, so it behaves the
// same on every Windows and under Wine.
class Win32Comm final : public MSComm
{
public:
    Win32Comm() = default;
    ~Win32Comm() override;

    Win32Comm(const Win32Comm &) = delete;
    Win32Comm &operator=(const Win32Comm &) = delete;

    void setCommPort(int number) override { m_choice.number = number; }
    void setPortName(const QString &device) override { m_choice.deviceName = device.trimmed(); }

    bool setSettings(const QString &settings) override;

    bool setPortOpen(bool open) override;
    bool isPortOpen() const override { return m_handle != nullptr; }

    bool setOutput(QByteArrayView bytes) override;
    int outBufferCount() override;
    int inBufferCount() override;
    int lineQueueCount() override;
    QByteArray input() override;

    bool hasFault() const override { return m_fault; }
    Error error() const override { return m_error; }

    // How long an empty receive count waits before it answers, so that the
    // transfers' polling does not spin, in milliseconds.
    static constexpr int ReadWaitMs = 1;

    // The path CreateFileW opens for a device name: "COM12" and "com12"
    // become \\.\COM12, a name that is already a device path stays.
    static QString devicePath(const QString &device);

private:
    bool applyLineSettings(QString *systemError);
    void close();
    // The driver's two queues; nothing when the line is gone.
    struct Queues
    {
        int received = 0;
        int unsent = 0;
    };
    std::optional<Queues> queues();
    void noteLineLost();

    void *m_handle = nullptr; // a HANDLE, null when closed
    PortChoice m_choice;
    QString m_settingsText = QStringLiteral("9600,n,8,1");
    LineSettings m_line;
    QByteArray m_unsent; // taken by setOutput, not yet taken by the driver
    bool m_fault = false;
    Error m_error;
};
