#pragma once

#include <QSerialPort>

#include "link/LineSettings.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"
#include "model/OptionLists.h"

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
    Error error() const override { return m_error; }

    // How long a buffer count may wait on the device, in milliseconds.
    static constexpr int WriteWaitMs = 2;
    static constexpr int ReadWaitMs = 1;

private:
    bool applyLineSettings();
    Error openFailure(const QString &device) const;
    void noteError(QSerialPort::SerialPortError error);
    void noteLineLost();

    QSerialPort m_port;
    PortChoice m_choice;
    QString m_settingsText = OptionLists::linkSettings().at(OptionLists::DefaultLinkSettings);
    LineSettings m_line;
    bool m_fault = false;
    Error m_error;
};
