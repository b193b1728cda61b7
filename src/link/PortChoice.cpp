#include "link/PortChoice.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

PortChoice PortChoice::fromComboText(const QStringList &entries, const QString &text)
{
    PortChoice choice;
    choice.shownText = text;
    const qsizetype entry = entries.indexOf(text);
    if (entry >= 0) {
        choice.number = static_cast<int>(entry) + 1;
        return choice;
    }
    // Not one of the entries: whatever Qt's index still says, no entry is
    // selected, and the typed text names the device itself.
    choice.deviceName = text.trimmed();
    return choice;
}

QString PortChoice::device() const
{
    return deviceName.isEmpty() ? systemPortName(number) : deviceName;
}

QString PortChoice::devicePath() const
{
    const QString name = device();
    if (name.isEmpty())
        return {};
#if defined(Q_OS_WIN)
    return name;
#else
    const QString location = systemLocation(name);
    const QString canonical = QFileInfo(location).canonicalFilePath();
    return canonical.isEmpty() ? location : canonical;
#endif
}

QString PortChoice::deviceKey() const
{
    const QString name = device();
    if (name.isEmpty())
        return {};
#if defined(Q_OS_WIN)
    // "COM3", "com3" and \\.\COM3 all open the same port.
    QString key = name.toUpper();
    if (key.startsWith(QLatin1String("\\\\.\\")))
        key.remove(0, 4);
    return key;
#else
    const QString location = systemLocation(name);
#if defined(Q_OS_UNIX)
    // The device number tells what no path does: a bind mount, a second
    // node or a hard link of one device.
    struct stat info = {};
    if (::stat(QFile::encodeName(location).constData(), &info) == 0) {
        if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
            return QStringLiteral("device %1").arg(quint64(info.st_rdev));
        return QStringLiteral("file %1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
    }
#endif
    return devicePath();
#endif
}

QString systemLocation(const QString &device)
{
#if defined(Q_OS_UNIX)
    // As the serial layer does: a name that is no path lies in /dev.
    const bool isPath = device.startsWith(u'/') || device.startsWith(QLatin1String("./")) ||
                        device.startsWith(QLatin1String("../"));
    return isPath || device.isEmpty() ? device : QStringLiteral("/dev/") + device;
#else
    return device;
#endif
}

QString systemPortName(int number)
{
    if (number < 1)
        return {};
#if defined(Q_OS_WIN)
    return QStringLiteral("COM%1").arg(number);
#elif defined(Q_OS_LINUX)
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#else
    // No fixed numbering of serial devices here: only typed names apply.
    return {};
#endif
}

int portNumberOf(QStringView device, int count)
{
    for (int number = 1; number <= count; ++number) {
        if (!device.isEmpty() && systemPortName(number) == device)
            return number;
    }
    return 0;
}
