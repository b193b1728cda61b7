#include "screen/SetMachines.h"

#include <algorithm>

#include "commandsets/CommandSets.h"
#include "screen/Screen.h"

// Each set is read from what public programming guides of two-line customer
// displays agree on: its commands, printable bytes (0x20..0x7E) written at
// the cursor, and 0D to the start of the cursor's row. Anything else is
// reported, never drawn. Where the guides name a command without saying
// where the cursor goes, it stays where it is.

void UnknownLog::add(const QByteArray &sequence)
{
    if (m_sequences.size() == Limit) {
        m_sequences.removeFirst();
        ++m_dropped;
    }
    m_sequences.append(sequence);
}

void UnknownLog::clear()
{
    m_sequences.clear();
    m_dropped = 0;
}

void SetMachine::abandon()
{
    if (!m_held.isEmpty())
        m_log.add(m_held);
    m_held.clear();
    m_textRow = -1;
    m_closingReturn = false;
}

void SetMachine::report()
{
    m_log.add(m_held);
    m_held.clear();
}

void SetMachine::beginText(int firstRow, int limit)
{
    m_textRow = firstRow;
    m_textLimit = limit;
    m_textStart = m_held.size();
}

SetMachine::TextStep SetMachine::takeText(quint8 byte)
{
    if (!inText()) {
        const bool closing = m_closingReturn && byte == 0x0D;
        m_closingReturn = false;
        return closing ? TextStep::Taken : TextStep::NotInText;
    }
    if (byte == 0x0D) {
        finishText();
        return TextStep::Taken;
    }
    if (byte < 0x20 || byte > 0x7E)
        return TextStep::Stray;
    hold(byte);
    if (m_held.size() - m_textStart == m_textLimit) {
        finishText();
        m_closingReturn = true;
    }
    return TextStep::Taken;
}

void SetMachine::dropText()
{
    m_textRow = -1;
    m_held.clear();
}

void SetMachine::finishText()
{
    const QByteArray text = m_held.mid(m_textStart);
    for (int row = m_textRow; row < Screen::Rows; ++row) {
        const qsizetype from = qsizetype(row - m_textRow) * Screen::Columns;
        if (from >= m_textLimit)
            break;
        m_screen.setRow(row, QByteArrayView(text).sliced(std::min(from, text.size())));
    }
    dropText();
}

namespace {

constexpr quint8 BS = 0x08, HT = 0x09, LF = 0x0A, FF = 0x0C, CR = 0x0D, SO = 0x0E, SI = 0x0F;
constexpr quint8 DLE = 0x10, DC1 = 0x11, DC2 = 0x12, CAN = 0x18, ESC = 0x1B, RS = 0x1E, US = 0x1F;

bool printable(quint8 byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

// KS310, DSP800: no public command table, so no byte is taken as a command.
// Every byte goes to the cursor; one outside 0x20..0x7E is also reported, so
// that the '?' it shows as can be told apart.
class DataOnly : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        m_screen.put(byte);
        if (!printable(byte))
            reportByte(byte);
    }
};

// ESC/POS for customer displays.
class EpsonSet : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        if (m_held.isEmpty()) {
            if (printable(byte))
                m_screen.put(byte);
            else if (byte == CR)
                m_screen.carriageReturn();
            else if (byte == FF)
                m_screen.clear();
            else if (byte == ESC || byte == US)
                hold(byte);
            else
                reportByte(byte);
            return;
        }
        hold(byte);
        if (held(0) == ESC)
            escape();
        else
            unitSeparator();
    }

private:
    void escape()
    {
        if (m_held.size() == 2) {
            if (held(1) == 0x40) { // ESC @ initialise
                m_screen.clear();
                m_screen.home();
                done();
            } else if (held(1) != 0x3D && held(1) != 0x52) {
                report();
            }
            return;
        }
        // ESC = 2 selects the display; any other peripheral is not modelled.
        // ESC R n picks a character set, whose glyphs are not publicly
        // settled: it is reported, and n is not drawn.
        if (held(1) == 0x3D && held(2) == 0x02)
            done();
        else
            report();
    }

    void unitSeparator()
    {
        if (m_held.size() == 2) {
            if (held(1) == 0x01) // US 1: overwrite mode, the only mode modelled
                done();
            else if (held(1) != 0x24)
                report();
            return;
        }
        if (m_held.size() < 4)
            return;
        // US $ x y: column 1..20, row 1..2
        const int x = held(2), y = held(3);
        if (x >= 1 && x <= Screen::Columns && y >= 1 && y <= Screen::Rows) {
            m_screen.moveCursor(y - 1, x - 1);
            done();
        } else {
            report();
        }
    }
};

