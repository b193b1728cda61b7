#include "link/SerialPortComm.h"

#include <QFileInfo>

#include "link/PortChoice.h"

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>
#endif

SerialPortComm::SerialPortComm()
{
    // Signals are delivered directly from inside the wait calls, so faults
    // are seen without an event loop.
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { noteError(error); });
}

SerialPortComm::~SerialPortComm()
{
    setPortOpen(false);
}

void SerialPortComm::setCommPort(int number)
{
    m_number = number;
}

void SerialPortComm::setPortName(const QString &device)
{
    m_device = device.trimmed();
}

QString SerialPortComm::deviceToOpen() const
{
    return m_device.isEmpty() ? systemPortName(m_number) : m_device;
}

bool SerialPortComm::setSettings(const QString &settings)
{
    const std::optional<LineSettings> parsed = LineSettings::parse(settings);
    if (!parsed) {
        m_error = QStringLiteral("the settings %1 are not valid; they need speed, parity, "
                                 "data bits and stop bits, such as \"9600,n,8,1\".")
                      .arg(quotedForMessage(settings));
        return false;
    }
    m_settingsText = settings;
    m_line = *parsed;
    if (m_port.isOpen() && !applyLineSettings()) {
        m_error = QStringLiteral("the port does not accept the settings %1: %2")
                      .arg(quotedForMessage(settings), m_port.errorString());
        return false;
    }
    return true;
}

bool SerialPortComm::applyLineSettings()
{
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (m_line.parity) {
    case LineSettings::Parity::None:
        parity = QSerialPort::NoParity;
        break;
    case LineSettings::Parity::Even:
        parity = QSerialPort::EvenParity;
        break;
    case LineSettings::Parity::Odd:
        parity = QSerialPort::OddParity;
        break;
    case LineSettings::Parity::Mark:
        parity = QSerialPort::MarkParity;
        break;
    case LineSettings::Parity::Space:
        parity = QSerialPort::SpaceParity;
        break;
    }
    QSerialPort::StopBits stop = QSerialPort::OneStop;
    switch (m_line.stopBits) {
    case LineSettings::StopBits::One:
        stop = QSerialPort::OneStop;
        break;
    case LineSettings::StopBits::OneAndHalf:
        stop = QSerialPort::OneAndHalfStop;
        break;
    case LineSettings::StopBits::Two:
        stop = QSerialPort::TwoStop;
        break;
    }
    return m_port.setBaudRate(m_line.baudRate) && m_port.setParity(parity) &&
           m_port.setDataBits(static_cast<QSerialPort::DataBits>(m_line.dataBits)) &&
           m_port.setStopBits(stop) && m_port.setFlowControl(QSerialPort::NoFlowControl);
}

bool SerialPortComm::setPortOpen(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        return true;
    }
    if (m_port.isOpen())
        return true;

    const QString device = deviceToOpen();
    if (device.isEmpty()) {
        m_error = m_number == 0
                      ? QStringLiteral("no port was chosen; choose \"Com 1\" to \"Com 8\" "
                                       "or type a device name such as /dev/ttyUSB0.")
                      : QStringLiteral("this system has no numbered port %1; type the "
                                       "device name instead.")
                            .arg(m_number);
        return false;
    }

    m_fault = false;
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = openFailureReason(device);
        m_fault = false;
        return false;
    }
    if (!applyLineSettings()) {
        m_error = QStringLiteral("%1 does not accept the settings %2: %3")
                      .arg(device, quotedForMessage(m_settingsText), m_port.errorString());
        m_port.close();
        m_fault = false;
        return false;
    }
    m_port.clearError();
    m_fault = false;
    return true;
}

QString SerialPortComm::openFailureReason(const QString &device) const
{
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("there is no such port (%1).").arg(device);
    case QSerialPort::PermissionError: {
        // Qt reports both a denied device and a busy one this way; the
        // device file's own permissions tell them apart.
        const QFileInfo info(device);
        if (info.exists() && (!info.isReadable() || !info.isWritable()))
            return QStringLiteral("permission denied for %1. Your user may need to be in the "
                                  "dialout group (then log out and in again).")
                .arg(device);
        return QStringLiteral("%1 is in use by another program; close it and try again.")
            .arg(device);
    }
    default:
        return QStringLiteral("%1: %2.").arg(device, m_port.errorString());
    }
}

bool SerialPortComm::setOutput(QByteArrayView bytes)
{
    if (!m_port.isOpen() || m_fault)
        return false;
    return m_port.write(bytes.data(), bytes.size()) == bytes.size();
}

int SerialPortComm::outBufferCount()
{
    if (!m_port.isOpen())
        return 0;
    if (m_port.bytesToWrite() > 0)
        m_port.waitForBytesWritten(WriteWaitMs);
    return static_cast<int>(m_port.bytesToWrite());
}

int SerialPortComm::inBufferCount()
{
    if (!m_port.isOpen())
        return 0;
    m_port.waitForReadyRead(ReadWaitMs);
    return static_cast<int>(m_port.bytesAvailable());
}

int SerialPortComm::lineQueueCount()
{
    if (!m_port.isOpen())
        return 0;
#if defined(Q_OS_WIN)
    DWORD errors = 0;
    COMSTAT status = {};
    if (ClearCommError(m_port.handle(), &errors, &status))
        return static_cast<int>(status.cbOutQue);
    noteLineLost();
    return 0;
#elif defined(Q_OS_UNIX) && defined(TIOCOUTQ)
    int queued = 0;
    if (::ioctl(m_port.handle(), TIOCOUTQ, &queued) == 0)
        return queued;
    // Not a terminal, or a driver without the request: nobody can tell.
    if (errno == ENOTTY || errno == EINVAL)
        return -1;
    // A terminal whose line is gone fails every request (EIO, ENXIO).
    noteLineLost();
    return 0;
#else
    return -1;
#endif
}

QByteArray SerialPortComm::input()
{
    if (!m_port.isOpen())
        return {};
    return m_port.readAll();
}

void SerialPortComm::noteError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
        // A wait that ran out is how polling works, not a fault.
        return;
    case QSerialPort::NotOpenError:
    case QSerialPort::UnsupportedOperationError:
        // Asked of a closed port, or settings the port refuses: the caller
        // gets a failure of its own, the line is fine.
        return;
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
        // Failures of opening are reported by setPortOpen itself.
        if (!m_port.isOpen())
            return;
        break;
    default:
        break;
    }
    // Whatever the system calls it once the port is open (a read or write
    // error, "Inappropriate ioctl for device" after a hang-up), the line
    // has stopped working: the system's own words would not help.
    noteLineLost();
}

void SerialPortComm::noteLineLost()
{
    m_fault = true;
    m_error = lineLostReason();
}
