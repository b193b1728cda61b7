#include "Server.h"

#include <cstdio>
#include <unistd.h>

#include "files/SettingsFile.h"
#include "messages/Messages.h"

namespace {

// A failure goes to stderr, beside the exit status it brings.
void complain(const QString &text)
{
    std::fputs(qPrintable(QStringLiteral("tq540sim: %1\n").arg(text)), stderr);
}

} // namespace

Server::Server(SimLine &line, DisplaySimulator &display, const SimOptions &options,
               Console &console, TickCounter &ticks, const volatile std::sig_atomic_t &stop)
    : m_line(line), m_display(display), m_options(options), m_console(console), m_ticks(ticks),
      m_stop(stop), m_lastByteAt(ticks.GetTickCount())
{
    if (!options.pngFile.isEmpty())
        m_glassFile.emplace(options.pngFile);
}

int Server::run()
{
    while (!m_stop) {
        const QByteArray bytes = m_line.read(50);
        if (m_line.isBroken()) {
            m_console.report(QStringLiteral("line closed: %1").arg(m_line.errorString()));
            return 1;
        }
        if (bytes.isEmpty())
            noteQuiet();
        else if (const std::optional<int> status = takeChunk(bytes))
            return *status;
        if (!showScreen())
            return 1;
    }
    return 0;
}

std::optional<int> Server::takeChunk(const QByteArray &bytes)
{
    m_lastByteAt = m_ticks.GetTickCount();
    if (!atListeningSpeed(bytes)) {
        m_received += bytes.size();
        return std::nullopt;
    }
    for (const char byte : bytes) {
        if (const std::optional<int> status = take(static_cast<quint8>(byte)))
            return status;
    }
    return std::nullopt;
}

// A display set to another speed than the sender's does not make out its
// bytes: they are not taken, and the console says so once per burst.
bool Server::atListeningSpeed(const QByteArray &bytes)
{
    const std::optional<int> sent = m_line.speedSet();
    if (!m_options.baud || !sent || *sent == *m_options.baud) {
        m_foreignSpeed = 0;
        return true;
    }
    if (m_foreignSpeed != *sent)
        m_console.report(QStringLiteral("%1 bytes sent at %2 baud not taken: this display listens "
                                        "at %3 baud")
                             .arg(bytes.size())
                             .arg(*sent)
                             .arg(*m_options.baud));
    m_foreignSpeed = *sent;
    return false;
}

void Server::noteQuiet()
{
    const int exchanged = m_display.exchangeBytes();
    const int quiet = elapsedTicks(m_lastByteAt, m_ticks.GetTickCount());
    if (m_display.lineQuiet(quiet) == DisplaySimulator::Event::CutShort)
        m_console.report(QStringLiteral("download cut short after %1 of 129 bytes and %2 ms of "
                                        "quiet: dropped; what follows is screen data again")
                             .arg(exchanged)
                             .arg(quiet));
}

bool Server::showScreen()
{
    // The glass also changes with a download (its set, its characters).
    if (!writeGlassFile())
        return false;
    if (!m_view.update(m_display.screen(), m_display.takeUnknown()))
        return true;
    if (!m_options.quiet)
        m_console.drawBox(m_view.lines());
    return m_options.screenFile.isEmpty() || writeScreenFile();
}

std::optional<int> Server::take(quint8 byte)
{
    ++m_received;
    if (m_options.dropAfter >= 0 && m_received >= m_options.dropAfter) {
        m_console.report(QStringLiteral("hanging up after %1 bytes").arg(m_received));
        m_line.hangUp();
        return 0;
    }
    switch (m_display.feed(byte)) {
    case DisplaySimulator::Event::None:
    case DisplaySimulator::Event::CutShort:
        return std::nullopt;
    case DisplaySimulator::Event::BadLead:
        m_console.report(QStringLiteral("download ignored: lead byte 0x%1 instead of 0xAA")
                             .arg(byte, 2, 16, QLatin1Char('0')));
        return std::nullopt;
    case DisplaySimulator::Event::Downloaded:
        if (!stored())
            return 1;
        break;
    case DisplaySimulator::Event::Kept:
        m_console.report(QStringLiteral("download: image kept (--keep-image), %1 bytes received "
                                        "since start")
                             .arg(m_received));
        break;
    case DisplaySimulator::Event::UploadRequested:
        if (m_options.display.noAnswer) {
            m_console.report(QStringLiteral("upload request ignored"));
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
bool Server::stored()
{
    const Result<void> saved =
        m_options.saveFile.isEmpty()
            ? Result<void>()
            : SettingsFile::write(m_options.saveFile, m_display.image().configBytes());
    m_console.report(QStringLiteral("download: new image, %1 bytes received since start\n%2")
                         .arg(m_received)
                         .arg(m_display.describe()));
    if (!saved)
        complain(Messages::fileFailure(saved.error()));
    return saved.ok();
}

bool Server::answer()
{
    const QByteArray reply = m_display.uploadReply();
    pause(m_options.firstByteDelay);
    if (!m_line.write(reply.left(1)) || !m_line.write(reply.mid(1))) {
        m_console.report(QStringLiteral("line closed: %1").arg(m_line.errorString()));
        return false;
    }
    m_console.report(QStringLiteral("upload: answered with %1 bytes").arg(reply.size()));
    return true;
}

// Whole or not at all, so that a reader never sees half a screen; only
// when the rows changed, so that notes alone cost no write; never over
// what is not a regular file, as every save.
bool Server::writeScreenFile()
{
    const QByteArray text = m_view.fileText();
    if (text == m_screenWritten)
        return true;
    const Result<void> written = SettingsFile::replaceRegular(m_options.screenFile, text);
    if (!written) {
        complain(QStringLiteral("--screen ") + Messages::fileFailure(written.error()));
        return false;
    }
    m_screenWritten = text;
    return true;
}

bool Server::writeGlassFile()
{
    if (!m_glassFile)
        return true;
    const Result<void> saved = m_glassFile->update(m_display.screen(), m_display.image());
    if (!saved)
        complain(QStringLiteral("--png ") + Messages::fileFailure(saved.error()));
    return bool(saved);
}

// Sleeps in small slices so that a stop request is not held up.
void Server::pause(int ms)
{
    for (int slept = 0; slept < ms && !m_stop; slept += 10)
        ::usleep(static_cast<useconds_t>(qMin(10, ms - slept)) * 1000);
}
