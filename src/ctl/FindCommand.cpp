// find: which port a display is on, and at which speed it listens.

#include "Commands.h"
#include "Displays.h"
#include "ImageView.h"
#include "LinkOptions.h"
#include "PerPort.h"
#include "check/DisplayFinder.h"
#include "check/PortEnumerator.h"
#include "messages/Messages.h"

namespace Commands {

namespace {

const QString Port = QStringLiteral("port");

// The ports --port names, or else every port the system reports, each once.
QList<PerPort::Display> portsToAsk(const QStringList &named)
{
    QList<PerPort::Display> ports;
    if (!named.isEmpty()) {
        const QList<Transfer::Target> targets = Displays::targets(named, QString());
        for (qsizetype k = 0; k < targets.size(); ++k)
            ports << PerPort::Display{named[k], targets[k]};
        return ports;
    }
    QList<PortChoice> detected;
    for (const DetectedPort &port : SystemPortEnumerator().ports())
        detected << PortChoice::fromComboText({}, port.device);
    for (const PortChoice &port : DisplayFinder::distinct(detected))
        ports << PerPort::Display{port.shownText, {port, QString()}};
    return ports;
}

PerPort::Result askOne(const PerPort::Port &port)
{
    port.step(QStringLiteral("asking for a display"));
    const FindResult found = DisplayFinder::ask(port.target().port, DisplayFinder::systemLinks(),
                                                PerPort::stopRequested());
    PerPort::Result result{
        .outcome = found.outcomeName(), .success = found.answered(), .message = found.reason};
    if (!found.answered())
        return result;
    result.fields = {
        {QStringLiteral("settings"), found.settings},
        {QStringLiteral("image"), ImageView::toJson(ImageView::describe(found.image))}};
    result.text = QStringLiteral("%1: %2 at %3: %4")
                      .arg(Messages::shown(port.display().given), found.outcomeName(),
                           found.settings, found.summary());
    return result;
}

} // namespace

int find(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("find"), QStringLiteral("[--port P ...] [--json]"),
        QStringLiteral("Asks every port the system reports, or each port named by --port, all "
                       "at once, for a display's settings at 9600 and at 19200 baud, and prints "
                       "one line per port: the speed a display answered at with its command "
                       "set, character set and own speed, or why not; with --json, one object "
                       "per port with the line settings it answered at and the display's "
                       "settings as \"image\", as upload gives them. The request (the two "
                       "bytes 1B EE, which change nothing on a display) is written to every "
                       "port asked, so a printer or scale on another port may see them: use "
                       "--port to ask only the ports you mean. Exits 0 when a display "
                       "answered, 1 when none did."));
    line.addOption({QStringLiteral("p"), Port},
                   QStringLiteral("A port to ask; repeat for more. 1 to 8 are the window's "
                                  "\"Com 1\" to \"Com 8\"; any other port by its device name "
                                  "(/dev/ttyUSB0, COM12). Without it every port is asked."),
                   QStringLiteral("port"));
    line.addOption({QStringLiteral("q"), QStringLiteral("quiet")},
                   QStringLiteral("No progress on stderr (shown only on a terminal)."));
    addJsonOption(line);
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);

    const QList<PerPort::Display> ports = portsToAsk(line.values(Port));
    if (ports.isEmpty())
        Cli::err(QStringLiteral("the system reports no serial ports"));
    return PerPort::run(
        ports, {.json = json(line), .progress = progress(line), .oneSuffices = true}, askOne);
}

} // namespace Commands
