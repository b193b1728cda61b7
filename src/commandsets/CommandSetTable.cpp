#include <algorithm>

#include "commandsets/CommandSet.h"
#include "commandsets/CommandSets.h"
#include "model/OptionLists.h"

// Each set as public programming guides of two-line customer displays agree
// on it. Printable bytes (0x20..0x7E) are text at the cursor in every set;
// anything a set does not list here is reported, never drawn. Where a guide
// names a command without saying where the cursor goes, it stays.
namespace CommandSets {
namespace {

using namespace std::string_view_literals;

constexpr Range Any{};
constexpr Range Column{1, 20};
constexpr Range Row{1, 2};
constexpr Range Cell{0x00, 0x27};
constexpr Range OffOn{0, 1};
constexpr Range Brightness{1, 4};
constexpr Range Code{0x20, 0xFF};

constexpr Command command(std::string_view lead, Effect effect)
{
    return {.lead = lead, .effect = effect};
}

constexpr Command command(std::string_view lead, Effect effect, Range parameter)
{
    return {.lead = lead, .effect = effect, .parameters = {parameter}, .parameterCount = 1};
}

constexpr Command command(std::string_view lead, Effect effect, Range first, Range second)
{
    return {.lead = lead, .effect = effect, .parameters = {first, second}, .parameterCount = 2};
}

// Three parameters and more.
template <typename... Ranges>
constexpr Command command(std::string_view lead, Effect effect, Range first, Range second,
                          Range third, Ranges... more)
{
    return {.lead = lead,
            .effect = effect,
            .parameters = {first, second, third, more...},
            .parameterCount = int(3 + sizeof...(more))};
}

constexpr Command rowCommand(std::string_view lead, Effect effect, int row)
{
    return {.lead = lead, .effect = effect, .row = row};
}

// Text, ended by 0D, that replaces the rows from `firstRow` on. A 0D right
// after a text that reached the limit still belongs to the command.
constexpr Command line(std::string_view lead, int firstRow, int limit)
{
    return {.lead = lead, .effect = Effect::WriteRows, .row = firstRow, .textLimit = limit};
}

// Text that scrolls on a row: its start is shown, the row marked as moving.
constexpr Command scroll(std::string_view lead, int row, int limit)
{
    return {.lead = lead, .effect = Effect::ScrollRow, .row = row, .textLimit = limit};
}

constexpr Command taken(Command command, Taken where)
{
    command.taken = where;
    return command;
}

constexpr int Upper = 0, Lower = 1;

// clang-format off

// ESC/POS for customer displays.
constexpr Command EpsonCommands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    command("\x0C"sv, Effect::Clear),
    command("\x1B\x40"sv, Effect::Reset),
    // Select the display; a printer sharing the line is not modelled.
    command("\x1B\x3D"sv, Effect::Nothing, Range{2, 2}),
    // An international set, whose glyphs are not publicly settled.
    command("\x1B\x52"sv, Effect::Reported, Any),
    command("\x1F\x01"sv, Effect::OverwriteMode),
    command("\x1F\x24"sv, Effect::CursorToColumnRow, Column, Row),
    command("\x18"sv, Effect::ClearCursorRow),
    command("\x0B"sv, Effect::Home),
    command("\x1F\x0D"sv, Effect::RowEnd),
    command("\x1F\x42"sv, Effect::BottomLeft),
    command("\x08"sv, Effect::CursorLeftWrapping),
    command("\x09"sv, Effect::CursorRightWrapping),
    command("\x0A"sv, Effect::LineFeed),
    command("\x1F\x0A"sv, Effect::LineUp),
    command("\x1F\x02"sv, Effect::VerticalScrollMode),
    command("\x1F\x03"sv, Effect::HorizontalScrollMode),
    command("\x1F\x40"sv, Effect::ClearAndHome), // self-test, then clear and home
    command("\x1F\x43"sv, Effect::CursorShown, OffOn),
    command("\x1F\x58"sv, Effect::BrightnessLevel, Brightness),
    command("\x1F\x45"sv, Effect::BlinkScreen, Any),
    // Taken; the glass does not yet show reversed characters, marks over
    // characters or annunciators.
    command("\x1F\x72"sv, Effect::Nothing, OffOn),
    command("\x1F\x2E"sv, Effect::Nothing, Any),
    command("\x1F\x2C"sv, Effect::Nothing, Any),
    command("\x1F\x3B"sv, Effect::Nothing, Any),
    command("\x1F\x23"sv, Effect::Nothing, OffOn, Any),
    // The code table for 0x80..0xFF, which are not drawn as text.
    command("\x1B\x74"sv, Effect::Nothing, Any),
    command("\x1B\x26"sv, Effect::DefineCharacters, Range{1, 1}, Code, Code),
    command("\x1B\x25"sv, Effect::SelectUserCharacters, OffOn),
    command("\x1B\x3F"sv, Effect::DeleteUserCharacter, Code),
    // Another emulation at run time, which is not followed.
    command("\x1B\x23"sv, Effect::Reported, Range{0x30, 0x38}),
};
constexpr Step EpsonTest[] = {
    {"\x1B\x3D"sv, {2}}, // before anything else: a printer may share the line
    {"\x1B\x40"sv},
    {"\x1F\x01"sv},
    {"\x1F\x24"sv, {1, 1}, Text::Upper},
    {"\x1F\x24"sv, {1, 2}, Text::Lower},
};

// "UTC standard". One guide prints the position command as 0F; every other
// says DLE, so 0F is reported.
constexpr Command UtcStandardCommands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    command("\x1F"sv, Effect::Clear),
    command("\x1E"sv, Effect::ClearAndHome),
    command("\x11"sv, Effect::OverwriteMode),
    command("\x10"sv, Effect::CursorToCell, Cell),
    command("\x12"sv, Effect::VerticalScrollMode),
    command("\x08"sv, Effect::BackspaceErasing),
    command("\x09"sv, Effect::CursorRight),
    command("\x0A"sv, Effect::LineFeed),
    command("\x18"sv, Effect::ClearToRowEnd),
    command("\x19"sv, Effect::ClearToDisplayEnd),
    command("\x13"sv, Effect::CursorOn),
    command("\x14"sv, Effect::CursorOff),
    command("\x04"sv, Effect::BrightnessPercent, Any),
    // Taken; the glass does not yet show flashing characters or fonts.
    command("\x1C"sv, Effect::Nothing),
    command("\x1D"sv, Effect::Nothing),
    command("\x1A"sv, Effect::Nothing, Any),
    // To UTC enhanced, which is not followed.
    command("\x1B\x64"sv, Effect::Reported),
};
constexpr Step UtcStandardTest[] = {
    {"\x1F"sv},
    {"\x11"sv},
    {"\x10"sv, {0x00}, Text::Upper},
    {"\x10"sv, {0x14}, Text::Lower},
};

