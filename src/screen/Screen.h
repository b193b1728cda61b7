#pragma once

#include <array>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What the glass of a two-line display holds: 2 x 20 character codes and a
// cursor that always stands on a cell. Row and column count from 0.
class Screen
{
public:
    static constexpr int Rows = 2;
    static constexpr int Columns = 20;
    static constexpr quint8 Blank = 0x20;

    Screen();

    quint8 at(int row, int column) const;
    QByteArray rowBytes(int row) const;
    // The row as 20 characters; a code outside 0x20..0x7E shows as '?',
    // because which glyph the display draws for it is not known.
    QString rowText(int row) const;

    int cursorRow() const { return m_row; }
    int cursorColumn() const { return m_column; }

    void setAt(int row, int column, quint8 code);
    void moveCursor(int row, int column);
    void home() { moveCursor(0, 0); }
    void carriageReturn() { m_column = 0; }

    // Writes at the cursor, which moves one column; from the end of a row
    // it goes to the start of the other row (overwrite mode).
    void put(quint8 code);

    void clear(); // every cell blank; the cursor stays
    void clearRow(int row);
    // The row from its first column, padded with blanks, cut at 20 codes.
    void setRow(int row, QByteArrayView codes);
    // Row 2 moves to row 1, row 2 becomes blank.
    void scrollUp();

    bool operator==(const Screen &other) const = default;

private:
    std::array<std::array<quint8, Columns>, Rows> m_cells;
    int m_row = 0;
    int m_column = 0;
};
