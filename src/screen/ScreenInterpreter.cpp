#include "screen/ScreenInterpreter.h"

#include <algorithm>

#include "commandsets/CommandSets.h"
#include "model/Printable.h"
#include "screen/RowEnds.h"

using CommandSets::Command;
using CommandSets::Effect;
using CommandSets::Mode;
using CommandSets::Taken;

ScreenInterpreter::ScreenInterpreter(int commandSet)
    : m_commandSet(commandSet), m_set(&CommandSets::description(commandSet)),
      m_mode(m_set->powerOnMode)
{
    m_leads.reset(*m_set);
}

ScreenInterpreter::~ScreenInterpreter() = default;

bool ScreenInterpreter::interprets(int commandSet)
{
    return CommandSets::description(commandSet).described;
}

void ScreenInterpreter::setCommandSet(int commandSet)
{
    if (commandSet == m_commandSet)
        return;
    if (!m_held.isEmpty())
        m_log.add(m_held);
    if (m_userCharacters.defining())
        m_log.add(m_userCharacters.abandon());
    m_commandSet = commandSet;
    m_set = &CommandSets::description(commandSet);
    startOver();
}

void ScreenInterpreter::reset()
{
    m_screen = Screen();
    m_look = DisplayLook();
    m_userCharacters.clear();
    m_clock.clear();
    m_log.clear();
    startOver();
}

bool ScreenInterpreter::feed(QByteArrayView bytes)
{
    const Screen before = m_screen;
    for (const char byte : bytes)
        take(quint8(byte));
    return !(m_screen == before);
}

bool ScreenInterpreter::waiting() const
{
    return !m_held.isEmpty() || m_userCharacters.defining();
}

bool ScreenInterpreter::hasUnknown() const
{
    return !m_log.isEmpty();
}

ScreenInterpreter::Unknown ScreenInterpreter::unknown() const
{
    return {m_log.sequences(), m_log.dropped()};
}

ScreenInterpreter::Unknown ScreenInterpreter::takeUnknown()
{
    Unknown taken = unknown();
    m_log.clear();
    return taken;
}

void ScreenInterpreter::take(quint8 byte)
{
    if (!m_set->described) {
        // No byte is known to be a command: each is shown, and one that
        // shows as '?' is reported so that it can be told apart.
        m_screen.put(byte);
        if (!Printable::contains(byte))
            m_log.add(QByteArray(1, char(byte)));
        return;
    }
    if (m_userCharacters.defining())
        return takeDefinition(byte);
    if (m_textStart >= 0)
        return takeText(byte);
    if (m_closingTerminator) {
        const bool closing = byte == *m_closingTerminator;
        m_closingTerminator.reset();
        if (closing)
            return;
    }
    if (m_command != nullptr)
        return takeParameter(byte);
    takeLead(byte);
}

// A lead that is complete is taken at once, even where a longer one begins
// with it.
void ScreenInterpreter::takeLead(quint8 byte)
{
    if (m_held.isEmpty() && !m_leads.begins(byte)) // most text: no lead to look through
        return Printable::contains(byte) ? write(byte) : m_log.add(QByteArray(1, char(byte)));
    m_held.append(char(byte));
    const std::string_view held(m_held.constData(), std::size_t(m_held.size()));
    bool begun = false;
    for (qsizetype k = 0; k < qsizetype(m_set->commands.size()); ++k) {
        const Command &command = m_set->commands[std::size_t(k)];
        if (command.taken == Taken::OnlyInText)
            continue;
        if (m_leads.of(*m_set, std::size_t(k)) == held) {
            m_command = &command;
            return leadComplete();
        }
        begun = begun || m_leads.of(*m_set, std::size_t(k)).starts_with(held);
    }
    if (begun)
        return;
    if (m_held.size() > 1 && m_leads.breaksOffAttention(*m_set, m_held)) {
        // Printable bytes that began the attention sequence were text.
        const QByteArray text = m_held.chopped(1);
        endCommand();
        for (const char code : text)
            write(quint8(code));
        return take(byte);
    }
    if (m_held.size() == 1 && Printable::contains(byte)) {
        endCommand();
        return write(byte);
    }
    report();
}

