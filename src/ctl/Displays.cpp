#include "Displays.h"

#include <memory>
#include <vector>

#include <QFileInfo>
#include <QThread>

#include "Cli.h"
#include "ImageView.h"
#include "link/LineSettings.h"
#include "link/SerialPortComm.h"
#include "model/OptionLists.h"

namespace Displays {

namespace {

// How long the closing pause sleeps between looks at the clock: a thread
// of its own has no events to handle and must not spin.
constexpr unsigned long PauseSliceMs = 5;

// The device a target opens, to see that no display is named twice.
QString deviceKey(const Transfer::Target &target)
{
    QString device = target.port.deviceName;
    if (device.isEmpty())
        device = systemPortName(target.port.number);
    if (device.isEmpty())
        return target.port.shownText;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

void report(bool progress, const Transfer::Target &target, const QString &step)
{
    if (progress)
        Cli::err(QStringLiteral("%1: %2").arg(target.port.shownText, step));
}

Result downloadOne(const Transfer::Target &target, const SettingsImage &image, bool verify,
                   bool progress)
{
    SerialPortComm comm;
    SystemTickCounter ticks;
    Result result;
    result.target = target;
    report(progress, target, QStringLiteral("writing the settings"));
    const Transfer::DownloadResult down = Transfer::download(comm, ticks, target, image);
    if (!down.ok) {
        result.message = down.message;
        return result;
    }
    report(progress, target, QStringLiteral("pausing while the display takes them"));
    Transfer::Delay(ticks, Transfer::ClosingPauseMs, [] { QThread::msleep(PauseSliceMs); });
    result.message = Transfer::downloadOkMessage();
    if (!verify) {
        result.kind = Result::Kind::Ok;
        return result;
    }
    report(progress, target, QStringLiteral("reading back"));
    const Transfer::UploadResult up = Transfer::upload(comm, ticks, target);
    if (up.status != Transfer::UploadResult::Status::Ok) {
        result.message += QStringLiteral(" The verify failed: ") + up.message;
        return result;
    }
    const QStringList differing = ImageView::differingFields(ImageView::compare(image, up.reply));
    if (!differing.isEmpty()) {
        result.kind = Result::Kind::Differs;
        result.message += QStringLiteral(" But the display holds other values in: ") +
                          differing.join(QStringLiteral(", "));
        return result;
    }
    result.kind = Result::Kind::Ok;
    result.message +=
        QStringLiteral(" Verified: the display holds all %1 bytes.").arg(ImageLayout::ConfigLength);
    return result;
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

QString Result::line() const
{
    static const char *const Kinds[] = {"ok", "failed", "differs"};
    return QStringLiteral("%1: %2: %3")
        .arg(target.port.shownText, QLatin1String(Kinds[static_cast<int>(kind)]), message);
}

QList<Result> download(const QList<Transfer::Target> &targets, const SettingsImage &image,
                       bool verify, bool progress)
{
    std::vector<Result> results(static_cast<std::size_t>(targets.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype k = 0; k < targets.size(); ++k) {
        threads.emplace_back(QThread::create([&, k] {
            results[static_cast<std::size_t>(k)] = downloadOne(targets[k], image, verify, progress);
        }));
        threads.back()->start();
    }
    // Every transfer ends by itself: each wait inside it has a bound.
    for (const auto &thread : threads)
        thread->wait();
    return QList<Result>(results.begin(), results.end());
}

Transfer::UploadResult upload(const Transfer::Target &target, bool progress)
{
    SerialPortComm comm;
    SystemTickCounter ticks;
    report(progress, target, QStringLiteral("reading the settings"));
    return Transfer::upload(comm, ticks, target);
}

} // namespace Displays
