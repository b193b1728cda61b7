#include "Console.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

Console::Console(Write write, Columns columns, bool quiet)
    : m_write(std::move(write)), m_columns(std::move(columns)), m_quiet(quiet)
{
}

Console Console::standard(bool quiet)
{
    const auto write = [](const QByteArray &bytes) {
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    };
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    // The width is asked at every drawing: the window may have been resized.
    const auto columns = [terminal] {
        winsize size{};
        if (!terminal)
            return 0;
        return ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? int(size.ws_col)
                                                                                 : 80;
    };
    return Console(write, columns, quiet);
}

void Console::say(const QString &text)
{
    m_write((text + QLatin1Char('\n')).toLocal8Bit());
    m_boxRows = 0;
}

void Console::report(const QString &text)
{
    if (!m_quiet)
        say(text);
}

int Console::rowsTaken(const QStringList &lines, int columns)
{
    int rows = 0;
    for (const QString &line : lines)
        rows += columns > 0 ? qMax<int>(1, int((line.size() + columns - 1) / columns)) : 1;
    return rows;
}

void Console::drawBox(const QStringList &lines)
{
    const int columns = m_columns();
    QString text;
    if (columns > 0 && m_boxRows > 0)
        text += QStringLiteral("\r\x1b[%1A").arg(m_boxRows); // up to the box's first row
    // On a terminal each row is cleared where a line begins and after its
    // end, so that no part of a longer, older line stays beside it.
    for (const QString &line : lines)
        text +=
            columns > 0 ? QStringLiteral("\x1b[2K%1\x1b[K\n").arg(line) : line + QLatin1Char('\n');
    if (columns > 0)
        text += QStringLiteral("\x1b[J"); // the rest of an older, longer box
    m_write(text.toLocal8Bit());
    m_boxRows = columns > 0 ? rowsTaken(lines, columns) : 0;
}
