#include "Displays.h"

#include <QThread>

#include "Cli.h"
#include "link/LineSettings.h"
#include "link/SystemComm.h"
#include "messages/Messages.h"
#include "messages/NextSteps.h"
#include "model/OptionLists.h"

namespace Displays {

namespace {

// How long the closing pause sleeps between looks at the clock: a thread
// of its own has no events to handle and must not spin.
constexpr unsigned long PauseSliceMs = 5;

} // namespace

Outcome download(const Transfer::Target &target, const SettingsImage &image,
                 const DownloadOptions &options, const Step &step)
{
    using Kind = Transfer::DownloadCheck::Kind;
    SystemComm comm;
    SystemTickCounter ticks;
    Outcome outcome;
    step(options.verify ? QStringLiteral("writing the settings, then reading them back")
                        : QStringLiteral("writing the settings"));
    bool pausing = false;
    const Result<Transfer::DownloadCheck> written = Transfer::downloadCheckThenPause(
        comm, ticks, target, image,
        options.verify ? Transfer::ReadBack::Ask : Transfer::ReadBack::Skip, [&] {
            if (!pausing)
                step(QStringLiteral("pausing while the display takes them"));
            pausing = true;
            QThread::msleep(PauseSliceMs);
        });
    if (!written) {
        outcome.message = Messages::sentence(written.error());
        return outcome;
    }
    const QString checked =
        NextSteps::readBack(*written, target.settings, NextSteps::Audience::CommandLine);
    outcome.message = checked.isEmpty() ? Messages::downloadOk()
                                        : Messages::downloadOk() + QLatin1Char(' ') + checked;
    switch (written->kind) {
    case Kind::Checked:
    case Kind::Skipped:
        outcome.kind = Outcome::Kind::Ok;
        break;
    case Kind::Differs:
        outcome.kind = Outcome::Kind::Differs;
        outcome.differences = ImageCodec::foldedNames(written->differing);
        break;
    case Kind::NoAnswer:
    case Kind::WrongReply:
    case Kind::LinkFailed:
        outcome.kind = Outcome::Kind::Unchecked;
        break;
    }
    return outcome;
}

QList<Transfer::Target> targets(const QStringList &ports, const QString &settings)
{
    const QStringList &numbered = OptionLists::commPorts();
    const QString lineSettings =
        settings.isEmpty() ? OptionLists::linkSettings().at(OptionLists::DefaultLinkSettings)
                           : settings;
    if (!LineSettings::parse(lineSettings))
        Cli::usage(
            QStringLiteral("--settings: ") +
            Messages::reason({.reason = Error::Reason::SettingsInvalid, .detail = settings}));
    if (ports.isEmpty())
        Cli::usage(QStringLiteral("name a display with --port"));

    QList<Transfer::Target> list;
    QStringList devices;
    for (const QString &value : ports) {
        const QString text = value.trimmed();
        bool isNumber = false;
        const int number = text.toInt(&isNumber);
        if (text.isEmpty() || (isNumber && (number < 1 || number > numbered.size())))
            Cli::usage(QStringLiteral("--port %1: give 1 to %2 or a device name")
                           .arg(Messages::quoted(value))
                           .arg(numbered.size()));
        const Transfer::Target target{
            PortChoice::fromComboText(numbered, isNumber ? numbered.at(number - 1) : text),
            lineSettings};
        // Where the system has no numbered devices, a number is its own key.
        const QString key = target.port.deviceKey();
        const QString device = key.isEmpty() ? target.port.shownText : key;
        if (devices.contains(device))
            Cli::usage(QStringLiteral("--port %1: that display is named twice")
                           .arg(Messages::quoted(value)));
        devices << device;
        list << target;
    }
    return list;
}

QString Outcome::kindName() const
{
    static const char *const Kinds[] = {"ok", "failed", "differs", "unchecked"};
    return QLatin1String(Kinds[static_cast<int>(kind)]);
}

Result<SettingsImage> upload(const Transfer::Target &target, const Step &step)
{
    SystemComm comm;
    SystemTickCounter ticks;
    step(QStringLiteral("reading the settings"));
    return Transfer::upload(comm, ticks, target);
}

} // namespace Displays