// "UTC enhanced": ESC u A / ESC u B, text, 0D replace a row.
constexpr Command UtcEnhancedCommands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    command("\x1B\x64"sv, Effect::Nothing), // to enhanced mode, which this already is
    line("\x1B\x75\x41"sv, Upper, 20),
    line("\x1B\x75\x42"sv, Lower, 20),
    line("\x1B\x75\x49"sv, Upper, 40),
    scroll("\x1B\x75\x44"sv, Upper, 40), // continuously
    scroll("\x1B\x75\x46"sv, Upper, 40), // once
    {.lead = "\x1B\x75\x45"sv, .effect = Effect::Clock, .row = Lower, .textLimit = 5},
    // Back to UTC standard, which is not followed; guides print it both ways.
    command("\x1B\x1E"sv, Effect::Reported),
    command("\x1B\x0F\x0D"sv, Effect::Reported),
};
// Every step writes after a 0D, which ends a row command a till left open.
constexpr Step UtcEnhancedTest[] = {
    {"\x0D"sv},
    {"\x1B\x75\x41"sv, {}, Text::Upper},
    {"\x1B\x75\x42"sv, {}, Text::Lower},
};

// AEDEX, and EMAX, which every guide prints in the same table. Guides
// disagree on "!#A", so it is reported like any other unknown.
constexpr Command AedexCommands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    line("!#1"sv, Upper, 20),
    line("!#2"sv, Lower, 20),
    line("!#9"sv, Upper, 40),
    line("!#B"sv, Lower, 20),
    scroll("!#4"sv, Upper, 60), // continuously; guides give 40, 45 or 60 characters
    scroll("!#6"sv, Upper, 60), // once
    {.lead = "!#5"sv, .effect = Effect::Clock, .row = Lower, .textLimit = 5},
    {.lead = "!#8"sv, .effect = Effect::ChangeAttention, .textLimit = 2},
    command("!#7\x0D"sv, Effect::Nothing), // character trapping off: no effect described
};
constexpr Step AedexTest[] = {
    {"\x0D"sv},
    {"!#1"sv, {}, Text::Upper},
    {"!#2"sv, {}, Text::Lower},
};

constexpr Command Adm788Commands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    command("\x0C"sv, Effect::Clear),
    rowCommand("\x0E"sv, Effect::ClearRowFromStart, Upper),
    rowCommand("\x0F"sv, Effect::ClearRowFromStart, Lower),
    // Taken; the glass does not yet show decimal points or blinking rows.
    command("\x10"sv, Effect::Nothing, Range{0x31, 0x37}),
    command("\x11"sv, Effect::Nothing, Range{0x31, 0x32}),
    command("\x12"sv, Effect::Nothing, Range{0x31, 0x32}),
};
constexpr Step Adm788Test[] = {
    {"\x0C"sv},
    {"\x0E"sv, {}, Text::Upper},
    {"\x0F"sv, {}, Text::Lower},
};

