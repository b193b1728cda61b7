#include "link/SerialPortComm.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#endif

namespace {

// Whether `device` may be a serial port: a file, a pipe, a socket or a
// folder never is, and QSerialPort would open some of them and then fail
// in the system's words. What does not exist is left to QSerialPort.
bool isCharacterDevice([[maybe_unused]] const QString &device)
{
#if defined(Q_OS_UNIX)
    struct stat info = {};
    if (::stat(QFile::encodeName(systemLocation(device)).constData(), &info) != 0)
        return true;
    return S_ISCHR(info.st_mode);
#else
    return true;
#endif
}

// The group whose members may read and write the device; empty when none
// but its owner may (a group "root" gives an ordinary user nothing to join).
QString groupThatMayUse(const QFileInfo &info)
{
    const QString group = info.group();
    const bool groupMay = info.permission(QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    return groupMay && group != QLatin1String("root") ? group : QString();
}

} // namespace

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
    m_choice.number = number;
}

void SerialPortComm::setPortName(const QString &device)
{
    m_choice.deviceName = device.trimmed();
}

bool SerialPortComm::setSettings(const QString &settings)
{
    const std::optional<LineSettings> parsed = LineSettings::parse(settings);
    if (!parsed) {
        m_error = {.reason = Error::Reason::SettingsInvalid, .detail = settings};
        return false;
    }
    m_settingsText = settings;
    m_line = *parsed;
    if (m_port.isOpen() && !applyLineSettings()) {
        m_error = {.reason = Error::Reason::SettingsRefused,
                   .detail = settings,
                   .system = m_port.errorString()};
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

    const QString device = m_choice.device();
    if (device.isEmpty()) {
        m_error = m_choice.number == 0
                      ? Error{.reason = Error::Reason::NoPortChosen}
                      : Error{.reason = Error::Reason::NoNumberedPort, .count = m_choice.number};
        return false;
    }

    if (!isCharacterDevice(device)) {
        m_error = {.reason = Error::Reason::NotSerialPort, .device = device};
        return false;
    }
    m_fault = false;
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = openFailure(device);
        m_fault = false;
        return false;
    }
    if (!applyLineSettings()) {
        m_error = {.reason = Error::Reason::SettingsRefused,
                   .device = device,
                   .detail = m_settingsText,
                   .system = m_port.errorString()};
        m_port.close();
        m_fault = false;
        return false;
    }
    m_port.clearError();
    m_fault = false;
    return true;
}

Error SerialPortComm::openFailure(const QString &device) const
{
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return {.reason = Error::Reason::NoSuchPort, .device = device};
    case QSerialPort::PermissionError: {
        // Qt reports both a denied device and a busy one this way; the
        // device file's own permissions tell them apart.
        const QFileInfo info(device);
        if (info.exists() && (!info.isReadable() || !info.isWritable()))
            return {.reason = Error::Reason::PermissionDenied,
                    .device = device,
                    .detail = groupThatMayUse(info),
                    .system = info.owner()};
        return {.reason = Error::Reason::PortBusy, .device = device};
    }
    default:
#if defined(Q_OS_UNIX)
        // A device that is no terminal (/dev/null) fails the first terminal
        // request.
        if (m_port.errorString() == QString::fromLocal8Bit(std::strerror(ENOTTY)))
            return {.reason = Error::Reason::NotSerialPort, .device = device};
#endif
        return {
            .reason = Error::Reason::OpenFailed, .device = device, .system = m_port.errorString()};
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
    m_error = {.reason = Error::Reason::LineLost};
}
