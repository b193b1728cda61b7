#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include "commandsets/CommandSet.h"
#include "screen/DisplayLook.h"
#include "screen/Leads.h"
#include "screen/Screen.h"
#include "screen/UnknownLog.h"
#include "screen/UserCharacters.h"

// A two-line display in normal operation: it reads the bytes a point-of-sale
// program sends in one command set and keeps what the glass shows. A byte
// sequence it does not interpret is reported, not drawn. Every described set
// is read from its rows (CommandSets::Description), one byte at a time: a
// command's lead, as soon as it is complete, then its parameters, then a
// line command's text; the bytes of a command not yet complete are held.
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

    // A blank screen, the cursor home, the look and the set in their power-on state;
    // reports and half-received commands are dropped.
    void reset();

    // Returns whether the screen (a cell or the cursor) changed.
    bool feed(QByteArrayView bytes);

    const Screen &screen() const { return m_screen; }
    QString rowText(int row) const { return m_screen.rowText(row); }

    // Whether the bytes so far end inside a command that waits for more.
    bool waiting() const;

    // Brightness, cursor and blinking as the till set them; the cursor's
    // cell is the screen's.
    const DisplayLook &look() const { return m_look; }
    // Glyphs the till defined, for the glass to draw.
    const UserCharacters &userCharacters() const { return m_userCharacters; }
    // The row whose text a scroll command set moving; the glass shows how
    // it began. None once anything else comes.
    std::optional<int> scrollingRow() const { return m_scrollingRow; }

    bool hasUnknown() const;
    Unknown unknown() const;
    Unknown takeUnknown(); // and forgets them

private:
    void take(quint8 byte);
    void takeLead(quint8 byte);
    void takeParameter(quint8 byte);
    void takeText(quint8 byte);
    void takeDefinition(quint8 byte);
    void leadComplete();
    void carryOut();
    void apply(const CommandSets::Command &command, QByteArrayView parameters);
    void write(quint8 code);
    void finishText();
    void report();
    void endCommand();
    void startOver();

    int m_commandSet;
    const CommandSets::Description *m_set;
    Screen m_screen;
    DisplayLook m_look;
    UnknownLog m_log;
    QByteArray m_held;                               // a command not yet complete
    const CommandSets::Command *m_command = nullptr; // the one its lead names
    qsizetype m_textStart = -1;                      // where its text begins in m_held
    std::optional<quint8> m_closingTerminator;       // after a text that reached its limit
    CommandSets::Mode m_mode = CommandSets::Mode::Overwrite;
    // Vertical scroll: the lower row is full and moves up when the next
    // character comes, so that it stays readable until then.
    bool m_scrollPending = false;
    UserCharacters m_userCharacters;
    std::optional<int> m_scrollingRow;
    QByteArray m_clock; // the time a clock command last set
    Leads m_leads;
};
