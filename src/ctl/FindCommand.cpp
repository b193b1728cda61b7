// find: which port a display is on, and at which speed it listens.

#include <QJsonArray>

#include "Commands.h"
#include "Displays.h"
#include "Output.h"
#include "messages/FindMessages.h"
#include "messages/Messages.h"
#include "check/DisplayFinder.h"
#include "check/PortEnumerator.h"

namespace Commands {

namespace {

const QString Port = QStringLiteral("port");
const QString Json = QStringLiteral("json");

// The ports --port names, or else every port the system reports.
QList<PortChoice> portsToAsk(const QStringList &named)
{
    QList<PortChoice> ports;
    if (!named.isEmpty()) {
        for (const Transfer::Target &target : Displays::targets(named, QString()))
            ports << target.port;
        return ports;
    }
    for (const DetectedPort &port : SystemPortEnumerator().ports())
        ports << PortChoice::fromComboText({}, port.device);
    return ports;
}

QJsonObject describe(const FindResult &result)
{
    QJsonObject port{{QStringLiteral("port"), result.port},
                     {QStringLiteral("device"), result.device},
                     {QStringLiteral("outcome"), FindMessages::outcomeName(result.outcome)}};
    if (result.answered()) {
        port.insert(QStringLiteral("settings"), result.settings);
        port.insert(QStringLiteral("summary"), FindMessages::summary(result));
    } else {
        port.insert(QStringLiteral("reason"), FindMessages::reason(result));
    }
    return port;
}

QString findText(const QJsonObject &view)
{
    QStringList lines;
    for (const QJsonValue port : view.value(u"ports").toArray()) {
        const QString outcome = port[u"outcome"].toString();
        lines << (port[u"settings"].isString()
                      ? QStringLiteral("%1: %2 at %3: %4")
                            .arg(Messages::shown(port[u"port"].toString()), outcome,
                                 port[u"settings"].toString(),
                                 port[u"summary"].toString())
                      : QStringLiteral("%1: %2: %3")
                            .arg(Messages::shown(port[u"port"].toString()), outcome,
                                 port[u"reason"].toString()));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

int find(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("find"), QStringLiteral("[--port P ...] [--json]"),
        QStringLiteral("Asks every port the system reports, or each port named by --port, all "
                       "at once, for a display's settings at 9600 and at 19200 baud, and prints "
                       "one line per port: the speed a display answered at with its command "
                       "set, character set and own speed, or why not. The request (the two "
                       "bytes 1B EE, which change nothing on a display) is written to every "
                       "port asked, so a printer or scale on another port may see them: use "
                       "--port to ask only the ports you mean. Exits 0 when a display "
                       "answered, 1 when none did."));
    line.addOption({QStringLiteral("p"), Port},
                   QStringLiteral("A port to ask; repeat for more. 1 to 8 are the window's "
                                  "\"Com 1\" to \"Com 8\"; any other port by its device name "
                                  "(/dev/ttyUSB0, COM12). Without it every port is asked."),
                   QStringLiteral("port"));
    line.addOption({Json}, QStringLiteral("Print JSON instead of text."));
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);

    const QList<PortChoice> ports = portsToAsk(line.values(Port));
    if (ports.isEmpty())
        Cli::err(QStringLiteral("the system reports no serial ports"));
    QJsonArray list;
    bool found = false;
    for (const FindResult &result : DisplayFinder::findAll(ports)) {
        list.append(describe(result));
        found = found || result.answered();
    }
    printView(QJsonObject{{QStringLiteral("ports"), list}}, line.isSet(Json), findText);
    return found ? Cli::Done : Cli::Failed;
}

} // namespace Commands
