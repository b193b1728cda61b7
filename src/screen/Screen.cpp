#include "screen/Screen.h"

#include <algorithm>

#include "model/Printable.h"

namespace {

std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}

} // namespace

Screen::Screen()
{
    clear();
}

quint8 Screen::at(int row, int column) const
{
    return m_cells.at(::at(row)).at(::at(column));
}

QByteArray Screen::rowBytes(int row) const
{
    const auto &cells = m_cells.at(::at(row));
    return QByteArray(reinterpret_cast<const char *>(cells.data()), Columns);
}

QString Screen::rowText(int row) const
{
    QString text;
    text.reserve(Columns);
    for (const quint8 code : m_cells.at(::at(row)))
        text.append(Printable::contains(code) ? QChar(code) : QLatin1Char('?'));
    return text;
}

void Screen::setAt(int row, int column, quint8 code)
{
    m_cells.at(::at(row)).at(::at(column)) = code;
}

void Screen::moveCursor(int row, int column)
{
    m_row = std::clamp(row, 0, Rows - 1);
    m_column = std::clamp(column, 0, Columns - 1);
}

void Screen::put(quint8 code)
{
    setAt(m_row, m_column, code);
    if (++m_column == Columns) {
        m_column = 0;
        m_row = (m_row + 1) % Rows;
    }
}

void Screen::clear()
{
    for (auto &row : m_cells)
        row.fill(Blank);
}

void Screen::clearRow(int row)
{
    m_cells.at(::at(row)).fill(Blank);
}

void Screen::setRow(int row, QByteArrayView codes)
{
    auto &cells = m_cells.at(::at(row));
    cells.fill(Blank);
    const auto count = std::min<qsizetype>(codes.size(), Columns);
    std::copy_n(codes.begin(), count, cells.begin());
}

void Screen::scrollUp()
{
    m_cells.at(0) = m_cells.at(1);
    m_cells.at(1).fill(Blank);
}
