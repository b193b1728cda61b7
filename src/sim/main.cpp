// tq540sim: plays a TQ-540 display on a pseudo-terminal or a serial device.

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include "DisplaySimulator.h"
#include "SimLine.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int)
{
    g_stop = 1;
}

bool s_quiet = false;

void say(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
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

// Sleeps in small slices so that a stop request is not held up.
void pause(int ms)
{
    for (int slept = 0; slept < ms && !g_stop; slept += 10)
        ::usleep(static_cast<useconds_t>(qMin(10, ms - slept)) * 1000);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tq540sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TQ540_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a TQ-540 customer display for the setup utility. By default it "
                       "opens a pseudo-terminal and prints the port to type into Comm."));
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
    parser.process(app);

    s_quiet = parser.isSet(QStringLiteral("quiet"));

    DisplaySimulator::Options options;
    options.noAnswer = parser.isSet(QStringLiteral("no-answer"));
    options.keepImage = parser.isSet(QStringLiteral("keep-image"));
    options.lead = static_cast<quint8>(
        intOption(parser, QStringLiteral("wrong-lead"), Protocol::LeadByte, 0, 255));
    options.replyLength = intOption(parser, QStringLiteral("short"), -1, 0, Protocol::ReplyLength);
    options.extraBytes = intOption(parser, QStringLiteral("extra"), 0, 0, 65536);
    const int firstByteDelay = intOption(parser, QStringLiteral("first-byte-delay"), 0, 0, 60000);
    const int stale = intOption(parser, QStringLiteral("stale"), 0, 0, 4096);
    const int staleByte = intOption(parser, QStringLiteral("stale-byte"), 0x5A, 0, 255);
    const int dropAfter = intOption(parser, QStringLiteral("drop-after"), -1, 0, 1 << 20);
    const int baud = intOption(parser, QStringLiteral("baud"), 9600, 1, 4000000);
    const bool once = parser.isSet(QStringLiteral("once"));
    const QString saveFile = parser.value(QStringLiteral("save"));

    DisplaySimulator display(options);
    if (parser.isSet(QStringLiteral("image"))) {
        QFile file(parser.value(QStringLiteral("image")));
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
        const QByteArray bytes = file.readAll();
        SettingsImage image;
        if (bytes.size() != ImageLayout::ConfigLength || !image.setConfigBytes(bytes))
            fail(QStringLiteral("%1 holds %2 bytes; a .vfd file holds %3")
                     .arg(file.fileName())
                     .arg(bytes.size())
                     .arg(ImageLayout::ConfigLength));
        display.setImage(image);
    }

    // Ends with the test or shell that started it, and on Ctrl+C.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    std::signal(SIGHUP, requestStop);
    std::signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<SimLine> line;
    if (parser.isSet(QStringLiteral("device"))) {
        auto device = std::make_unique<DeviceLine>(parser.value(QStringLiteral("device")), baud);
        if (!device->isOpen())
            fail(device->errorString());
        line = std::move(device);
    } else {
        auto pty = std::make_unique<PtyLine>();
        if (!pty->isOpen())
            fail(pty->errorString());
        line = std::move(pty);
    }

    if (stale > 0)
        line->write(QByteArray(stale, static_cast<char>(staleByte)));
    say(QStringLiteral("port: %1").arg(line->name()));
    report(QStringLiteral("image at start:\n%1").arg(display.describe()));

    int received = 0;
    while (!g_stop) {
        const QByteArray bytes = line->read(50);
        if (line->isBroken()) {
            report(QStringLiteral("line closed: %1").arg(line->errorString()));
            return 1;
        }
        for (const char byte : bytes) {
            ++received;
            if (dropAfter >= 0 && received >= dropAfter) {
                report(QStringLiteral("hanging up after %1 bytes").arg(received));
                line->hangUp();
                return 0;
            }
            switch (display.feed(static_cast<quint8>(byte))) {
            case DisplaySimulator::Event::None:
                continue;
            case DisplaySimulator::Event::BadLead:
                report(QStringLiteral("download ignored: lead byte 0x%1 instead of 0xAA")
                           .arg(static_cast<quint8>(byte), 2, 16, QLatin1Char('0')));
                continue;
            case DisplaySimulator::Event::Downloaded:
                report(QStringLiteral("download: new image, %1 bytes received since start\n%2")
                           .arg(received)
                           .arg(display.describe()));
                if (!saveFile.isEmpty()) {
                    QFile file(saveFile);
                    if (!file.open(QIODevice::WriteOnly) ||
                        file.write(display.image().configBytes()) != ImageLayout::ConfigLength)
                        fail(QStringLiteral("%1: %2").arg(saveFile, file.errorString()));
                }
                break;
            case DisplaySimulator::Event::Kept:
                report(QStringLiteral("download: image kept (--keep-image), %1 bytes received "
                                      "since start")
                           .arg(received));
                break;
            case DisplaySimulator::Event::UploadRequested: {
                if (options.noAnswer) {
                    report(QStringLiteral("upload request ignored"));
                    continue;
                }
                const QByteArray reply = display.uploadReply();
                pause(firstByteDelay);
                if (!line->write(reply.left(1)) || !line->write(reply.mid(1))) {
                    report(QStringLiteral("line closed: %1").arg(line->errorString()));
                    return 1;
                }
                report(QStringLiteral("upload: answered with %1 bytes").arg(reply.size()));
                break;
            }
            }
            if (once) {
                // Let the utility read the last bytes before the line goes.
                pause(500);
                return 0;
            }
        }
    }
    return 0;
}
