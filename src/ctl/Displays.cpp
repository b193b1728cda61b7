#include "Displays.h"

#include <vector>

#include <QThread>

#include "Cli.h"
#include "ImageView.h"
#include "Parallel.h"
#include "link/LineSettings.h"
#include "link/SystemComm.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"

namespace Displays {

namespace {

// How long the closing pause sleeps between looks at the clock: a thread
// of its own has no events to handle and must not spin.
constexpr unsigned long PauseSliceMs = 5;

void report(Progress progress, const Transfer::Target &target, const QString &step)
{
    if (progress == Progress::Shown)
        Cli::err(QStringLiteral("%1: %2").arg(Messages::shown(target.port.shownText), step));
}

Outcome downloadOne(const Transfer::Target &target, const SettingsImage &image,
                    const DownloadOptions &options)
{
    SystemComm comm;
    SystemTickCounter ticks;
    Outcome outcome;
    outcome.target = target;
    report(options.progress, target, QStringLiteral("writing the settings"));
    bool pausing = false;
    const Result<void> written = Transfer::downloadThenPause(comm, ticks, target, image, [&] {
        if (!pausing)
            report(options.progress, target,
                   QStringLiteral("pausing while the display takes them"));
        pausing = true;
        QThread::msleep(PauseSliceMs);
    });
    if (!written) {
        outcome.message = Messages::sentence(written.error());
        return outcome;
    }
    outcome.message = Messages::downloadOk();
    if (!options.verify) {
        outcome.kind = Outcome::Kind::Ok;
        return outcome;
    }
    report(options.progress, target, QStringLiteral("reading back"));
    const Result<SettingsImage> held = Transfer::upload(comm, ticks, target);
    if (!held) {
        outcome.message +=
            QStringLiteral(" The verify failed: ") + Messages::sentence(held.error());
        return outcome;
    }
    const QStringList differing = ImageView::differingFields(ImageView::compare(image, *held));
    if (!differing.isEmpty()) {
        outcome.kind = Outcome::Kind::Differs;
        outcome.differences = differing;
        outcome.message += QStringLiteral(" But the display holds other values in: ") +
                           differing.join(QStringLiteral(", "));
        return outcome;
    }
    outcome.kind = Outcome::Kind::Ok;
    outcome.message +=
        QStringLiteral(" Verified: the display holds all %1 bytes.").arg(ImageLayout::ConfigLength);
    return outcome;
}

} // namespace

QList<Transfer::Target> targets(const QStringList &ports, const QString &settings)
{
    const QStringList &numbered = OptionLists::commPorts();
    const QString lineSettings =
        settings.isEmpty() ? OptionLists::linkSettings().at(OptionLists::DefaultLinkSettings)
                           : settings;
    if (!LineSettings::parse(lineSettings))
        Cli::usage(QStringLiteral("--settings: ") +
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
    static const char *const Kinds[] = {"ok", "failed", "differs"};
    return QLatin1String(Kinds[static_cast<int>(kind)]);
}

QString Outcome::line() const
{
    // One line per display, whatever lines the message has.
    return QStringLiteral("%1: %2: %3")
        .arg(Messages::shown(target.port.shownText), kindName(),
             QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

QList<Outcome> download(const QList<Transfer::Target> &targets, const SettingsImage &image,
                        const DownloadOptions &options)
{
    // Each thread fills its own element; a vector, unlike a QList, is never
    // detached under their hands.
    std::vector<Outcome> outcomes(static_cast<std::size_t>(targets.size()));
    Parallel::forEach(static_cast<int>(targets.size()), Parallel::MostAtOnce, [&](int k) {
        outcomes[static_cast<std::size_t>(k)] = downloadOne(targets[k], image, options);
    });
    return QList<Outcome>(outcomes.begin(), outcomes.end());
}

Result<SettingsImage> upload(const Transfer::Target &target, Progress progress)
{
    SystemComm comm;
    SystemTickCounter ticks;
    report(progress, target, QStringLiteral("reading the settings"));
    return Transfer::upload(comm, ticks, target);
}

} // namespace Displays
