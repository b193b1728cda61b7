#pragma once

#include <QList>
#include <QString>

// A serial port the system reports.
struct DetectedPort
{
    QString device;      // what a transfer opens: "/dev/ttyUSB0", "COM12"
    QString description; // the system's words for it, may be empty
};

// Which serial ports the system has. A seam: tests list ports of their own.
class PortEnumerator
{
public:
    virtual ~PortEnumerator() = default;
    virtual QList<DetectedPort> ports() const = 0;
};

// The ports QSerialPortInfo reports, in its order.
class SystemPortEnumerator final : public PortEnumerator
{
public:
    QList<DetectedPort> ports() const override;
};
