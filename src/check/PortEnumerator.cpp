#include "check/PortEnumerator.h"

#include <algorithm>
#include <iterator>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#else
#include <QSerialPortInfo>
#endif

namespace {

// The number of "COM12", 0 for a name of another form.
int comNumber(const QString &port)
{
    if (!port.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int number = port.mid(3).toInt(&ok);
    return ok && number > 0 ? number : 0;
}

} // namespace

QList<DetectedPort> portsOfDeviceMap(const QList<DeviceMapEntry> &entries)
{
    QList<DetectedPort> found;
    for (const DeviceMapEntry &entry : entries) {
        const QString port = entry.port.trimmed();
        if (!port.isEmpty())
            found.append({.device = port, .description = entry.driverDevice});
    }
    std::stable_sort(found.begin(), found.end(), [](const DetectedPort &a, const DetectedPort &b) {
        const int left = comNumber(a.device);
        const int right = comNumber(b.device);
        if ((left == 0) != (right == 0))
            return right == 0; // numbered ports first
        return left != right ? left < right : a.device < b.device;
    });
    return found;
}

#if defined(Q_OS_WIN)

QList<DetectedPort> SystemPortEnumerator::ports() const
{
    // The value names are driver devices (\Device\Serial0): QSettings
    // takes their backslashes for key separators, so the key is read here.
    QList<DeviceMapEntry> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return {};
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t port[256];
        DWORD nameLength = DWORD(std::size(name));
        DWORD portBytes = sizeof port - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE *>(port), &portBytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const auto portLength = qsizetype(portBytes / sizeof(wchar_t));
        entries.append({QString::fromWCharArray(name, qsizetype(nameLength)),
                        QString::fromWCharArray(port, portLength).section(QChar(0), 0, 0)});
    }
    RegCloseKey(key);
    return portsOfDeviceMap(entries);
}

#else

QList<DetectedPort> SystemPortEnumerator::ports() const
{
    QList<DetectedPort> found;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        DetectedPort port{.device = info.systemLocation(),
                          .description = info.description(),
                          .manufacturer = info.manufacturer(),
                          .serialNumber = info.serialNumber()};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            port.usb = QStringLiteral("%1:%2")
                           .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                           .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        found.append(port);
    }
    return found;
}

#endif
