#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "Cli.h"
#include "editors/CharacterEditor.h"
#include "editors/Configuration.h"

// The EDITS that `new` and `edit` take: every value is read and checked
// here, before anything is written, and then applied as the window's
// controls would apply it.
namespace Edits {

struct Glyph
{
    quint8 code = 0;
    CharacterEditor::Grid grid{};
};

struct Plan
{
    std::vector<std::pair<Configuration::DisplayList, int>> positions;
    std::optional<QString> lineText[2];         // typed into the ASCII cells
    std::optional<QStringList> lineHex[2];      // typed into the hex cells, a pair each
    std::map<int, std::optional<Glyph>> glyphs; // nothing: the slot is cleared
};

// Adds --char, --command, --display-baud, --passthru, --line1, --line2,
// --line1-hex, --line2-hex, --glyph and --clear-glyph.
void addOptions(Cli::CommandLine &commandLine);

// Reads the edits; a usage Failure names the first value that is wrong.
Plan read(const Cli::CommandLine &commandLine);

// Applies checked edits, then assembles the image as a save does.
void apply(const Plan &plan, Configuration &config);

} // namespace Edits
