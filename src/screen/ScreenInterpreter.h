#pragma once

#include <memory>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include "screen/Screen.h"

class SetMachine;
class UnknownLog;

// A two-line display in normal operation: it reads the bytes a point-of-sale
// program sends in one command set and keeps what the glass shows. A byte
// sequence it does not interpret is reported, not drawn.
//
// KS310, DSP800 and a position outside the Command Mode list are not
// interpreted: no public description says which of their bytes are commands,
// so every byte is shown as data at the cursor (one outside 0x20..0x7E shows
// as '?' and is also reported).
class ScreenInterpreter
{
public:
    struct Unknown
    {
        QList<QByteArray> sequences; // oldest first
        qsizetype dropped = 0;       // older ones that no longer fitted
        bool isEmpty() const { return sequences.isEmpty() && dropped == 0; }
    };

    // `commandSet` is a position in the Command Mode list (image byte 6).
    explicit ScreenInterpreter(int commandSet);
    ~ScreenInterpreter();
    ScreenInterpreter(const ScreenInterpreter &) = delete;
    ScreenInterpreter &operator=(const ScreenInterpreter &) = delete;

    static bool interprets(int commandSet);
    bool interpreting() const { return interprets(m_commandSet); }
    int commandSet() const { return m_commandSet; }

    // Reads what follows in another set. The screen stays; a command cut
    // short is reported as unknown. The same set again changes nothing.
    void setCommandSet(int commandSet);

    // A blank screen, the cursor home and the set in its power-on state;
    // reports and half-received commands are dropped.
    void reset();

    // Returns whether the screen (a cell or the cursor) changed.
    bool feed(QByteArrayView bytes);

    const Screen &screen() const { return m_screen; }
    QString rowText(int row) const { return m_screen.rowText(row); }

    // Whether the bytes so far end inside a command that waits for more.
    bool waiting() const;

    bool hasUnknown() const;
    Unknown unknown() const;
    Unknown takeUnknown(); // and forgets them

private:
    int m_commandSet;
    Screen m_screen;
    std::unique_ptr<UnknownLog> m_log;
    std::unique_ptr<SetMachine> m_machine;
};
