#include "link/Win32Comm.h"

#include <qt_windows.h>

namespace {

using Reason = Error::Reason;

HANDLE handleOf(void *handle)
{
    return static_cast<HANDLE>(handle);
}

// The system's sentence for an error code, without its line end.
QString systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    return message.isEmpty() ? QStringLiteral("system error %1").arg(code) : message;
}

// BuildCommDCBW's own form of the settings; the old "9600,n,8,1" form would
// abbreviate some speeds.
QString commDcbText(const LineSettings &line)
{
    static constexpr char parityLetters[] = {'n', 'e', 'o', 'm', 's'};
    const char parity = parityLetters[static_cast<int>(line.parity)];
    const char *stop = line.stopBits == LineSettings::StopBits::One          ? "1"
                       : line.stopBits == LineSettings::StopBits::OneAndHalf ? "1.5"
                                                                              : "2";
    return QStringLiteral("baud=%1 parity=%2 data=%3 stop=%4")
        .arg(line.baudRate)
        .arg(QLatin1Char(parity))
        .arg(line.dataBits)
        .arg(QLatin1String(stop));
}

Error openFailure(DWORD code, const QString &device)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return {.reason = Reason::NoSuchPort, .device = device};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // Windows opens a serial port for one program at a time.
        return {.reason = Reason::PortBusy, .device = device};
    default:
        return {.reason = Reason::OpenFailed, .device = device, .system = systemMessage(code)};
    }
}

} // namespace

Win32Comm::~Win32Comm()
{
    close();
}

QString Win32Comm::devicePath(const QString &device)
{
    if (device.startsWith(QLatin1String("\\\\.\\")) || device.startsWith(QLatin1String("\\\\?\\")))
        return device;
    return QStringLiteral("\\\\.\\") + device;
}

bool Win32Comm::setSettings(const QString &settings)
{
    const std::optional<LineSettings> parsed = LineSettings::parse(settings);
    if (!parsed) {
        m_error = {.reason = Reason::SettingsInvalid, .detail = settings};
        return false;
    }
    m_settingsText = settings;
    m_line = *parsed;
    QString systemError;
    if (isPortOpen() && !applyLineSettings(&systemError)) {
        m_error = {.reason = Reason::SettingsRefused, .detail = settings, .system = systemError};
        return false;
    }
    return true;
}

bool Win32Comm::applyLineSettings(QString *systemError)
{
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    const std::wstring text = commDcbText(m_line).toStdWString();
    if (!GetCommState(handleOf(m_handle), &dcb) || !BuildCommDCBW(text.c_str(), &dcb)) {
        *systemError = systemMessage(GetLastError());
        return false;
    }
    // Raw bytes, no flow control of any kind, no byte dropped or replaced.
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Some displays draw their power from DTR and RTS; where the driver
    // cannot set those lines (a pseudo-terminal under Wine) they stay as
    // they are.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (!SetCommState(handleOf(m_handle), &dcb)) {
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        if (GetLastError() != ERROR_NOT_SUPPORTED || !SetCommState(handleOf(m_handle), &dcb)) {
            *systemError = systemMessage(GetLastError());
            return false;
        }
    }
    // Reads return at once with what has arrived; a write may take twice
    // the line's time for its bytes, and half a second more.
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = DWORD(m_line.lineTimeMs(2));
    timeouts.WriteTotalTimeoutConstant = 500;
    if (!SetCommTimeouts(handleOf(m_handle), &timeouts)) {
        *systemError = systemMessage(GetLastError());
        return false;
    }
    return true;
}

bool Win32Comm::setPortOpen(bool open)
{
    if (!open) {
        close();
        return true;
    }
    if (isPortOpen())
        return true;

    const QString device = m_choice.device();
    if (device.isEmpty()) {
        m_error = m_choice.number == 0
                      ? Error{.reason = Reason::NoPortChosen}
                      : Error{.reason = Reason::NoNumberedPort, .count = m_choice.number};
        return false;
    }
    m_fault = false;
    m_unsent.clear();
    const std::wstring path = devicePath(device).toStdWString();
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error = openFailure(GetLastError(), device);
        return false;
    }
    m_handle = handle;
    // A file, a pipe or a device that is no serial port has no line state.
    DCB probe = {};
    probe.DCBlength = sizeof probe;
    if (GetFileType(handle) != FILE_TYPE_CHAR || !GetCommState(handle, &probe)) {
        close();
        m_error = {.reason = Reason::NotSerialPort, .device = device};
        return false;
    }
    QString systemError;
    if (!applyLineSettings(&systemError)) {
        close();
        m_error = {.reason = Reason::SettingsRefused,
                   .device = device,
                   .detail = m_settingsText,
                   .system = systemError};
        return false;
    }
    return true;
}

void Win32Comm::close()
{
    if (!m_handle)
        return;
    // Whatever was not sent is dropped: closing must not wait for the line.
    PurgeComm(handleOf(m_handle), PURGE_TXABORT | PURGE_TXCLEAR);
    CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_unsent.clear();
}

bool Win32Comm::setOutput(QByteArrayView bytes)
{
    if (!isPortOpen() || m_fault)
        return false;
    m_unsent.append(bytes.data(), bytes.size());
    outBufferCount();
    return !m_fault;
}

int Win32Comm::outBufferCount()
{
    if (!isPortOpen())
        return 0;
    if (!m_unsent.isEmpty() && !m_fault) {
        DWORD written = 0;
        // A write that runs out of time takes part of the bytes; the rest
        // waits for the next look.
        if (WriteFile(handleOf(m_handle), m_unsent.constData(), DWORD(m_unsent.size()), &written,
                      nullptr) ||
            GetLastError() == ERROR_TIMEOUT)
            m_unsent.remove(0, qsizetype(written));
        else
            noteLineLost();
    }
    return static_cast<int>(m_unsent.size());
}

std::optional<Win32Comm::Queues> Win32Comm::queues()
{
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(handleOf(m_handle), &errors, &status)) {
        noteLineLost();
        return std::nullopt;
    }
    return Queues{.received = int(status.cbInQue), .unsent = int(status.cbOutQue)};
}

int Win32Comm::inBufferCount()
{
    if (!isPortOpen())
        return 0;
    std::optional<Queues> now = queues();
    if (now && now->received == 0) {
        Sleep(ReadWaitMs);
        now = queues();
    }
    return now ? now->received : 0;
}

int Win32Comm::lineQueueCount()
{
    if (!isPortOpen())
        return 0;
    const std::optional<Queues> now = queues();
    return now ? now->unsent : 0;
}

QByteArray Win32Comm::input()
{
    QByteArray bytes;
    if (!isPortOpen())
        return bytes;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handleOf(m_handle), buffer, sizeof buffer, &got, nullptr)) {
            noteLineLost();
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}

void Win32Comm::noteLineLost()
{
    m_fault = true;
    m_error = {.reason = Reason::LineLost};
}
