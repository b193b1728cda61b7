#include "LinkOptions.h"

#include "check/DisplayFinder.h"
#include "check/PortEnumerator.h"
#include "messages/CtlMessages.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"

namespace Commands {

namespace {

const QString Port = QStringLiteral("port");
const QString Settings = QStringLiteral("settings");
const QString Quiet = QStringLiteral("quiet");
const QString Json = QStringLiteral("json");
const QString Auto = QStringLiteral("auto");

// The --settings value; empty when not given. Given empty, it is refused
// as the window refuses it, rather than taken for the default.
QString linkSettings(const Cli::CommandLine &line)
{
    const QString settings = line.atMostOneValue(Settings);
    if (line.isSet(Settings) && settings.isEmpty())
        Cli::usage(CtlMessages::emptySettings());
    return settings;
}

} // namespace

PerPort::Display onlyDisplay(const QList<FindResult> &results, const QString &settings)
{
    QStringList asked;
    QList<FindResult> answered;
    for (const FindResult &result : results) {
        asked << QStringLiteral("%1: %2").arg(Messages::shown(result.port), result.outcomeName());
        if (result.answered())
            answered << result;
    }
    if (answered.isEmpty())
        throw Cli::Failure{Cli::Failed, CtlMessages::noDisplayFound(asked)};
    if (answered.size() > 1) {
        QStringList found;
        for (const FindResult &result : answered)
            found << QStringLiteral("%1: answered at %2")
                         .arg(Messages::shown(result.port), result.settings);
        throw Cli::Failure{Cli::Failed, CtlMessages::severalDisplaysFound(found)};
    }
    const FindResult &found = answered.front();
    return {Auto,
            {PortChoice::fromComboText({}, found.device),
             settings.isEmpty() ? found.settings : settings}};
}

namespace {

// The one display that answers on the system's ports.
PerPort::Display onlySystemDisplay(const QString &settings)
{
    QList<PortChoice> ports;
    for (const DetectedPort &port : SystemPortEnumerator().ports())
        ports << PortChoice::fromComboText({}, port.device);
    return onlyDisplay(DisplayFinder::findAll(ports), settings);
}

} // namespace

void addLinkOptions(Cli::CommandLine &line, const QString &portHelp, AutoPort autoPort)
{
    QString help = portHelp + QStringLiteral(" 1 to 8 are the window's \"Com 1\" to \"Com 8\"; "
                                             "any other port by its device name (/dev/ttyUSB0, "
                                             "COM12).");
    if (autoPort == AutoPort::Allowed)
        help += QStringLiteral(" \"auto\" is the one display that find finds, at the speed it "
                               "answers.");
    line.addOption({QStringLiteral("p"), Port}, help, QStringLiteral("port"));
    line.addOption({Settings},
                   QStringLiteral("Line settings of the link (default \"%1\").")
                       .arg(OptionLists::linkSettings().at(OptionLists::DefaultLinkSettings)),
                   QStringLiteral("settings"));
    line.addOption({QStringLiteral("q"), Quiet},
                   QStringLiteral("No progress on stderr (shown only on a terminal)."));
}

QList<PerPort::Display> displays(const Cli::CommandLine &line, AutoPort autoPort)
{
    const QString settings = linkSettings(line);
    const QStringList given = line.values(Port);
    if (autoPort == AutoPort::Allowed && given.contains(Auto)) {
        if (given.size() > 1)
            Cli::usage(QStringLiteral("--port auto: give no other --port beside it"));
        // The settings are checked before any port is asked.
        Displays::targets({Auto}, settings);
        return {onlySystemDisplay(settings)};
    }
    const QList<Transfer::Target> targets = Displays::targets(given, settings);
    QList<PerPort::Display> list;
    for (qsizetype k = 0; k < targets.size(); ++k)
        list << PerPort::Display{given[k], targets[k]};
    return list;
}

Displays::Progress progress(const Cli::CommandLine &line)
{
    return !line.isSet(Quiet) && Cli::stderrIsTerminal() ? Displays::Progress::Shown
                                                         : Displays::Progress::Hidden;
}

void addJsonOption(Cli::CommandLine &line)
{
    line.addOption({Json}, QStringLiteral("Print JSON instead of text."));
}

bool json(const Cli::CommandLine &line)
{
    return line.isSet(Json);
}

} // namespace Commands
