#include "editors/LineTyping.h"

#include <algorithm>

LineTyping::Caret LineTyping::type(Caret at, QStringView text)
{
    const int full = cellLength();
    Caret caret = clamped(at);
    for (const QChar c : text) {
        if (caret.offset >= full) {
            if (caret.cell == m_line.cellCount())
                break;
            caret = {caret.cell + 1, 0};
        }
        QString cell = m_line.text(m_line.view(), caret.cell);
        if (cell.size() < full)
            cell.insert(caret.offset, c);
        else
            cell[caret.offset] = c;
        if (!write(caret.cell, cell))
            break;
        ++caret.offset;
        // A cell that the typing has just filled hands on to the next one.
        if (caret.offset == full && caret.cell < m_line.cellCount())
            caret = {caret.cell + 1, 0};
    }
    return caret;
}

LineTyping::Caret LineTyping::paste(Caret at, QStringView text)
{
    if (m_line.view() == MessageLine::View::Ascii)
        return type(at, text);
    QString digits;
    for (const QChar c : text) {
        if (!c.isSpace())
            digits += c;
    }
    // A text with anything but digits is no hex text: none of it goes in.
    if (!MessageLine::isHexDigits(digits))
        return clamped(at);
    return type(at, digits);
}

LineTyping::Caret LineTyping::backspace(Caret at)
{
    Caret caret = clamped(at);
    if (caret.offset == 0) {
        if (caret.cell == 1)
            return caret;
        caret = {caret.cell - 1, length(caret.cell - 1)};
        if (caret.offset == 0)
            return caret;
    }
    QString cell = m_line.text(m_line.view(), caret.cell);
    cell.remove(caret.offset - 1, 1);
    write(caret.cell, cell);
    return {caret.cell, caret.offset - 1};
}

LineTyping::Caret LineTyping::clicked(Caret at) const
{
    const Caret caret = clamped(at);
    return {caret.cell, std::min(caret.offset, cellLength() - 1)};
}

// A cell's end and the next cell's start are one place of the line, so the
// keys step from the last character of a cell straight into the next one.
LineTyping::Caret LineTyping::left(Caret at) const
{
    const Caret caret = clamped(at);
    if (caret.offset > 0)
        return {caret.cell, caret.offset - 1};
    if (caret.cell == 1)
        return caret;
    return {caret.cell - 1, std::max(0, length(caret.cell - 1) - 1)};
}

LineTyping::Caret LineTyping::right(Caret at) const
{
    const Caret caret = clamped(at);
    const int cellEnd = length(caret.cell);
    if (caret.offset < cellEnd - 1)
        return {caret.cell, caret.offset + 1};
    if (caret.cell < m_line.cellCount())
        return {caret.cell + 1, 0};
    return {caret.cell, cellEnd};
}

LineTyping::Caret LineTyping::end() const
{
    int last = m_line.cellCount();
    while (last > 0 && length(last) == 0)
        --last;
    if (last == 0)
        return home();
    if (length(last) == cellLength() && last < m_line.cellCount())
        return {last + 1, 0};
    return {last, length(last)};
}

int LineTyping::cellLength() const
{
    return m_line.view() == MessageLine::View::Hex ? MessageLine::HexCellLength
                                                   : MessageLine::AsciiCellLength;
}

int LineTyping::length(int cell) const
{
    return int(m_line.text(m_line.view(), cell).size());
}

LineTyping::Caret LineTyping::clamped(Caret at) const
{
    const int cell = std::clamp(at.cell, 1, std::max(1, m_line.cellCount()));
    return {cell, std::clamp(at.offset, 0, length(cell))};
}

bool LineTyping::write(int cell, const QString &text)
{
    if (m_line.view() == MessageLine::View::Ascii)
        return m_line.setAsciiText(cell, text);
    return m_line.setHexText(cell, text);
}
