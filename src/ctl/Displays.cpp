#include "Displays.h"

#include <memory>
#include <vector>

#include <QFileInfo>
#include <QThread>

#include "Cli.h"
#include "ImageView.h"
#include "link/LineSettings.h"
#include "link/SerialPortComm.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"

namespace Displays {

namespace {

// How long the closing pause sleeps between looks at the clock: a thread
// of its own has no events to handle and must not spin.
constexpr unsigned long PauseSliceMs = 5;

// The device a target opens, to see that no display is named twice.
QString deviceKey(const Transfer::Target &target)
{
    const QString device = target.port.device();
    if (device.isEmpty())
        return target.port.shownText;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

void report(Progress progress, const Transfer::Target &target, const QString &step)
{
    if (progress == Progress::Shown)
        Cli::err(QStringLiteral("%1: %2").arg(target.port.shownText, step));
}

Outcome downloadOne(const Transfer::Target &target, const SettingsImage &image,
                    const DownloadOptions &options)
{
    SerialPortComm comm;
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
        Cli::usage(QStringLiteral("--settings \"%1\": give speed, parity, data bits and stop "
                                  "bits, such as \"9600,n,8,1\"")
                       .arg(settings));
    if (ports.isEmpty())
        Cli::usage(QStringLiteral("name a display with --port"));

    QList<Transfer::Target> list;
    QStringList devices;
    for (const QString &value : ports) {
        const QString text = value.trimmed();
        bool isNumber = false;
        const int number = text.toInt(&isNumber);
        if (text.isEmpty() || (isNumber && (number < 1 || number > numbered.size())))
            Cli::usage(QStringLiteral("--port \"%1\": give 1 to %2 or a device name")
                           .arg(value)
                           .arg(numbered.size()));
        const Transfer::Target target{
            PortChoice::fromComboText(numbered, isNumber ? numbered.at(number - 1) : text),
            lineSettings};
        const QString device = deviceKey(target);
        if (devices.contains(device))
            Cli::usage(QStringLiteral("--port \"%1\": that display is named twice").arg(value));
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
        .arg(target.port.shownText, kindName(),
             QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

QList<Outcome> download(const QList<Transfer::Target> &targets, const SettingsImage &image,
                        const DownloadOptions &options)
{
    std::vector<Outcome> outcomes(static_cast<std::size_t>(targets.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype k = 0; k < targets.size(); ++k) {
        threads.emplace_back(QThread::create([&, k] {
            outcomes[static_cast<std::size_t>(k)] = downloadOne(targets[k], image, options);
        }));
        threads.back()->start();
    }
    // Every transfer ends by itself: each wait inside it has a bound.
    for (const auto &thread : threads)
        thread->wait();
    return QList<Outcome>(outcomes.begin(), outcomes.end());
}

Result<SettingsImage> upload(const Transfer::Target &target, Progress progress)
{
    SerialPortComm comm;
    SystemTickCounter ticks;
    report(progress, target, QStringLiteral("reading the settings"));
    return Transfer::upload(comm, ticks, target);
}

} // namespace Displays
