// ports: the serial ports the system reports, with the names that stay.

#include "PortsCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include "Commands.h"
#include "LinkOptions.h"
#include "Output.h"
#include "check/PortEnumerator.h"
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
QString portOf(const DetectedPort &detected)
{
    const int count = static_cast<int>(OptionLists::commPorts().size());
    const int number = portNumberOf(detected.device, count);
    return number != 0 ? QString::number(number) : detected.device;
}

QJsonObject describePort(const DetectedPort &detected)
{
    QJsonObject port{
        {Port, portOf(detected)},
        {QStringLiteral("device"), detected.device},
        {QStringLiteral("outcome"), QStringLiteral("ok")},
        {QStringLiteral("by-id"), QJsonArray::fromStringList(stableNames(detected.device))},
        {QStringLiteral("description"), detected.description},
        {QStringLiteral("manufacturer"), detected.manufacturer},
        {QStringLiteral("serial-number"), detected.serialNumber}};
    if (!detected.usb.isEmpty())
        port.insert(QStringLiteral("usb"), detected.usb);
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
    for (const DetectedPort &detected : SystemPortEnumerator().ports())
        list.append(describePort(detected));
    if (list.isEmpty() && !json(line))
        Cli::err(QStringLiteral("the system reports no serial ports"));
    printView(QJsonObject{{QStringLiteral("ports"), list}}, json(line), portsText);
    return Cli::Done;
}

} // namespace Commands
