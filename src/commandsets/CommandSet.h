#pragma once

#include <array>
#include <span>
#include <string_view>

#include <QtGlobal>

// A command set as data: the rows its commands are read from (by the one
// interpreter in src/screen) and written from (by the test screen). A new
// command is one row in CommandSetTable.cpp; a new kind of effect is one
// enumerator here and one case in the interpreter.
namespace CommandSets {

// What a command does to the glass.
enum class Effect : quint8 {
    Nothing,  // taken; what it changes is not on the glass (a peripheral, a mode already in force)
    Reported, // taken whole, then reported: what it shows is not settled (a character set)
    CarriageReturn,    // column 1 of the cursor's row
    Clear,             // every cell blank; the cursor stays
    ClearAndHome,      // every cell blank; the cursor to row 1, column 1
    Reset,             // clear, home, and the set's power-on mode
    ClearRowFromStart, // the command's row blank, the cursor at its start
    CursorLeft,        // one column back, never off the row
    CursorRight,       // one column on, never off the row
    LineFeed,      // the same column of the other row; vertical scroll on row 2 moves the rows up
    OverwriteMode, // text past a row's end goes on at the start of the other row
    VerticalScrollMode, // text past the end of row 2 moves row 2 up to row 1
    CursorToColumnRow,  // parameters: column 1..20, row 1..2
    CursorToCell,       // parameter: cell 0..39, row by row
    WriteRows,          // its text replaces the rows from the command's row on, padded with blanks
    Home,               // the cursor to row 1, column 1
    RowEnd,             // column 20 of the cursor's row
    BottomLeft,         // row 2, column 1
    ClearCursorRow,     // the cursor's row blank; the cursor stays
    ClearToRowEnd,      // from the cursor to the end of its row
    ClearToDisplayEnd,  // from the cursor to the end of row 2
    // Left / right with the row ends of the mode: overwrite wraps to the
    // other row, vertical scroll moves the rows at the display's ends,
    // horizontal scroll shifts the row.
    CursorLeftWrapping,
    CursorRightWrapping,
    LineUp,               // the mirror of LineFeed
    BackspaceErasing,     // left one column, wrapping to the other row, and that cell blank
    HorizontalScrollMode, // at a row's end 09 shifts the row, 0A and 1F 0A do nothing
    ScrollRow,            // its text scrolls on the command's row: its start is shown, marked
    Clock,                // its text (hh:mm) runs as a clock on the command's row; none: the last
    ChangeAttention,      // its two text bytes begin the set's commands from now on
    DefineCharacters,     // parameters 1, first, last; per code a column count and columns
    DefineCharacterRows,  // parameters: a code and 35 dots row by row in 5 bytes
    SelectUserCharacters, // parameter: 1 defined glyphs for text to come, 0 built-in ones
    DeleteUserCharacter,  // parameter: the code whose built-in glyph returns
    // How the glass shows its cells (DisplayLook); the cells stay.
    BrightnessLevel,   // parameter: 1..4, 4 brightest
    BrightnessPercent, // parameter: 0x20, 0x40, 0x60 or 0xFF (100 %)
    CursorShown,       // parameter: 1 shown, 0 hidden
    CursorOn,
    CursorOff,
    BlinkScreen, // parameter n: on and off n x 50 ms; 0 stops; 255 blanks the display
    Initialise,  // brightness, cursor and blinking to their power-on values; the cells stay
};

// How the cursor goes on at the ends of the rows.
enum class Mode : quint8 { Overwrite, VerticalScroll, HorizontalScroll };

// A parameter byte's accepted values, both included.
struct Range
{
    quint8 low = 0x00;
    quint8 high = 0xFF;
};

inline constexpr int MaxParameters = 6;

// Where a command is taken: between commands, or also inside a line
// command's text (which it then ends without showing it).
enum class Taken : quint8 { BetweenCommands, AlsoInText, OnlyInText };

// One command: its lead bytes, then `parameterCount` parameter bytes, then,
// for a line command (textLimit > 0), printable text ended by `terminator`
// or by reaching the limit. A control byte is a command with a one-byte lead.
struct Command
{
    std::string_view lead = {};
    Effect effect = Effect::Nothing;
    std::array<Range, MaxParameters> parameters = {};
    int parameterCount = 0;
    int row = 0;       // the row an effect names; a line's first row (0 = upper)
    int textLimit = 0; // a line command's most characters; 0 for none
    quint8 terminator = 0x0D;
    Taken taken = Taken::BetweenCommands;

    constexpr bool isLine() const { return textLimit > 0; }
};

// The test screen, step by step: a command of the set, by its lead and with
// its parameters, and which of the two texts follows it (a line command's
// text, or text written at the cursor it placed).
enum class Text : quint8 { None, Upper, Lower };

struct Step
{
    std::string_view lead = {};
    std::array<quint8, MaxParameters> parameters = {};
    Text text = Text::None;
};

struct Description
{
    int position = -1;               // in the Command list, which is also image byte 6
    std::string_view listEntry = {}; // its text in that list
    // False where no public description says which bytes are commands: every
    // byte is shown as data, and no test screen is written.
    bool described = false;
    std::span<const Command> commands = {};
    // Bytes that begin every command of the set. A test text may not hold them;
    // printable ones that break off before they are complete are text.
    std::string_view attention = {};
    Mode powerOnMode = Mode::Overwrite;
    // Its first step ends whatever command a till may have left unfinished.
    std::span<const Step> testScreen = {};
};

// The description of the set at a position in the Command list; positions
// outside it get one that is not described.
const Description &description(int position);

// The set's command with exactly this lead; nullptr when it has none.
const Command *commandWithLead(const Description &set, std::string_view lead);

} // namespace CommandSets
