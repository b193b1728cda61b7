#pragma once

#include <functional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the simulator prints: report lines, and the screen box, which on a
// terminal is drawn over the box before when nothing was printed since.
class Console
{
public:
    // Writes bytes as they are; columns() is the terminal's width, 0 when
    // the output is no terminal.
    using Write = std::function<void(const QByteArray &bytes)>;
    using Columns = std::function<int()>;

    Console(Write write, Columns columns, bool quiet);
    // stdout, and its width when it is a terminal.
    static Console standard(bool quiet);

    // A line always printed (the port).
    void say(const QString &text);
    // A line printed unless quiet.
    void report(const QString &text);
    // The box and its notes: drawn over the box before on a terminal;
    // elsewhere printed again as plain lines.
    void drawBox(const QStringList &lines);

    // The terminal rows that `lines` take on a terminal `columns` wide: a
    // line wider than the terminal wraps onto more rows.
    static int rowsTaken(const QStringList &lines, int columns);

private:
    Write m_write;
    Columns m_columns;
    bool m_quiet;
    // Terminal rows of the box printed last, with nothing after it; 0 when
    // other lines followed.
    int m_boxRows = 0;
};
