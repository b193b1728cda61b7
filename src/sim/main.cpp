// tq540sim: plays a TQ-540 display on a pseudo-terminal or a serial device.

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include "DisplaySimulator.h"
#include "ScreenView.h"
#include "SimLine.h"
#include "Till.h"
#include "files/SettingsFile.h"
#include "messages/Messages.h"
#include "model/DisplaySettings.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int)
{
    g_stop = 1;
}

bool s_quiet = false;
// Lines of the screen box printed last on a terminal, with nothing after
// them: the next box is drawn over them. 0 when other lines followed.
int s_boxLines = 0;

void say(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
    s_boxLines = 0;
}

void report(const QString &text)
{
    if (!s_quiet)
        say(text);
}

[[noreturn]] void fail(const QString &text)
{
    std::fputs(qPrintable(QStringLiteral("tq540sim: %1\n").arg(text)), stderr);
    std::exit(1);
}

// What the command line asks for.
struct SimOptions
{
    DisplaySimulator::Options display;
    std::optional<QString> device; // none: a pseudo-terminal
    int baud = 9600;
    std::optional<QString> image; // the .vfd file to start from
    std::optional<int> commandSet; // replaces the image's
    QString saveFile;
    QString screenFile;
    bool once = false;
    bool quiet = false;
    int firstByteDelay = 0;
    int stale = 0;
    int staleByte = 0x5A;
    int dropAfter = -1;
};

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Plays a TQ-540 customer display for the setup utility. By default it opens a "
        "pseudo-terminal and prints the port to type into Comm.\n\n"
        "Outside its setup exchanges it shows, as a 2 x 20 box, what a point-of-sale program "
        "writes in the command set its image holds. It interprets EPSON, UTC/S, UTC/P, AEDEX, "
        "ADM788, CD5220, EMAX and LogicControl as public programming guides of two-line "
        "customer displays describe them: the same bytes in guides of unrelated display "
        "families, except EMAX (one family's guides, printed with AEDEX) and the trailing 0D of "
        "ADM788 (inferred). That \"UTC/P\" is the enhanced UTC set is an inference. KS310 and "
        "DSP800 have no public description: in those modes every byte is shown as data. "
        "Sequences it does not interpret are noted in hex under the box."));
    parser.addHelpOption();
    parser.addVersionOption();
    const auto option = [&](const char *name, const char *help, const char *value = nullptr) {
        QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help));
        if (value)
            o.setValueName(QString::fromLatin1(value));
        parser.addOption(o);
    };
    option("device", "Use this serial device instead of a pseudo-terminal.", "path");
    option("baud", "Speed of --device (default 9600; 8 data bits, no parity, 1 stop bit).",
           "speed");
    option("image", "Start from this .vfd file (126 bytes) instead of zeros.", "file");
    option("save", "Write the image to this file after every download.", "file");
    option("command",
           "Start in this command set (list entry, any case, \"(Default)\" optional, or its "
           "position 0 to 9) instead of the image's.",
           "name");
    option("screen",
           "After every change of the screen, replace this file with its two rows of 20 "
           "characters (a code outside 0x20..0x7E as ?).",
           "file");
    option("once", "Exit after one download or one answered upload.");
    option("quiet", "Print only the port line.");
    option("no-answer", "Ignore upload requests.");
    option("keep-image",
           "Take downloads but keep the image it had, as a display that failed to store them "
           "(--save writes nothing then).");
    option("wrong-lead", "Begin the upload reply with this byte instead of 0xAA.", "byte");
    option("short", "Send only the first n bytes of the upload reply.", "n");
    option("extra", "Send n junk bytes after the upload reply.", "n");
    option("first-byte-delay", "Wait this long before the first reply byte.", "ms");
    option("stale",
           "Put n junk bytes on the line at start, before any exchange. A download and an "
           "upload both discard them, so either still succeeds.",
           "n");
    option("stale-byte", "The value of the --stale bytes (default 0x5A).", "byte");
    option("drop-after", "Hang up the line after n received bytes.", "n");
    option("till",
           "Play a till instead: write a typical sale in this command set every --every "
           "ms (default 2000) at --speed baud (default 9600).",
           "set");
    option("speed", "The till's speed.", "baud");
    option("every", "Milliseconds between the till's sales.", "ms");
    option("replay",
           "Play this capture into the display in --command's set, print the glass "
           "and exit.",
           "file");
}

