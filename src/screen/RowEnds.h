#pragma once

#include "commandsets/CommandSet.h"
#include "screen/Screen.h"

// Cursor moves at the ends of the rows, as two display families' guides
// agree on them for each mode: overwrite wraps to the other row, vertical
// scroll moves the rows at the display's ends, horizontal scroll shifts the
// cursor's row.
namespace RowEnds {

void right(Screen &screen, CommandSets::Mode mode);
void left(Screen &screen, CommandSets::Mode mode);
// Down from the lower row, up from the upper one.
void down(Screen &screen, CommandSets::Mode mode);
void up(Screen &screen, CommandSets::Mode mode);

// Left one column, from a row's start to the other row's end, and the cell
// it reaches blank.
void backspace(Screen &screen);

// From the cursor to the end of its row, or of the display.
void clearToRowEnd(Screen &screen);
void clearToDisplayEnd(Screen &screen);

} // namespace RowEnds
