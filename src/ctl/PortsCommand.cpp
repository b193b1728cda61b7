// ports: the serial ports the system reports, with the names that stay.

#include "PortsCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QSerialPortInfo>

#include "Commands.h"
#include "LinkOptions.h"
#include "Output.h"
#include "model/OptionLists.h"

namespace Commands {

QStringList stableNames(const QString &device, const QString &folder)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    QStringList names;
    if (target.isEmpty())
        return names;
    for (const QFileInfo &link :
         QDir(folder).entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        if (link.isSymLink() && link.canonicalFilePath() == target)
            names << link.absoluteFilePath();
    }
    return names;
}

namespace {

const QString Port = QStringLiteral("port");

// What to give --port for a system port: the window's number, else the device.
QString portOf(const QSerialPortInfo &info)
{
    const int count = static_cast<int>(OptionLists::commPorts().size());
    int number = portNumberOf(info.systemLocation(), count);
    if (number == 0)
        number = portNumberOf(info.portName(), count);
    return number != 0 ? QString::number(number) : info.systemLocation();
}

QJsonObject describePort(const QSerialPortInfo &info)
{
    QJsonObject port{
        {Port, portOf(info)},
        {QStringLiteral("device"), info.systemLocation()},
        {QStringLiteral("outcome"), QStringLiteral("ok")},
        {QStringLiteral("by-id"), QJsonArray::fromStringList(stableNames(info.systemLocation()))},
        {QStringLiteral("description"), info.description()},
        {QStringLiteral("manufacturer"), info.manufacturer()},
        {QStringLiteral("serial-number"), info.serialNumber()}};
    if (info.hasVendorIdentifier() && info.hasProductIdentifier())
        port.insert(QStringLiteral("usb"),
                    QStringLiteral("%1:%2")
                        .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                        .arg(info.productIdentifier(), 4, 16, QLatin1Char('0')));
    return port;
}

QString portsText(const QJsonObject &view)
{
    QStringList lines;
    for (const QJsonValue port : view.value(u"ports").toArray()) {
        const QString device = port[u"device"].toString();
        QStringList parts{device};
        if (port[u"port"].toString() != device)
            parts << QStringLiteral("(--port %1)").arg(port[u"port"].toString());
        for (const QJsonValue name : port[u"by-id"].toArray())
            parts << name.toString();
        for (const char *key : {"description", "manufacturer", "serial-number", "usb"}) {
            const QString value = port[QLatin1String(key)].toString();
            if (!value.isEmpty())
                parts << QStringLiteral("%1: %2").arg(QLatin1String(key), value);
        }
        lines << parts.join(QStringLiteral("  "));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

int ports(const QStringList &arguments)
{
    Cli::CommandLine line(QStringLiteral("ports"), QStringLiteral("[--json]"),
                          QStringLiteral("Lists the serial ports the system reports: device, "
                                         "the names in /dev/serial/by-id that stay when cables "
                                         "are plugged elsewhere, description, manufacturer, "
                                         "serial number and USB vendor:product where known."));
    addJsonOption(line);
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    QJsonArray list;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        list.append(describePort(info));
    if (list.isEmpty() && !json(line))
        Cli::err(QStringLiteral("the system reports no serial ports"));
    printView(QJsonObject{{QStringLiteral("ports"), list}}, json(line), portsText);
    return Cli::Done;
}

} // namespace Commands
