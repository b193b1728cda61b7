// tq540sim: plays a TQ-540 display on a pseudo-terminal or a serial device.

#include <csignal>
#include <memory>
#include <sys/prctl.h>

#include <QCoreApplication>

#include "Console.h"
#include "DisplaySimulator.h"
#include "Server.h"
#include "SimLine.h"
#include "SimOptions.h"
#include "Till.h"
#include "editors/Configuration.h"
#include "files/SettingsFile.h"
#include "messages/Messages.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int)
{
    g_stop = 1;
}

// The image of a .vfd file, read as every other reader reads one: never
// from a pipe or a device, which could hold the simulator before it prints
// its port, or fill its memory. Without one, the factory settings, as a
// new display holds them.
SettingsImage startImage(const std::optional<QString> &path)
{
    if (!path) {
        Configuration factory;
        factory.SetAllDefault();
        return factory.assembledImage();
    }
    const Result<QByteArray> bytes = SettingsFile::read(*path);
    if (!bytes)
        failSim(Messages::fileFailure(bytes.error()));
    SettingsImage image;
    image.setConfigBytes(*bytes);
    return image;
}

// Ends with the test or shell that started it, and on Ctrl+C.
void watchSignals()
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    std::signal(SIGHUP, requestStop);
    std::signal(SIGPIPE, SIG_IGN);
}

std::unique_ptr<SimLine> openLine(const SimOptions &options)
{
    if (options.device) {
        if (options.link)
            failSim(QStringLiteral("--link names a pseudo-terminal; --device has its own name"));
        auto device = std::make_unique<DeviceLine>(*options.device, options.deviceBaud());
        if (!device->isOpen())
            failSim(device->errorString());
        return device;
    }
    auto pty = std::make_unique<PtyLine>();
    if (!pty->isOpen())
        failSim(pty->errorString());
    return pty;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tq540sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TQ540_VERSION));
    if (const std::optional<int> status = Till::runIfAsked(app.arguments()))
        return *status;

    const SimOptions options = parseOptions(app);
    DisplaySimulator display(options.display);
    SettingsImage image = startImage(options.image);
    if (options.commandSet)
        image.set(ImageLayout::CommandSet, static_cast<quint8>(*options.commandSet));
    display.setImage(image);

    watchSignals();
    const std::unique_ptr<SimLine> line = openLine(options);
    std::unique_ptr<StableName> link;
    if (options.link) {
        link = std::make_unique<StableName>(*options.link, line->name());
        if (!link->isMade())
            failSim(link->errorString());
    }
    if (options.stale > 0)
        line->write(QByteArray(options.stale, static_cast<char>(options.staleByte)));
    Console console = Console::standard(options.quiet);
    console.say(QStringLiteral("port: %1").arg(options.link.value_or(line->name())));
    if (options.link)
        console.report(QStringLiteral("pseudo-terminal: %1").arg(line->name()));
    console.report(QStringLiteral("image at start:\n%1").arg(display.describe()));
    SystemTickCounter ticks;
    Server server(*line, display, options, console, ticks, g_stop);
    return server.showScreen() ? server.run() : 1;
}
