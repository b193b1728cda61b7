#include "SimLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyLine::PtyLine()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        fail(QStringLiteral("posix_openpt"));
        return;
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        fail(QStringLiteral("grantpt/unlockpt"));
        return;
    }
    const char *slaveName = ptsname(m_master);
    if (!slaveName) {
        fail(QStringLiteral("ptsname"));
        return;
    }
    m_name = QString::fromLocal8Bit(slaveName);
    m_slave = ::open(slaveName, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        fail(m_name);
        return;
    }
    // Raw from the start: stale bytes and replies must not be echoed or
    // translated before the utility sets its own mode.
    termios mode{};
    tcgetattr(m_slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(m_slave, TCSANOW, &mode);
}

PtyLine::~PtyLine()
{
    hangUp();
}

void PtyLine::fail(const QString &what)
{
    m_error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
    hangUp();
}

void PtyLine::hangUp()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
    m_broken = true;
}

QByteArray PtyLine::read(int timeoutMs)
{
    if (m_master < 0)
        return {};
    pollfd watch{m_master, POLLIN, 0};
    const int ready = ::poll(&watch, 1, timeoutMs);
    if (ready <= 0)
        return {};
    char buffer[512];
    const ssize_t got = ::read(m_master, buffer, sizeof buffer);
    if (got < 0) {
        if (errno != EAGAIN && errno != EINTR)
            fail(QStringLiteral("read"));
        return {};
    }
    return QByteArray(buffer, got);
}

bool PtyLine::write(QByteArrayView bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t put =
            ::write(m_master, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail(QStringLiteral("write"));
            return false;
        }
        done += put;
    }
    return m_master >= 0;
}

DeviceLine::DeviceLine(const QString &device, int baudRate) : m_name(device)
{
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = QStringLiteral("%1: %2").arg(device, m_port.errorString());
        return;
    }
    // The display speaks eight data bits, no parity, one stop bit.
    if (!m_port.setBaudRate(baudRate) || !m_port.setDataBits(QSerialPort::Data8) ||
        !m_port.setParity(QSerialPort::NoParity) || !m_port.setStopBits(QSerialPort::OneStop) ||
        !m_port.setFlowControl(QSerialPort::NoFlowControl)) {
        m_error = QStringLiteral("%1: %2").arg(device, m_port.errorString());
        m_port.close();
    }
}

QByteArray DeviceLine::read(int timeoutMs)
{
    if (!m_port.isOpen())
        return {};
    if (m_port.bytesAvailable() == 0)
        m_port.waitForReadyRead(timeoutMs);
    return m_port.readAll();
}

bool DeviceLine::write(QByteArrayView bytes)
{
    if (!m_port.isOpen() || m_port.write(bytes.data(), bytes.size()) != bytes.size())
        return false;
    while (m_port.bytesToWrite() > 0)
        if (!m_port.waitForBytesWritten(1000))
            return false;
    return true;
}

bool DeviceLine::isBroken() const
{
    if (!m_port.isOpen())
        return true;
    const QSerialPort::SerialPortError error = m_port.error();
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
}
