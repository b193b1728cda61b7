#pragma once

#include <QList>
#include <QString>

// A serial port the system reports.
struct DetectedPort
{
    QString device{};       // what a transfer opens: "/dev/ttyUSB0", "COM12"
    QString description{};  // the system's words for it, may be empty
    QString manufacturer{}; // where the system knows them
    QString serialNumber{};
    QString usb{}; // "vendor:product" in hex for a USB adapter, else empty
};

// Which serial ports the system has. A seam: tests list ports of their own.
class PortEnumerator
{
public:
    virtual ~PortEnumerator() = default;
    virtual QList<DetectedPort> ports() const = 0;
};

// The ports the system reports: on Windows its list of serial ports in the
// registry (HARDWARE\DEVICEMAP\SERIALCOMM), elsewhere what QSerialPortInfo
// finds, in its order.
class SystemPortEnumerator final : public PortEnumerator
{
public:
    QList<DetectedPort> ports() const override;
};

// The ports of a SERIALCOMM key: each value is a port's name ("COM3"), its
// value name the driver's device ("\Device\Serial0"). Ordered by number, so
// that COM2 comes before COM10; values that name no port are left out.
struct DeviceMapEntry
{
    QString driverDevice;
    QString port;
};
QList<DetectedPort> portsOfDeviceMap(const QList<DeviceMapEntry> &entries);
