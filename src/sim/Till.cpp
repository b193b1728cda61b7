#include "Till.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include "ScreenView.h"
#include "SimLine.h"
#include "SimOptions.h"
#include "commandsets/CommandSets.h"
#include "listen/LineSpeed.h"
#include "listen/Listener.h"
#include "listen/TillTraffic.h"
#include "messages/Messages.h"
#include "model/DisplaySettings.h"
#include "screen/ScreenInterpreter.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int)
{
    g_stop = 1;
}

void say(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

int number(const QCommandLineParser &parser, const QString &name, int fallback, int low, int high)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high)
        failSim(QStringLiteral("--%1 needs a number from %2 to %3").arg(name).arg(low).arg(high));
    return value;
}

// The speed the other end of a pseudo-terminal set, as termios reports it;
// 0 for one no till uses.
int receiverBaud(int slave)
{
    termios mode{};
    if (slave < 0 || ::tcgetattr(slave, &mode) != 0)
        return 0;
    switch (::cfgetispeed(&mode)) {
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    default:
        return 0;
    }
}

// A till on a pseudo-terminal: every `everyMs` a sale. A pseudo-terminal
// carries bytes at any speed, so when the listener set the other of the two
// speeds tills use, it gets what a UART at that speed would make of them.
int runTill(int commandSet, int baud, int everyMs, const QString &device, const QString &link,
            bool quiet)
{
    if (!TillTraffic::speaks(commandSet))
        failSim(QStringLiteral("no till is known to send %1: its commands are not public")
                    .arg(CommandSets::shortName(commandSet)));
    std::unique_ptr<SimLine> line;
    int slave = -1; // our own view of the listener's end, never read from
    if (device.isEmpty()) {
        auto pty = std::make_unique<PtyLine>();
        if (!pty->isOpen())
            failSim(pty->errorString());
        slave = ::open(qPrintable(pty->name()), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        line = std::move(pty);
    } else {
        auto port = std::make_unique<DeviceLine>(device, baud);
        if (!port->isOpen())
            failSim(port->errorString());
        line = std::move(port);
    }
    // --link: the same stable name the simulated display offers.
    std::unique_ptr<StableName> stable;
    if (!link.isEmpty()) {
        if (!device.isEmpty())
            failSim(QStringLiteral("--link names a pseudo-terminal; --device has its own name"));
        stable = std::make_unique<StableName>(link, line->name());
        if (!stable->isMade())
            failSim(stable->errorString());
    }
    say(QStringLiteral("port: %1").arg(link.isEmpty() ? line->name() : link));
    if (!quiet)
        say(QStringLiteral("till: %1 at %2 baud, a sale every %3 ms")
                .arg(CommandSets::shortName(commandSet))
                .arg(baud)
                .arg(everyMs));
    for (int n = 0; !g_stop && !line->isBroken(); ++n) {
        // A sale nobody took is gone, as on a line with nothing at its end;
        // without this the pseudo-terminal's buffer would fill and block us.
        int waiting = 0;
        if (slave >= 0 && ::ioctl(slave, FIONREAD, &waiting) == 0 && waiting > 0)
            ::tcflush(slave, TCIFLUSH);
        QByteArray bytes = (n == 0 ? TillTraffic::startUp(commandSet) : QByteArray()) +
                           TillTraffic::sale(commandSet, n);
        const int heard = receiverBaud(slave);
        if (heard != 0 && heard != baud)
            bytes = LineSpeed::reframe(bytes, baud, heard).bytes;
        if (!line->write(bytes))
            failSim(QStringLiteral("line closed: %1").arg(line->errorString()));
        if (!quiet)
            say(QStringLiteral("sale %1: %2 / %3")
                    .arg(n + 1)
                    .arg(TillTraffic::saleRow(n, 0), TillTraffic::saleRow(n, 1)));
        for (int slept = 0; slept < everyMs && !g_stop; slept += 10)
            ::usleep(10000);
    }
    if (slave >= 0)
        ::close(slave);
    return 0;
}

// Plays a capture into the virtual display and prints what its glass shows.
int replay(const QString &path, int commandSet)
{
    // Never a pipe or a device, which could hold us or fill our memory.
    if (!QFileInfo(path).isFile())
        failSim(QStringLiteral("%1: not a file").arg(Messages::shown(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failSim(QStringLiteral("%1: %2").arg(Messages::shown(path), file.errorString()));
    if (file.size() > Listener::CaptureLimit)
        failSim(QStringLiteral("%1: larger than a capture (%2 bytes at most)")
                    .arg(Messages::shown(path))
                    .arg(Listener::CaptureLimit));
    ScreenInterpreter display(commandSet);
    display.feed(file.read(Listener::CaptureLimit));
    ScreenView view;
    view.update(display, display.takeUnknown());
    say(view.lines().join(QLatin1Char('\n')));
    return 0;
}

} // namespace

namespace Till {

std::optional<int> runIfAsked(const QStringList &arguments)
{
    if (!arguments.contains(QStringLiteral("--till")) &&
        !arguments.contains(QStringLiteral("--replay")))
        return std::nullopt;
    QCommandLineParser parser;
    for (const auto &[name, value] :
         {std::pair{"till", "set"}, std::pair{"speed", "baud"}, std::pair{"every", "ms"},
          std::pair{"device", "path"}, std::pair{"link", "path"}, std::pair{"replay", "file"}, std::pair{"command", "set"}})
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(value)));
    parser.addOption(QCommandLineOption(QStringLiteral("quiet")));
    if (!parser.parse(arguments))
        failSim(parser.errorText());
    if (parser.isSet(QStringLiteral("replay"))) {
        if (!parser.isSet(QStringLiteral("command")))
            failSim(QStringLiteral("--replay needs --command, the set to read the capture in"));
        return replay(parser.value(QStringLiteral("replay")),
                      commandSetOf(parser.value(QStringLiteral("command"))));
    }
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    std::signal(SIGPIPE, SIG_IGN);
    const int baud = number(parser, QStringLiteral("speed"), 9600, 1, 4000000);
    return runTill(commandSetOf(parser.value(QStringLiteral("till")), QStringLiteral("till")), baud,
                   number(parser, QStringLiteral("every"), 2000, 100, 60000),
                   parser.value(QStringLiteral("device")), parser.value(QStringLiteral("link")),
                   parser.isSet(QStringLiteral("quiet")));
}

} // namespace Till
