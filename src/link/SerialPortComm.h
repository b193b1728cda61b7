#pragma once

#include <QSerialPort>

#include "link/LineSettings.h"
#include "link/MSComm.h"

// The serial component on QSerialPort. The transfers poll it without an
// event loop, so the buffer counts wait briefly on the device to refresh
// what QSerialPort knows.
class SerialPortComm final : public MSComm
{
public:
    SerialPortComm();
    ~SerialPortComm() override;

    SerialPortComm(const SerialPortComm &) = delete;
    SerialPortComm &operator=(const SerialPortComm &) = delete;

    void setCommPort(int number) override;
    void setPortName(const QString &device) override;

    bool setSettings(const QString &settings) override;

    bool setPortOpen(bool open) override;
    bool isPortOpen() const override { return m_port.isOpen(); }

    bool setOutput(QByteArrayView bytes) override;
    int outBufferCount() override;
    int inBufferCount() override;
    int lineQueueCount() override;
    QByteArray input() override;

    bool hasFault() const override { return m_fault; }
    QString errorString() const override { return m_error; }

    // The device that opening would use now: the typed name, else the
    // system's name for the port number.
    QString deviceToOpen() const;

    // How long a buffer count may wait on the device, in milliseconds.
    static constexpr int WriteWaitMs = 2;
    static constexpr int ReadWaitMs = 1;

private:
    bool applyLineSettings();
    QString openFailureReason(const QString &device) const;
    void noteError(QSerialPort::SerialPortError error);
    void noteLineLost();

    QSerialPort m_port;
    int m_number = 0;
    QString m_device;
    QString m_settingsText = QStringLiteral("9600,n,8,1");
    LineSettings m_line;
    bool m_fault = false;
    QString m_error;
};