// ESC Q A / ESC Q B enter string mode for a row; in it only CLR and CAN are
// taken besides the text and its closing 0D.
constexpr Command Cd5220Commands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    taken(command("\x0C"sv, Effect::Clear), Taken::AlsoInText),
    taken(command("\x18"sv, Effect::Nothing), Taken::OnlyInText), // cancel: the string is not shown
    // What initialising shows is not settled: the cells stay, the look
    // returns to its power-on values as in EPSON.
    command("\x1B\x40"sv, Effect::Initialise),
    line("\x1B\x51\x41"sv, Upper, 20),
    line("\x1B\x51\x42"sv, Lower, 20),
    scroll("\x1B\x51\x44"sv, Upper, 40),
    // An international set, whose glyphs are not publicly settled.
    command("\x1B\x66"sv, Effect::Reported, Any),
    command("\x1B\x6C"sv, Effect::CursorToColumnRow, Column, Row),
    command("\x18"sv, Effect::ClearCursorRow),
    command("\x1B\x11"sv, Effect::OverwriteMode),
    command("\x1B\x12"sv, Effect::VerticalScrollMode),
    command("\x1B\x13"sv, Effect::HorizontalScrollMode),
    command("\x1F\x01"sv, Effect::OverwriteMode),
    command("\x1F\x02"sv, Effect::VerticalScrollMode),
    command("\x1F\x03"sv, Effect::HorizontalScrollMode),
    command("\x1B\x5B\x44"sv, Effect::CursorLeftWrapping),
    command("\x08"sv, Effect::CursorLeftWrapping),
    command("\x1B\x5B\x43"sv, Effect::CursorRightWrapping),
    command("\x09"sv, Effect::CursorRightWrapping),
    command("\x1B\x5B\x41"sv, Effect::LineUp),
    command("\x1F\x0A"sv, Effect::LineUp),
    command("\x1B\x5B\x42"sv, Effect::LineFeed),
    command("\x0A"sv, Effect::LineFeed),
    command("\x1B\x5B\x48"sv, Effect::Home),
    command("\x0B"sv, Effect::Home),
    command("\x1B\x5B\x4C"sv, Effect::CarriageReturn),
    command("\x1B\x5B\x52"sv, Effect::RowEnd),
    command("\x1F\x0D"sv, Effect::RowEnd),
    command("\x1B\x5B\x4B"sv, Effect::BottomLeft),
    command("\x1F\x42"sv, Effect::BottomLeft),
    command("\x1F\x40"sv, Effect::ClearAndHome), // self-test
    command("\x1B\x2A"sv, Effect::BrightnessLevel, Brightness),
    command("\x1B\x5F"sv, Effect::CursorShown, OffOn),
    command("\x1F\x45"sv, Effect::BlinkScreen, Any),
    // Taken; the glass does not yet show fonts.
    command("\x1B\x63"sv, Effect::Nothing, Any),
    command("\x1B\x26"sv, Effect::DefineCharacters, Range{1, 1}, Code, Code),
    command("\x1B\x25"sv, Effect::SelectUserCharacters, OffOn),
    command("\x1B\x3F"sv, Effect::DeleteUserCharacter, Code),
    command("\x1B\x73\x01"sv, Effect::Nothing),
    command("\x1B\x64\x01"sv, Effect::Nothing),
    command("\x1B\x3D"sv, Effect::Nothing, Range{1, 3}),
    // Another emulation at run time, which is not followed.
    command("\x1B\x23"sv, Effect::Reported, Range{0x30, 0x37}),
};
// CLR first: a display left in string mode takes nothing else.
constexpr Step Cd5220Test[] = {
    {"\x0C"sv},
    {"\x1B\x40"sv},
    {"\x1B\x51\x41"sv, {}, Text::Upper},
    {"\x1B\x51\x42"sv, {}, Text::Lower},
};

