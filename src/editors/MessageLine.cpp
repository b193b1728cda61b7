#include "editors/MessageLine.h"

#include <algorithm>

#include "model/CodePage.h"
#include "model/HexText.h"

MessageLine::MessageLine(int cellCount, QObject *parent)
    : QObject(parent), m_cellCount(qMax(0, cellCount))
{
    for (int i = 0; i < m_cellCount; ++i) {
        m_hex.append(QString());
        m_ascii.append(QString());
    }
}

QString MessageLine::hexText(int cell) const
{
    return text(View::Hex, cell);
}

QString MessageLine::asciiText(int cell) const
{
    return text(View::Ascii, cell);
}

QString MessageLine::text(View view, int cell) const
{
    if (cell < 1 || cell > m_cellCount)
        return QString();
    return (view == View::Hex ? m_hex : m_ascii).at(cell - 1);
}

bool MessageLine::setHexText(int cell, const QString &text)
{
    // A hidden cell stays empty: only the shown view takes typing.
    if (cell < 1 || cell > m_cellCount || m_view != View::Hex)
        return false;
    // Anything but a digit would be sent as a byte the cell does not show.
    if (!isHexDigits(text))
        return false;
    writeCell(View::Hex, cell, text.left(HexCellLength));
    return true;
}

bool MessageLine::isHexDigits(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return HexText::digitValue(c).has_value(); });
}

bool MessageLine::setAsciiText(int cell, const QString &text)
{
    if (cell < 1 || cell > m_cellCount || m_view != View::Ascii)
        return false;
    // Only a character with a code can stand in a cell; the empty text is
    // the cell without a character.
    if (!CodePage::codeForText(text))
        return false;
    writeCell(View::Ascii, cell, text);
    return true;
}

void MessageLine::selectView(View view)
{
    if (view == m_view)
        return;
    m_view = view;
    if (view == View::Hex)
        convertToHex();
    else
        convertToAscii();
    emit viewChanged(view);
}

void MessageLine::clear()
{
    for (int cell = 1; cell <= m_cellCount; ++cell)
        writeCell(m_view, cell, QString());
}

QByteArray MessageLine::hexBytes() const
{
    // Each cell on its own, so that a short or empty cell never moves the
    // bytes of the cells after it: what a cell shows is what is sent.
    QByteArray bytes(m_cellCount, '\0');
    for (int cell = 1; cell <= m_cellCount; ++cell)
        bytes[cell - 1] = static_cast<char>(hexCellByte(m_hex.at(cell - 1)));
    return bytes;
}

QByteArray MessageLine::bytes() const
{
    if (m_view == View::Hex)
        return hexBytes();
    QByteArray bytes(m_cellCount, '\0');
    for (int cell = 1; cell <= m_cellCount; ++cell)
        bytes[cell - 1] = static_cast<char>(byte(cell));
    return bytes;
}

quint8 MessageLine::byte(int cell) const
{
    if (m_view == View::Hex)
        return hexCellByte(m_hex.at(cell - 1));
    // As convertToHex reads them: an empty ASCII cell is a zero byte.
    return CodePage::codeForText(m_ascii.at(cell - 1)).value_or(0);
}

quint8 MessageLine::hexCellByte(QStringView hex)
{
    // A missing second digit counts 0, so a single digit d is 16 x d.
    return HexText::decodePair(hex.left(1), hex.size() > 1 ? hex.sliced(1, 1) : QStringView());
}

void MessageLine::showBytes(QByteArrayView bytes)
{
    selectView(View::Hex);
    for (int cell = 1; cell <= m_cellCount; ++cell) {
        const quint8 byte = cell <= bytes.size() ? static_cast<quint8>(bytes[cell - 1]) : 0;
        writeCell(View::Hex, cell, HexText::hexPair(byte));
    }
}

void MessageLine::restore(const State &state)
{
    if (state.hex.size() != m_cellCount || state.ascii.size() != m_cellCount)
        return;
    for (int cell = 1; cell <= m_cellCount; ++cell) {
        writeCell(View::Hex, cell, state.hex.at(cell - 1));
        writeCell(View::Ascii, cell, state.ascii.at(cell - 1));
    }
    // The view last, so that the cells it shows already hold their text.
    if (state.view != m_view) {
        m_view = state.view;
        emit viewChanged(m_view);
    }
}

void MessageLine::convertToHex()
{
    // A zero byte shows as an empty ASCII cell. Before the line's last
    // character it must come back as "00": an empty hex cell there would let
    // every later byte move up one cell when the cells are read. Empty cells
    // after the last character stay empty.
    int last = m_cellCount;
    while (last > 0 && cellRef(View::Ascii, last).isEmpty())
        --last;
    for (int cell = 1; cell <= m_cellCount; ++cell) {
        const QString ascii = cellRef(View::Ascii, cell);
        if (cell <= last) {
            // Cells only ever hold characters with a code.
            const quint8 code = CodePage::codeForText(ascii).value_or(0);
            writeCell(View::Hex, cell, HexText::hexPair(code));
        }
        writeCell(View::Ascii, cell, QString());
    }
}

void MessageLine::convertToAscii()
{
    for (int cell = 1; cell <= m_cellCount; ++cell) {
        writeCell(View::Ascii, cell, CodePage::textForCode(hexCellByte(cellRef(View::Hex, cell))));
        writeCell(View::Hex, cell, QString());
    }
}

void MessageLine::writeCell(View view, int cell, const QString &text)
{
    QString &current = cellRef(view, cell);
    if (current == text)
        return;
    current = text;
    emit cellTextChanged(view, cell);
}

QString &MessageLine::cellRef(View view, int cell)
{
    return (view == View::Hex ? m_hex : m_ascii)[cell - 1];
}