// "UTC standard": DLE n positions the cursor on cell n, 0..0x27. One guide
// prints that command as 0F; every other says DLE, so 0F is reported.
class UtcStandardSet : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        if (!m_held.isEmpty()) {
            hold(byte);
            if (byte < Screen::Rows * Screen::Columns) {
                m_screen.moveCursor(byte / Screen::Columns, byte % Screen::Columns);
                done();
            } else {
                report();
            }
            return;
        }
        if (printable(byte))
            m_screen.put(byte);
        else if (byte == CR)
            m_screen.carriageReturn();
        else if (byte == US)
            m_screen.clear();
        else if (byte == RS) {
            m_screen.clear();
            m_screen.home();
        } else if (byte == DC1) {
            // normal (overwrite) mode, the only mode modelled
        } else if (byte == DLE)
            hold(byte);
        else
            reportByte(byte);
    }
};

// "UTC enhanced": ESC u A / ESC u B, text, 0D replace a row.
class UtcEnhancedSet : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        switch (takeText(byte)) {
        case TextStep::Taken:
            return;
        case TextStep::Stray:
            reportByte(byte);
            return;
        case TextStep::NotInText:
            break;
        }
        if (m_held.isEmpty()) {
            if (printable(byte))
                m_screen.put(byte);
            else if (byte == CR)
                m_screen.carriageReturn();
            else if (byte == ESC)
                hold(byte);
            else
                reportByte(byte);
            return;
        }
        hold(byte);
        if (m_held.size() == 2) {
            if (byte == 0x64) // ESC d: switch to enhanced mode, which this already is
                done();
            else if (byte != 0x75)
                report();
        } else if (byte == 0x41 || byte == 0x42) {
            beginText(byte - 0x41, Screen::Columns);
        } else {
            report();
        }
    }
};

// AEDEX and EMAX: "!#1" / "!#2" text 0D replace a row, "!#9" text (up to
// 40) 0D both. Guides disagree on "!#A", so it is reported like any other.
// A '!' is shown only when the next byte shows that it starts no command.
class AedexSet : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        switch (takeText(byte)) {
        case TextStep::Taken:
            return;
        case TextStep::Stray:
            reportByte(byte);
            return;
        case TextStep::NotInText:
            break;
        }
        if (m_held.isEmpty()) {
            if (byte == '!')
                hold(byte);
            else if (printable(byte))
                m_screen.put(byte);
            else if (byte == CR)
                m_screen.carriageReturn();
            else
                reportByte(byte);
            return;
        }
        if (m_held.size() == 1) {
            if (byte == '#') {
                hold(byte);
            } else { // a '!' that starts no command is text
                done();
                m_screen.put('!');
                take(byte);
            }
            return;
        }
        hold(byte);
        if (byte == '1')
            beginText(0, Screen::Columns);
        else if (byte == '2')
            beginText(1, Screen::Columns);
        else if (byte == '9')
            beginText(0, Screen::Rows * Screen::Columns);
        else
            report();
    }
};

class Adm788Set : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        if (printable(byte))
            m_screen.put(byte);
        else if (byte == CR)
            m_screen.carriageReturn();
        else if (byte == FF)
            m_screen.clear();
        else if (byte == SO || byte == SI) { // clear a row, cursor to its start
            const int row = byte == SO ? 0 : 1;
            m_screen.clearRow(row);
            m_screen.moveCursor(row, 0);
        } else
            reportByte(byte);
    }
};

// ESC Q A / ESC Q B enter string mode for a row; in it only CLR and CAN are
// taken besides the text and its closing 0D.
class Cd5220Set : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        switch (takeText(byte)) {
        case TextStep::Taken:
            return;
        case TextStep::Stray:
            if (byte == FF) { // clear the display and leave string mode
                dropText();
                m_screen.clear();
            } else if (byte == CAN) { // cancel: the string is not shown
                dropText();
            } else {
                reportByte(byte);
            }
            return;
        case TextStep::NotInText:
            break;
        }
        if (m_held.isEmpty()) {
            if (printable(byte))
                m_screen.put(byte);
            else if (byte == CR)
                m_screen.carriageReturn();
            else if (byte == FF)
                m_screen.clear();
            else if (byte == ESC)
                hold(byte);
            else
                reportByte(byte);
            return;
        }
        hold(byte);
        switch (held(1)) {
        case 0x40: // ESC @ initialise: what it shows is not settled, so the screen stays
            done();
            break;
        case 0x51: // ESC Q A / B
            if (m_held.size() == 3) {
                if (byte == 0x41 || byte == 0x42)
                    beginText(byte - 0x41, Screen::Columns);
                else
                    report();
            }
            break;
        case 0x66: // ESC f n: a character set, whose glyphs are not settled; reported
            if (m_held.size() == 3)
                report();
            break;
        case 0x6C: // ESC l x y: column 1..20, row 1..2
            if (m_held.size() == 4) {
                const int x = held(2), y = held(3);
                if (x >= 1 && x <= Screen::Columns && y >= 1 && y <= Screen::Rows) {
                    m_screen.moveCursor(y - 1, x - 1);
                    done();
                } else {
                    report();
                }
            }
            break;
        default:
            report();
        }
    }
};