// Logic Controls. It powers up (and resets) in vertical scroll mode, so the
// test screen selects normal mode before positioning.
constexpr Command LogicControlCommands[] = {
    command("\x0D"sv, Effect::CarriageReturn),
    command("\x0A"sv, Effect::LineFeed),
    command("\x08"sv, Effect::CursorLeft),
    command("\x09"sv, Effect::CursorRight),
    command("\x1F"sv, Effect::Reset),
    command("\x11"sv, Effect::OverwriteMode),
    command("\x12"sv, Effect::VerticalScrollMode),
    command("\x10"sv, Effect::CursorToCell, Cell),
    command("\x13"sv, Effect::CursorOn),
    command("\x14"sv, Effect::CursorOff),
    command("\x04"sv, Effect::BrightnessPercent, Any),
    command("\x03"sv, Effect::DefineCharacterRows, Range{0x20, 0x7F}, Any, Any, Any, Any, Any),
    scroll("\x05"sv, Upper, 45),     // right to left
    scroll("\x1B\x06"sv, Lower, 45), // leftward
    scroll("\x1B\x07"sv, Upper, 45), // rightward
    scroll("\x1B\x0B"sv, Lower, 45), // rightward
};
// Five carriage returns first: they end a scroll text and complete a
// character definition (03, a code, five dot bytes) a till left unfinished.
constexpr Step LogicControlTest[] = {
    {"\x0D"sv}, {"\x0D"sv}, {"\x0D"sv}, {"\x0D"sv}, {"\x0D"sv},
    {"\x1F"sv},
    {"\x11"sv},
    {"\x10"sv, {0x00}, Text::Upper},
    {"\x10"sv, {0x14}, Text::Lower},
};

// No public command table: nothing is taken as a command.
constexpr Description notDescribed(int position, std::string_view entry)
{
    return {.position = position, .listEntry = entry};
}

constexpr Description Table[] = {
    notDescribed(KS310, "KS310"sv),
    {.position = Epson, .listEntry = "EPSON (Default)"sv, .described = true,
     .commands = EpsonCommands, .testScreen = EpsonTest},
    {.position = UtcStandard, .listEntry = "UTC/S"sv, .described = true,
     .commands = UtcStandardCommands, .testScreen = UtcStandardTest},
    // That the list's "UTC/P" is the enhanced UTC set is an inference.
    {.position = UtcEnhanced, .listEntry = "UTC/P"sv, .described = true,
     .commands = UtcEnhancedCommands, .attention = "\x1B\x75"sv, .testScreen = UtcEnhancedTest},
    {.position = Aedex, .listEntry = "AEDEX"sv, .described = true, .commands = AedexCommands,
     .attention = "!#"sv, .testScreen = AedexTest},
    {.position = Adm788, .listEntry = "ADM788"sv, .described = true,
     .commands = Adm788Commands, .testScreen = Adm788Test},
    notDescribed(Dsp800, "DSP800"sv),
    {.position = Cd5220, .listEntry = "CD5220"sv, .described = true,
     .commands = Cd5220Commands, .testScreen = Cd5220Test},
    {.position = Emax, .listEntry = "EMAX"sv, .described = true, .commands = AedexCommands,
     .attention = "!#"sv, .testScreen = AedexTest},
    {.position = LogicControl, .listEntry = "LogicControl"sv, .described = true,
     .commands = LogicControlCommands, .powerOnMode = Mode::VerticalScroll,
     .testScreen = LogicControlTest},
};

// clang-format on

constexpr Description Outside = notDescribed(-1, {});

constexpr const Command *findLead(const Description &set, std::string_view lead)
{
    for (const Command &command : set.commands) {
        if (command.lead == lead)
            return &command;
    }
    return nullptr;
}

// Each description stands at its own position, under the list's own text.
constexpr bool followsTheList()
{
    if (std::size(Table) != std::size(OptionLists::CommandSetEntries) || std::size(Table) != Count)
        return false;
    for (std::size_t k = 0; k < std::size(Table); ++k) {
        if (Table[k].position != int(k) || Table[k].listEntry != OptionLists::CommandSetEntries[k])
            return false;
    }
    return true;
}
static_assert(followsTheList(), "a command set's description is not at its place in the list");

// A test screen writes only commands of its own set, each with its
// parameters in range; so the writer and the reader cannot disagree.
constexpr bool testScreensUseTheirRows()
{
    for (const Description &set : Table) {
        if (set.described == set.testScreen.empty())
            return false;
        for (const Step &step : set.testScreen) {
            const Command *command = findLead(set, step.lead);
            if (command == nullptr || command->taken == Taken::OnlyInText)
                return false;
            for (int k = 0; k < command->parameterCount; ++k) {
                const auto value = step.parameters.at(std::size_t(k));
                const Range range = command->parameters.at(std::size_t(k));
                if (value < range.low || value > range.high)
                    return false;
            }
        }
    }
    return true;
}
static_assert(testScreensUseTheirRows(), "a test screen step names no command of its set");

} // namespace

const Description &description(int position)
{
    return isListed(position) ? Table[position] : Outside;
}

const Command *commandWithLead(const Description &set, std::string_view lead)
{
    return findLead(set, lead);
}

} // namespace CommandSets
