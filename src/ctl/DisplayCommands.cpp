// The commands that reach displays: ports, download and upload.

#include <QJsonArray>

#include "Commands.h"
#include "Displays.h"
#include "ImageView.h"
#include "LinkOptions.h"
#include "Output.h"
#include "check/PortEnumerator.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"

namespace Commands {

namespace {

const QString Port = QStringLiteral("port");
const QString Settings = QStringLiteral("settings");
const QString Quiet = QStringLiteral("quiet");
const QString Json = QStringLiteral("json");
const QString Output = QStringLiteral("output");

} // namespace

void addLinkOptions(Cli::CommandLine &line, const QString &portHelp)
{
    line.addOption({QStringLiteral("p"), Port},
                   portHelp + QStringLiteral(" 1 to 8 are the window's \"Com 1\" to \"Com 8\"; "
                                             "any other port by its device name (/dev/ttyUSB0, "
                                             "COM12)."),
                   QStringLiteral("port"));
    line.addOption({Settings},
                   QStringLiteral("Line settings of the link (default \"%1\").")
                       .arg(OptionLists::linkSettings().at(OptionLists::DefaultLinkSettings)),
                   QStringLiteral("settings"));
    line.addOption({QStringLiteral("q"), Quiet},
                   QStringLiteral("No progress on stderr (shown only on a terminal)."));
}

// The --settings value; empty when not given. Given empty, it is refused
// as the window refuses it, rather than taken for the default.
QString linkSettings(const Cli::CommandLine &line)
{
    const QString settings = line.atMostOneValue(Settings);
    if (line.isSet(Settings) && settings.isEmpty())
        Cli::usage(QStringLiteral("--settings: ") +
                   Messages::reason({.reason = Error::Reason::SettingsInvalid, .detail = settings}));
    return settings;
}

Displays::Progress progress(const Cli::CommandLine &line)
{
    return !line.isSet(Quiet) && Cli::stderrIsTerminal() ? Displays::Progress::Shown
                                                         : Displays::Progress::Hidden;
}

namespace {

QJsonObject describePort(const DetectedPort &detected)
{
    QJsonObject port{{QStringLiteral("device"), detected.device},
                     {QStringLiteral("description"), detected.description},
                     {QStringLiteral("manufacturer"), detected.manufacturer},
                     {QStringLiteral("serial-number"), detected.serialNumber}};
    if (!detected.usb.isEmpty())
        port.insert(QStringLiteral("usb"), detected.usb);
    // The window's port number for a system port, where it has one.
    const int count = static_cast<int>(OptionLists::commPorts().size());
    if (const int number = portNumberOf(detected.device, count))
        port.insert(Port, number);
    return port;
}

QString portsText(const QJsonObject &view)
{
    QStringList lines;
    for (const QJsonValue port : view.value(u"ports").toArray()) {
        QStringList parts{port[u"device"].toString()};
        if (port[u"port"].isDouble())
            parts << QStringLiteral("(--port %1)").arg(port[u"port"].toInt());
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
                                         "description, manufacturer, serial number and USB "
                                         "vendor:product where known."));
    line.addOption({Json}, QStringLiteral("Print JSON instead of text."));
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    QJsonArray list;
    for (const DetectedPort &port : SystemPortEnumerator().ports())
        list.append(describePort(port));
    if (list.isEmpty() && !line.isSet(Json))
        Cli::err(QStringLiteral("the system reports no serial ports"));
    printView(QJsonObject{{QStringLiteral("ports"), list}}, line.isSet(Json), portsText);
    return Cli::Done;
}

int download(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("download"),
        QStringLiteral("FILE.vfd --port P [--port P ...] [--verify] [--json] [options]"),
        QStringLiteral("Writes a settings file into every display named by --port, all at once, "
                       "as the window's \"Download Setting To VFD\" does, pause included. Prints "
                       "one line per display: \"<port>: ok: ...\", \"<port>: failed: <reason>\" "
                       "or, with --verify, \"<port>: differs: ... <fields>\"; with --json, one "
                       "object per display: port, outcome, message and differences."));
    addLinkOptions(line, QStringLiteral("A display to write; repeat for more."));
    line.addOption({QStringLiteral("verify")},
                   QStringLiteral("Read every display back and compare all 126 bytes."));
    line.addOption({Json}, QStringLiteral("Print JSON instead of text."));
    if (!line.parse(arguments))
        return Cli::Done;
    const QString path = line.positionals(1).front();
    const QList<Transfer::Target> targets =
        Displays::targets(line.values(Port), linkSettings(line));
    SettingsImage image;
    image.setConfigBytes(Cli::readSettings(path));

    const QList<Displays::Outcome> outcomes = Displays::download(
        targets, image,
        {.verify = line.isSet(QStringLiteral("verify")), .progress = progress(line)});
    int status = Cli::Done;
    QJsonArray displays;
    for (const Displays::Outcome &outcome : outcomes) {
        if (!line.isSet(Json))
            Cli::out(outcome.line());
        displays.append(QJsonObject{{Port, outcome.target.port.shownText},
                                    {QStringLiteral("outcome"), outcome.kindName()},
                                    {QStringLiteral("message"), outcome.message},
                                    {QStringLiteral("differences"),
                                     QJsonArray::fromStringList(outcome.differences)}});
        if (outcome.kind != Displays::Outcome::Kind::Ok)
            status = Cli::Failed;
    }
    if (line.isSet(Json))
        printView(QJsonObject{{QStringLiteral("displays"), displays}}, true,
                  [](const QJsonObject &) { return QString(); });
    return status;
}

int upload(const QStringList &arguments)
{
    Cli::CommandLine line(QStringLiteral("upload"),
                          QStringLiteral("--port P [-o FILE.vfd] [--json] [options]"),
                          QStringLiteral("Reads the settings of one display, as the window's "
                                         "\"Get Setting From VFD\" does, and prints them as "
                                         "show does."));
    addLinkOptions(line, QStringLiteral("The display to read."));
    line.addOption({QStringLiteral("o"), Output},
                   QStringLiteral("Also save the settings in this file (only after a "
                                  "successful read)."),
                   QStringLiteral("file"));
    line.addOption({Json}, QStringLiteral("Print JSON instead of text."));
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    const QList<Transfer::Target> targets =
        Displays::targets(line.values(Port), linkSettings(line));
    if (targets.size() != 1)
        Cli::usage(QStringLiteral("upload reads one display; give --port once"));
    const QString output = line.atMostOneValue(Output);
    if (line.isSet(Output))
        Cli::checkOutput(output);

    const Result<SettingsImage> held = Displays::upload(targets.front(), progress(line));
    if (!held)
        throw Cli::Failure{Cli::Failed, Messages::sentence(held.error())};
    printView(ImageView::describe(*held), line.isSet(Json), ImageView::describeText);
    if (!line.isSet(Output))
        return Cli::Done;
    // A file that the window could not load is no record of the display.
    const QStringList invalid = ImageView::invalidLists(*held);
    if (!invalid.isEmpty())
        throw Cli::Failure{Cli::Failed,
                           QStringLiteral("the display holds a value that is no list entry in "
                                          "%1; %2 was not written")
                               .arg(invalid.join(QStringLiteral(", ")), Messages::shown(output))};
    Cli::writeSettings(output, held->configBytes());
    return Cli::Done;
}

} // namespace Commands
