#include "SimOptions.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "messages/Messages.h"
#include "model/DisplaySettings.h"

void failSim(const QString &text)
{
    std::fputs(qPrintable(QStringLiteral("tq540sim: %1\n").arg(text)), stderr);
    std::exit(1);
}

namespace {

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
    option("baud",
           "The speed the display listens at (8 data bits, no parity, 1 stop bit): of --device "
           "(default 9600); on a pseudo-terminal, bytes sent at another speed are not taken, as "
           "a display set to another speed would not (default: any speed).",
           "speed");
    option("link",
           "Also name the pseudo-terminal by this path: a symbolic link, made at start and "
           "removed at exit, so that the port keeps one name from run to run.",
           "path");
    option("image",
           "Start from this .vfd file (126 bytes) instead of the factory settings a new display "
           "has.",
           "file");
    option("save", "Write the image to this file after every download.", "file");
    option("command",
           "Start in this command set (list entry, any case, \"(Default)\" optional, or its "
           "position 0 to 9) instead of the image's.",
           "name");
    option("screen",
           "After every change of the screen, replace this file with its two rows of 20 "
           "characters (a code outside 0x20..0x7E as ?).",
           "file");
    option("png",
           "After every change of the glass, replace this PNG file with a picture of it: the "
           "screen in the image's Character Type and user-defined characters.",
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
    // Read by Till.cpp before the rest; here for --help.
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
    // New options go above this line, their fields into SimOptions.
}

int intOption(const QCommandLineParser &parser, const QString &name, int fallback, int low,
              int high)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok, 0);
    if (!ok || value < low || value > high)
        failSim(QStringLiteral("--%1 needs a number from %2 to %3, not \"%4\"")
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

} // namespace

// A command set as tq540ctl takes a list entry: its text, an alias or its position.
int commandSetOf(const QString &name, const QString &option)
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
        failSim(QStringLiteral("--%1 %2: give an entry of \"%3\" or its position 0 to %4")
                    .arg(option, Messages::quoted(name),
                         setting.entries().join(QStringLiteral("\", \"")))
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
    options.dropAfter = number("drop-after", -1, 0, std::numeric_limits<int>::max());
    if (isSet("baud"))
        options.baud = number("baud", 9600, 1, 4000000);
    options.link = textOption(parser, QStringLiteral("link"));
    options.once = isSet("once");
    options.saveFile = parser.value(QStringLiteral("save"));
    options.screenFile = parser.value(QStringLiteral("screen"));
    options.pngFile = parser.value(QStringLiteral("png"));
    if (const std::optional<QString> name = textOption(parser, QStringLiteral("command")))
        options.commandSet = commandSetOf(*name);
    options.image = textOption(parser, QStringLiteral("image"));
    options.device = textOption(parser, QStringLiteral("device"));
    return options;
}
