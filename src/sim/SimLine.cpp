#include "SimLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

#include <QFile>
#include <QFileInfo>

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

std::optional<int> PtyLine::speedSet() const
{
    termios mode{};
    if (m_slave < 0 || tcgetattr(m_slave, &mode) != 0)
        return std::nullopt;
    static constexpr std::pair<speed_t, int> Speeds[] = {
        {B300, 300},     {B600, 600},       {B1200, 1200},    {B2400, 2400},
        {B4800, 4800},   {B9600, 9600},     {B19200, 19200},  {B38400, 38400},
        {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};
    const speed_t speed = cfgetospeed(&mode);
    for (const auto &[code, baud] : Speeds)
        if (code == speed)
            return baud;
    return 0; // a speed of no table row: surely not the display's
}

StableName::StableName(const QString &path, const QString &target) : m_path(path), m_target(target)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(name.constData(), &info) == 0) {
        // A link whose pseudo-terminal is gone is left from a run that was killed.
        if (!S_ISLNK(info.st_mode) || QFileInfo::exists(path)) {
            m_error = QStringLiteral("--link %1: something is there already; nothing was replaced")
                          .arg(path);
            return;
        }
        ::unlink(name.constData());
    }
    if (::symlink(QFile::encodeName(target).constData(), name.constData()) != 0)
        m_error =
            QStringLiteral("--link %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

StableName::~StableName()
{
    if (isMade() && QFileInfo(m_path).symLinkTarget() == QFileInfo(m_target).absoluteFilePath())
        ::unlink(QFile::encodeName(m_path).constData());
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