void ScreenInterpreter::takeDefinition(quint8 byte)
{
    if (m_userCharacters.take(byte) == UserCharacters::Step::Broken)
        m_log.add(m_userCharacters.abandon());
}

void ScreenInterpreter::leadComplete()
{
    if (m_command->parameterCount > 0)
        return;
    if (m_command->isLine())
        m_textStart = m_held.size();
    else
        carryOut();
}

// The parameters are judged together once all are in, so that a command
// out of range is reported whole.
void ScreenInterpreter::takeParameter(quint8 byte)
{
    m_held.append(char(byte));
    const auto leadSize = qsizetype(m_command->lead.size());
    if (m_held.size() < leadSize + m_command->parameterCount)
        return;
    for (int k = 0; k < m_command->parameterCount; ++k) {
        const auto value = quint8(m_held.at(leadSize + k));
        const CommandSets::Range range = m_command->parameters.at(std::size_t(k));
        if (value < range.low || value > range.high)
            return report();
    }
    if (m_command->isLine())
        m_textStart = m_held.size();
    else
        carryOut();
}

void ScreenInterpreter::takeText(quint8 byte)
{
    const Command &line = *m_command;
    if (byte == line.terminator)
        return finishText();
    if (Printable::contains(byte)) {
        m_held.append(char(byte));
        if (m_held.size() - m_textStart == line.textLimit) {
            finishText();
            m_closingTerminator = line.terminator;
        }
        return;
    }
    for (const Command &command : m_set->commands) {
        if (command.taken != Taken::BetweenCommands && command.lead.size() == 1 &&
            quint8(command.lead.front()) == byte) {
            endCommand(); // the text is not shown
            return apply(command, {});
        }
    }
    m_log.add(QByteArray(1, char(byte)));
}

void ScreenInterpreter::finishText()
{
    const Command &line = *m_command;
    const QByteArray text = m_held.mid(m_textStart);
    endCommand();
    if (line.effect == Effect::ScrollRow) {
        m_screen.setRow(line.row, text);
        m_scrollingRow = line.row;
        return;
    }
    if (line.effect == Effect::Clock) { // shown as set: the glass has no clock
        m_clock = text.isEmpty() ? m_clock : text;
        return m_screen.setRow(line.row, m_clock);
    }
    if (line.effect == Effect::ChangeAttention) {
        if (text.size() == line.textLimit)
            m_leads.changeAttention(*m_set, text);
        return;
    }
    for (int row = line.row; row < Screen::Rows; ++row) {
        const qsizetype from = qsizetype(row - line.row) * Screen::Columns;
        if (from >= line.textLimit)
            break;
        m_screen.setRow(row, QByteArrayView(text).sliced(std::min(from, text.size())));
    }
}

void ScreenInterpreter::carryOut()
{
    const Command &command = *m_command;
    const QByteArray held = m_held;
    endCommand();
    const QByteArrayView parameters = QByteArrayView(held).sliced(qsizetype(command.lead.size()));
    if (!m_look.apply(command.effect, parameters))
        return m_log.add(held); // a value no guide describes
    apply(command, parameters);
    if (command.effect == Effect::Reported)
        m_log.add(held);
}