int intOption(const QCommandLineParser &parser, const QString &name, int fallback, int low,
              int high)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok, 0);
    if (!ok || value < low || value > high)
        fail(QStringLiteral("--%1 needs a number from %2 to %3, not \"%4\"")
                 .arg(name)
                 .arg(low)
                 .arg(high)
                 .arg(parser.value(name)));
    return value;
}

std::optional<QString> textOption(const QCommandLineParser &parser, const QString &name)
{
    return parser.isSet(name) ? std::optional(parser.value(name)) : std::nullopt;
}

// A command set as tq540ctl takes a list entry: its text, an alias or its position.
int commandSetOf(const QString &name)
{
    const DisplaySettingInfo &setting = DisplaySettings::of(DisplaySetting::CommandSet);
    int position = setting.positionOf(name);
    if (position < 0) {
        bool isNumber = false;
        position = name.toInt(&isNumber);
        if (!isNumber)
            position = -1;
    }
    if (!setting.isEntry(position))
        fail(QStringLiteral("--command %1: give an entry of \"%2\" or its position 0 to %3")
                 .arg(Messages::quoted(name), setting.entries().join(QStringLiteral("\", \"")))
                 .arg(setting.size() - 1));
    return position;
}

// Reads the command line; prints the help or the version and exits, or
// fails, where it says so.
SimOptions parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);
    const auto number = [&](const char *name, int fallback, int low, int high) {
        return intOption(parser, QString::fromLatin1(name), fallback, low, high);
    };
    const auto isSet = [&](const char *name) { return parser.isSet(QString::fromLatin1(name)); };

    SimOptions options;
    options.quiet = isSet("quiet");
    options.display.noAnswer = isSet("no-answer");
    options.display.keepImage = isSet("keep-image");
    options.display.lead = static_cast<quint8>(number("wrong-lead", Protocol::LeadByte, 0, 255));
    options.display.replyLength = number("short", -1, 0, Protocol::ReplyLength);
    options.display.extraBytes = number("extra", 0, 0, 65536);
    options.firstByteDelay = number("first-byte-delay", 0, 0, 60000);
    options.stale = number("stale", 0, 0, 4096);
    options.staleByte = number("stale-byte", 0x5A, 0, 255);
    options.dropAfter = number("drop-after", -1, 0, 1 << 20);
    options.baud = number("baud", 9600, 1, 4000000);
    options.once = isSet("once");
    options.saveFile = parser.value(QStringLiteral("save"));
    options.screenFile = parser.value(QStringLiteral("screen"));
    if (const std::optional<QString> name = textOption(parser, QStringLiteral("command")))
        options.commandSet = commandSetOf(*name);
    options.image = textOption(parser, QStringLiteral("image"));
    options.device = textOption(parser, QStringLiteral("device"));
    return options;
}

// The image of a .vfd file, read as every other reader reads one: never
// from a pipe or a device, which could hold the simulator before it prints
// its port, or fill its memory.
SettingsImage startImage(const QString &path)
{
    const Result<QByteArray> bytes = SettingsFile::read(path);
    if (!bytes)
        fail(Messages::fileFailure(bytes.error()));
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
        auto device = std::make_unique<DeviceLine>(*options.device, options.baud);
        if (!device->isOpen())
            fail(device->errorString());
        return device;
    }
    auto pty = std::make_unique<PtyLine>();
    if (!pty->isOpen())
        fail(pty->errorString());
    return pty;
}

// Sleeps in small slices so that a stop request is not held up.
void pause(int ms)
{
    for (int slept = 0; slept < ms && !g_stop; slept += 10)
        ::usleep(static_cast<useconds_t>(qMin(10, ms - slept)) * 1000);
}

// The display on its line: takes bytes and answers, as the options shape it.
class Server
{
public:
    Server(SimLine &line, DisplaySimulator &display, const SimOptions &options)
        : m_line(line), m_display(display), m_options(options)
    {
    }

    // Until a stop request, a hang-up or the end of --once; the exit status.
    int run()
    {
        while (!g_stop) {
            const QByteArray bytes = m_line.read(50);
            if (m_line.isBroken()) {
                report(QStringLiteral("line closed: %1").arg(m_line.errorString()));
                return 1;
            }
            for (const char byte : bytes) {
                if (const std::optional<int> status = take(static_cast<quint8>(byte)))
                    return *status;
            }
            showScreen();
        }
        return 0;
    }

