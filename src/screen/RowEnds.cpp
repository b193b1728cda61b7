#include "screen/RowEnds.h"

using CommandSets::Mode;

namespace {

constexpr int LastRow = Screen::Rows - 1;
constexpr int LastColumn = Screen::Columns - 1;

// The row one column to the left (`by` = -1) or right (+1), blank at the end
// it leaves.
void shift(Screen &screen, int row, int by)
{
    const QByteArray cells = screen.rowBytes(row);
    for (int column = 0; column < Screen::Columns; ++column) {
        const int from = column - by;
        screen.setAt(row, column,
                     from >= 0 && from < Screen::Columns ? quint8(cells[from]) : Screen::Blank);
    }
}

// Row 1 moves down to row 2, row 1 becomes blank: the mirror of scrollUp.
void scrollDown(Screen &screen)
{
    screen.setRow(LastRow, screen.rowBytes(0));
    screen.clearRow(0);
}

} // namespace

namespace RowEnds {

void right(Screen &screen, Mode mode)
{
    const int row = screen.cursorRow(), column = screen.cursorColumn();
    if (column < LastColumn)
        return screen.moveCursor(row, column + 1);
    if (mode == Mode::HorizontalScroll)
        return shift(screen, row, -1);
    if (mode == Mode::VerticalScroll && row == LastRow) {
        screen.scrollUp();
        return screen.moveCursor(LastRow, 0);
    }
    screen.moveCursor(LastRow - row, 0);
}

void left(Screen &screen, Mode mode)
{
    const int row = screen.cursorRow(), column = screen.cursorColumn();
    if (column > 0)
        return screen.moveCursor(row, column - 1);
    if (mode == Mode::HorizontalScroll)
        return shift(screen, row, +1);
    if (mode == Mode::VerticalScroll && row == 0) {
        scrollDown(screen);
        return screen.moveCursor(0, LastColumn);
    }
    screen.moveCursor(LastRow - row, LastColumn);
}

void down(Screen &screen, Mode mode)
{
    const int row = screen.cursorRow(), column = screen.cursorColumn();
    if (row < LastRow || mode == Mode::Overwrite)
        return screen.moveCursor(LastRow - row, column);
    if (mode == Mode::VerticalScroll)
        screen.scrollUp();
}

void up(Screen &screen, Mode mode)
{
    const int row = screen.cursorRow(), column = screen.cursorColumn();
    if (row > 0 || mode == Mode::Overwrite)
        return screen.moveCursor(LastRow - row, column);
    if (mode == Mode::VerticalScroll)
        scrollDown(screen);
}

void backspace(Screen &screen)
{
    left(screen, Mode::Overwrite);
    screen.setAt(screen.cursorRow(), screen.cursorColumn(), Screen::Blank);
}

void clearToRowEnd(Screen &screen)
{
    for (int column = screen.cursorColumn(); column < Screen::Columns; ++column)
        screen.setAt(screen.cursorRow(), column, Screen::Blank);
}

void clearToDisplayEnd(Screen &screen)
{
    clearToRowEnd(screen);
    for (int row = screen.cursorRow() + 1; row < Screen::Rows; ++row)
        screen.clearRow(row);
}

} // namespace RowEnds
