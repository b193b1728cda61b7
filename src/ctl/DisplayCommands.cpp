// The commands that reach displays: download and upload.

#include <QJsonArray>

#include "Commands.h"
#include "Displays.h"
#include "ImageView.h"
#include "LinkOptions.h"
#include "PerPort.h"
#include "messages/Messages.h"

namespace Commands {

namespace {

const QString Output = QStringLiteral("output");

} // namespace

int download(const QStringList &arguments)
{
    Cli::CommandLine line(
        QStringLiteral("download"),
        QStringLiteral("FILE.vfd --port P [--port P ...] [--no-verify] [--json] [options]"),
        QStringLiteral("Writes a settings file into every display named by --port, all at once, "
                       "as the window's \"Download Setting To VFD\" does, pause included, and "
                       "reads each display back before its port closes. Prints one line per "
                       "display: \"<port>: ok: ...\", \"<port>: differs: ... <fields>\", "
                       "\"<port>: unchecked: <why>\" or \"<port>: failed: <reason>\"; with "
                       "--json, one object per display: port, device, outcome, message and "
                       "differences. Exits 1 when a display failed, differs or could not be "
                       "checked."));
    addLinkOptions(line, QStringLiteral("A display to write; repeat for more."), AutoPort::Allowed);
    line.addOption({QStringLiteral("no-verify")},
                   QStringLiteral("Do not read the displays back: \"ok\" then means only that "
                                  "the bytes left the port."));
    // Checking is the default now; scripts that ask for it still run.
    line.addOption({QStringLiteral("verify")},
                   QStringLiteral("The default: read every display back and compare."));
    addJsonOption(line);
    if (!line.parse(arguments))
        return Cli::Done;
    const QString path = line.positionals(1).front();
    SettingsImage image;
    image.setConfigBytes(Cli::readSettings(path));
    const QList<PerPort::Display> targets = displays(line, AutoPort::Allowed);
    const Displays::DownloadOptions options{.verify = !line.isSet(QStringLiteral("no-verify"))};

    return PerPort::run(
        targets, {.json = json(line), .progress = progress(line)}, [&](const PerPort::Port &port) {
            const Displays::Outcome outcome =
                Displays::download(port.target(), image, options, port.steps());
            return PerPort::Result{.outcome = outcome.kindName(),
                                   .success = outcome.kind == Displays::Outcome::Kind::Ok,
                                   .message = outcome.message,
                                   .fields = {{QStringLiteral("differences"),
                                               QJsonArray::fromStringList(outcome.differences)}}};
        });
}

int upload(const QStringList &arguments)
{
    Cli::CommandLine line(QStringLiteral("upload"),
                          QStringLiteral("--port P [-o FILE.vfd] [--json] [options]"),
                          QStringLiteral("Reads the settings of one display, as the window's "
                                         "\"Get Setting From VFD\" does, and prints them as "
                                         "show does; with --json, the display's object holds "
                                         "them as \"image\"."));
    addLinkOptions(line, QStringLiteral("The display to read."), AutoPort::Allowed);
    line.addOption({QStringLiteral("o"), Output},
                   QStringLiteral("Also save the settings in this file (only after a "
                                  "successful read)."),
                   QStringLiteral("file"));
    addJsonOption(line);
    if (!line.parse(arguments))
        return Cli::Done;
    line.positionals(0);
    if (line.values(QStringLiteral("port")).size() > 1)
        Cli::usage(QStringLiteral("upload reads one display; give --port once"));
    const QString output = line.atMostOneValue(Output);
    if (line.isSet(Output))
        Cli::checkOutput(output);
    const QList<PerPort::Display> targets = displays(line, AutoPort::Allowed);

    return PerPort::run(
        targets, {.json = json(line), .progress = progress(line)}, [&](const PerPort::Port &port) {
            const Result<SettingsImage> held = Displays::upload(port.target(), port.steps());
            if (!held)
                return PerPort::Result{.message = Messages::sentence(held.error())};
            const ImageView::Description view = ImageView::describe(*held);
            PerPort::Result result{.outcome = QStringLiteral("ok"),
                                   .success = true,
                                   .message = Messages::uploadOk(),
                                   .fields = {{QStringLiteral("image"), ImageView::toJson(view)}},
                                   .text = ImageView::describeText(view)};
            if (!line.isSet(Output))
                return result;
            // A file that the window could not load is no record of the display.
            const QStringList invalid = ImageView::invalidLists(*held);
            if (!invalid.isEmpty()) {
                result.outcome = QStringLiteral("failed");
                result.success = false;
                result.message =
                    QStringLiteral("the display holds a value that is no list entry in "
                                   "%1; %2 was not written")
                        .arg(invalid.join(QStringLiteral(", ")), Messages::shown(output));
                return result;
            }
            // A file that cannot be written fails the port, with its own status.
            Cli::writeSettings(output, held->configBytes());
            return result;
        });
}

} // namespace Commands
