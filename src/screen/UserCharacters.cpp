#include "screen/UserCharacters.h"

#include <utility>

namespace {

constexpr int MaxColumns = 5;
constexpr int DotRows = 7;

} // namespace

void UserCharacters::begin(QByteArrayView command)
{
    const auto first = quint8(command.at(command.size() - 2));
    const auto last = quint8(command.at(command.size() - 1));
    m_bytes = command.toByteArray();
    m_next = first <= last ? first : -1;
    m_last = last;
    m_columnsLeft = -1;
}

QByteArray UserCharacters::abandon()
{
    m_next = -1;
    return std::exchange(m_bytes, QByteArray());
}

UserCharacters::Step UserCharacters::take(quint8 byte)
{
    m_bytes.append(char(byte));
    if (m_columnsLeft < 0) {
        if (byte > MaxColumns)
            return Step::Broken;
        m_columnsLeft = byte;
        m_column = 0;
        m_building = {};
    } else {
        m_building[std::size_t(m_column++)] = byte & 0x7F; // seven dots
        --m_columnsLeft;
    }
    if (m_columnsLeft > 0)
        return Step::More;
    m_glyphs[std::size_t(m_next)] = m_building;
    m_columnsLeft = -1;
    if (++m_next > m_last) {
        abandon();
        return Step::Done;
    }
    return Step::More;
}

void UserCharacters::defineFromRows(quint8 code, QByteArrayView bits)
{
    Glyph glyph{};
    for (int row = 0; row < DotRows; ++row) {
        for (int column = 0; column < MaxColumns; ++column) {
            const int bit = row * MaxColumns + column;
            if (bit / 8 < bits.size() && (quint8(bits[bit / 8]) >> (bit % 8)) & 1u)
                glyph[std::size_t(column)] |= quint8(1u << row);
        }
    }
    m_glyphs[code] = glyph;
}

void UserCharacters::clear()
{
    m_glyphs = {};
    m_selected = false;
    abandon();
}
