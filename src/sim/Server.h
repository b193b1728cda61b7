#pragma once

#include <csignal>
#include <optional>

#include <QByteArray>

#include "Console.h"
#include "DisplaySimulator.h"
#include "GlassFile.h"
#include "ScreenView.h"
#include "SimLine.h"
#include "SimOptions.h"
#include "link/TickCounter.h"

// The display on its line: takes bytes and answers, as the options shape
// it, shows its screen, and keeps --screen and --save.
class Server
{
public:
    Server(SimLine &line, DisplaySimulator &display, const SimOptions &options, Console &console,
           TickCounter &ticks, const volatile std::sig_atomic_t &stop);

    // Until a stop request, a hang-up, a file that cannot be written or the
    // end of --once; the exit status.
    int run();

    // Draws the box and writes --screen and --png when what they show
    // changed; false when a file cannot be written (said on stderr).
    bool showScreen();

    // Bytes received since start, those not taken at another speed included.
    qint64 received() const { return m_received; }

private:
    std::optional<int> takeChunk(const QByteArray &bytes);
    std::optional<int> take(quint8 byte);
    bool atListeningSpeed(const QByteArray &bytes);
    void noteQuiet();
    bool stored();
    bool answer();
    bool writeScreenFile();
    bool writeGlassFile();
    void pause(int ms);

    SimLine &m_line;
    DisplaySimulator &m_display;
    const SimOptions &m_options;
    Console &m_console;
    TickCounter &m_ticks;
    const volatile std::sig_atomic_t &m_stop;
    ScreenView m_view;
    QByteArray m_screenWritten;           // what --screen holds
    std::optional<GlassFile> m_glassFile; // with --png
    qint64 m_received = 0;
    quint32 m_lastByteAt = 0;
    int m_foreignSpeed = 0; // the other speed bytes came at last, 0 when none
};
