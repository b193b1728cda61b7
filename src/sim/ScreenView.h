#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "screen/ScreenInterpreter.h"

// What the simulator shows of its glass: a box of two rows of 20 columns,
// the command set in its top border, and notes under it. Keeps the newest
// byte sequences the screen did not interpret, so that a speed or
// command-set mismatch can be seen, and tells whether anything shown changed.
class ScreenView
{
public:
    static constexpr qsizetype NewestKept = 6;

    // Takes the screen and the sequences it did not interpret since the last
    // update; true when the view changed (the first call always is).
    bool update(const ScreenInterpreter &screen, const ScreenInterpreter::Unknown &unknown);

    // The box and its notes, one line each.
    QStringList lines() const;
    // The two rows, each ended by a newline: what --screen holds.
    QByteArray fileText() const;

private:
    Screen m_screen;
    int m_commandSet = -1;
    bool m_interpreting = false;
    bool m_shown = false;
    std::optional<int> m_scrollingRow;
    QList<QByteArray> m_newest; // oldest first
    qsizetype m_unknownCount = 0;
};