void ScreenInterpreter::apply(const Command &command, QByteArrayView parameters)
{
    const int row = m_screen.cursorRow(), column = m_screen.cursorColumn();
    const bool wasPending = std::exchange(m_scrollPending, false);
    m_scrollingRow.reset();
    switch (command.effect) {
    case Effect::Nothing:
    case Effect::Reported:
    case Effect::WriteRows: // these three carried out by finishText
    case Effect::ScrollRow:
    case Effect::Clock:
    case Effect::ChangeAttention:
    case Effect::BrightnessLevel: // these seven carried out on the look
    case Effect::BrightnessPercent:
    case Effect::CursorShown:
    case Effect::CursorOn:
    case Effect::CursorOff:
    case Effect::BlinkScreen:
    case Effect::Initialise:
        m_scrollPending = wasPending;
        break;
    case Effect::CarriageReturn:
        m_screen.carriageReturn();
        break;
    case Effect::Clear:
        m_screen.clear();
        m_scrollPending = wasPending;
        break;
    case Effect::ClearAndHome:
        m_screen.clear();
        m_screen.home();
        break;
    case Effect::Reset:
        m_screen.clear();
        m_screen.home();
        m_mode = m_set->powerOnMode;
        break;
    case Effect::ClearRowFromStart:
        m_screen.clearRow(command.row);
        m_screen.moveCursor(command.row, 0);
        break;
    case Effect::CursorLeft: // from a full lower row about to scroll, it stays
        if (!wasPending && column > 0)
            m_screen.moveCursor(row, column - 1);
        break;
    case Effect::CursorRight:
        m_screen.moveCursor(row, std::min(column + 1, Screen::Columns - 1));
        m_scrollPending = wasPending;
        break;
    case Effect::LineFeed:
        RowEnds::down(m_screen, m_mode);
        break;
    case Effect::LineUp:
        RowEnds::up(m_screen, m_mode);
        break;
    case Effect::CursorLeftWrapping:
        RowEnds::left(m_screen, m_mode);
        break;
    case Effect::CursorRightWrapping:
        RowEnds::right(m_screen, m_mode);
        break;
    case Effect::BackspaceErasing:
        RowEnds::backspace(m_screen);
        break;
    case Effect::Home:
        m_screen.home();
        break;
    case Effect::RowEnd:
        m_screen.moveCursor(row, Screen::Columns - 1);
        break;
    case Effect::BottomLeft:
        m_screen.moveCursor(Screen::Rows - 1, 0);
        break;
    case Effect::ClearCursorRow:
        m_screen.clearRow(row);
        break;
    case Effect::ClearToRowEnd:
        RowEnds::clearToRowEnd(m_screen);
        break;
    case Effect::ClearToDisplayEnd:
        RowEnds::clearToDisplayEnd(m_screen);
        break;
    case Effect::HorizontalScrollMode:
        m_mode = Mode::HorizontalScroll;
        break;
    case Effect::DefineCharacters:
        m_userCharacters.begin(QByteArray(command.lead.data(), qsizetype(command.lead.size())) +
                               parameters.toByteArray());
        break;
    case Effect::DefineCharacterRows:
        m_userCharacters.defineFromRows(quint8(parameters.at(0)), parameters.sliced(1));
        break;
    case Effect::SelectUserCharacters:
        m_userCharacters.setSelected(parameters.at(0) == 1);
        break;
    case Effect::DeleteUserCharacter:
        m_userCharacters.remove(quint8(parameters.at(0)));
        break;
    case Effect::OverwriteMode:
        m_mode = Mode::Overwrite;
        break;
    case Effect::VerticalScrollMode:
        m_mode = Mode::VerticalScroll;
        m_scrollPending = wasPending;
        break;
    case Effect::CursorToColumnRow:
        m_screen.moveCursor(quint8(parameters.at(1)) - 1, quint8(parameters.at(0)) - 1);
        break;
    case Effect::CursorToCell: {
        const int cell = quint8(parameters.at(0));
        m_screen.moveCursor(cell / Screen::Columns, cell % Screen::Columns);
        break;
    }
    }
}

void ScreenInterpreter::write(quint8 code)
{
    m_scrollingRow.reset();
    // Guides describe only 09 at a row's end in horizontal scroll mode; a
    // character written there goes on as in overwrite mode.
    if (m_mode != Mode::VerticalScroll)
        return m_screen.put(code);
    if (std::exchange(m_scrollPending, false)) {
        m_screen.scrollUp();
        m_screen.moveCursor(Screen::Rows - 1, 0);
    }
    const int lastRow = Screen::Rows - 1, lastColumn = Screen::Columns - 1;
    if (m_screen.cursorRow() == lastRow && m_screen.cursorColumn() == lastColumn) {
        m_screen.setAt(lastRow, lastColumn, code);
        m_scrollPending = true;
    } else {
        m_screen.put(code);
    }
}

void ScreenInterpreter::report()
{
    m_log.add(m_held);
    endCommand();
}

void ScreenInterpreter::endCommand()
{
    m_held.clear();
    m_command = nullptr;
    m_textStart = -1;
}

// The set's power-on state: nothing held, its own mode.
void ScreenInterpreter::startOver()
{
    endCommand();
    m_closingTerminator.reset();
    m_mode = m_set->powerOnMode;
    m_scrollPending = false;
    m_scrollingRow.reset();
    m_leads.reset(*m_set);
}