// Logic Controls: DLE n positions the cursor on cell n, 0..0x27. It powers up
// (and resets) in vertical scroll mode, where text that runs past the end of
// the lower row moves it up to the upper row; DC1 selects normal overwrite.
class LogicControlSet : public SetMachine
{
public:
    using SetMachine::SetMachine;

    void take(quint8 byte) override
    {
        if (!m_held.isEmpty()) {
            hold(byte);
            if (byte < Screen::Rows * Screen::Columns) {
                m_screen.moveCursor(byte / Screen::Columns, byte % Screen::Columns);
                m_pastEnd = false;
                done();
            } else {
                report();
            }
            return;
        }
        const int row = m_screen.cursorRow(), column = m_screen.cursorColumn();
        switch (byte) {
        case CR:
            m_screen.carriageReturn();
            m_pastEnd = false;
            break;
        case LF:
            lineFeed();
            break;
        case BS: // one column back, never off the row
            if (!m_pastEnd && column > 0)
                m_screen.moveCursor(row, column - 1);
            m_pastEnd = false;
            break;
        case HT: // one column on, never off the row
            if (column < Screen::Columns - 1)
                m_screen.moveCursor(row, column + 1);
            break;
        case US: // reset: all erased, power-on state
            m_screen.clear();
            m_screen.home();
            m_scrolling = true;
            m_pastEnd = false;
            break;
        case DC1:
            m_scrolling = false;
            m_pastEnd = false;
            break;
        case DC2:
            m_scrolling = true;
            break;
        case DLE:
            hold(byte);
            break;
        default:
            if (printable(byte))
                write(byte);
            else
                reportByte(byte);
        }
    }

private:
    // In vertical scroll mode the lower row moves up when the next character
    // comes, so a full lower row stays readable until then.
    void write(quint8 byte)
    {
        if (!m_scrolling) {
            m_screen.put(byte);
            return;
        }
        if (m_pastEnd) {
            m_screen.scrollUp();
            m_screen.moveCursor(1, 0);
            m_pastEnd = false;
        }
        if (m_screen.cursorRow() == 1 && m_screen.cursorColumn() == Screen::Columns - 1) {
            m_screen.setAt(1, Screen::Columns - 1, byte);
            m_pastEnd = true;
        } else {
            m_screen.put(byte);
        }
    }

    // To the other row in the same column; from the lower row in vertical
    // scroll mode the rows move up instead.
    void lineFeed()
    {
        const int row = m_screen.cursorRow(), column = m_screen.cursorColumn();
        if (m_scrolling && row == 1)
            m_screen.scrollUp();
        else
            m_screen.moveCursor(1 - row, column);
        m_pastEnd = false;
    }

    bool m_scrolling = true;
    bool m_pastEnd = false;
};

} // namespace

std::unique_ptr<SetMachine> makeSetMachine(int commandSet, Screen &screen, UnknownLog &log)
{
    using namespace CommandSets;
    switch (commandSet) {
    case Epson:
        return std::make_unique<EpsonSet>(screen, log);
    case UtcStandard:
        return std::make_unique<UtcStandardSet>(screen, log);
    case UtcEnhanced:
        return std::make_unique<UtcEnhancedSet>(screen, log);
    case Aedex:
    case Emax:
        return std::make_unique<AedexSet>(screen, log);
    case Adm788:
        return std::make_unique<Adm788Set>(screen, log);
    case Cd5220:
        return std::make_unique<Cd5220Set>(screen, log);
    case LogicControl:
        return std::make_unique<LogicControlSet>(screen, log);
    default:
        return std::make_unique<DataOnly>(screen, log);
    }
}