    // Draws the box and writes --screen when what they show changed.
    void showScreen()
    {
        if (!m_view.update(m_display.screen(), m_display.takeUnknown()))
            return;
        if (!m_options.screenFile.isEmpty())
            writeScreenFile();
        if (!m_options.quiet)
            drawBox();
    }

private:
    // One byte from the line; an exit status when the simulator stops.
    std::optional<int> take(quint8 byte)
    {
        ++m_received;
        if (m_options.dropAfter >= 0 && m_received >= m_options.dropAfter) {
            report(QStringLiteral("hanging up after %1 bytes").arg(m_received));
            m_line.hangUp();
            return 0;
        }
        switch (m_display.feed(byte)) {
        case DisplaySimulator::Event::None:
            return std::nullopt;
        case DisplaySimulator::Event::BadLead:
            report(QStringLiteral("download ignored: lead byte 0x%1 instead of 0xAA")
                       .arg(byte, 2, 16, QLatin1Char('0')));
            return std::nullopt;
        case DisplaySimulator::Event::Downloaded:
            stored();
            break;
        case DisplaySimulator::Event::Kept:
            report(QStringLiteral("download: image kept (--keep-image), %1 bytes received since "
                                  "start")
                       .arg(m_received));
            break;
        case DisplaySimulator::Event::UploadRequested:
            if (m_options.display.noAnswer) {
                report(QStringLiteral("upload request ignored"));
                return std::nullopt;
            }
            if (!answer())
                return 1;
            break;
        }
        if (!m_options.once)
            return std::nullopt;
        // Let the utility read the last bytes before the line goes.
        pause(500);
        return 0;
    }

    // A new image came. It is saved before it is reported, so that whoever
    // waits for the report finds the whole file.
    void stored()
    {
        const Result<void> saved =
            m_options.saveFile.isEmpty()
                ? Result<void>()
                : SettingsFile::write(m_options.saveFile, m_display.image().configBytes());
        report(QStringLiteral("download: new image, %1 bytes received since start\n%2")
                   .arg(m_received)
                   .arg(m_display.describe()));
        if (!saved)
            fail(QStringLiteral("%1: %2").arg(m_options.saveFile, Messages::reason(saved.error())));
    }

    // Sends the reply to an upload request; false when the line is gone.
    bool answer()
    {
        const QByteArray reply = m_display.uploadReply();
        pause(m_options.firstByteDelay);
        if (!m_line.write(reply.left(1)) || !m_line.write(reply.mid(1))) {
            report(QStringLiteral("line closed: %1").arg(m_line.errorString()));
            return false;
        }
        report(QStringLiteral("upload: answered with %1 bytes").arg(reply.size()));
        return true;
    }

    // Whole or not at all, so that a reader never sees half a screen.
    void writeScreenFile()
    {
        QSaveFile file(m_options.screenFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(m_view.fileText()) < 0 ||
            !file.commit())
            fail(QStringLiteral("%1: %2").arg(m_options.screenFile, file.errorString()));
    }

    // On a terminal the box is drawn over the one before when nothing was
    // printed since; elsewhere it is printed again as plain lines.
    void drawBox()
    {
        const QStringList lines = m_view.lines();
        QString text;
        if (m_terminal && s_boxLines > 0)
            text += QStringLiteral("\r\x1b[%1A").arg(s_boxLines); // up to the box's first line
        for (const QString &line : lines)
            text += (m_terminal ? QStringLiteral("\x1b[2K") : QString()) + line + QLatin1Char('\n');
        if (m_terminal)
            text += QStringLiteral("\x1b[J"); // the rest of an older, longer box
        std::fputs(qPrintable(text), stdout);
        std::fflush(stdout);
        s_boxLines = m_terminal ? static_cast<int>(lines.size()) : 0;
    }

    SimLine &m_line;
    DisplaySimulator &m_display;
    const SimOptions &m_options;
    ScreenView m_view;
    const bool m_terminal = ::isatty(STDOUT_FILENO) == 1;
    int m_received = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tq540sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TQ540_VERSION));
    if (const std::optional<int> status = Till::runIfAsked(app.arguments()))
        return *status;

    const SimOptions options = parseOptions(app);
    s_quiet = options.quiet;
    DisplaySimulator display(options.display);
    SettingsImage image = options.image ? startImage(*options.image) : SettingsImage();
    if (options.commandSet)
        image.set(ImageLayout::CommandSet, static_cast<quint8>(*options.commandSet));
    display.setImage(image);

    watchSignals();
    const std::unique_ptr<SimLine> line = openLine(options);
    if (options.stale > 0)
        line->write(QByteArray(options.stale, static_cast<char>(options.staleByte)));
    say(QStringLiteral("port: %1").arg(line->name()));
    report(QStringLiteral("image at start:\n%1").arg(display.describe()));
    Server server(*line, display, options);
    server.showScreen();
    return server.run();
}
