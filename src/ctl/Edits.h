#pragma once

#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "Cli.h"
#include "editors/Configuration.h"
#include "model/ImageCodec.h"

// The EDITS that `new` and `edit` take: every value is read and checked
// here, before anything is written, and then applied as the window's
// controls would apply it.
namespace Edits {

struct Plan
{
    std::vector<std::pair<DisplaySetting, int>> positions;
    // By line: a text typed into the ASCII cells, or pairs typed into the hex cells.
    std::array<std::optional<QString>, ImageCodec::LineCount> lineText;
    std::array<std::optional<QStringList>, ImageCodec::LineCount> lineHex;
    std::map<int, ImageCodec::Glyph> glyphs; // by number; a cleared one is empty
};

// Adds an option for each display setting (--display-baud, --char, ...),
// --line1, --line2, --line1-hex, --line2-hex, --glyph and --clear-glyph.
void addOptions(Cli::CommandLine &commandLine);

// Reads the edits; a usage Failure names the first value that is wrong.
Plan read(const Cli::CommandLine &commandLine);

// The position that an option's value names in the setting's list: an
// entry's text or its 0-based position. A usage Failure otherwise.
int listPosition(const QString &option, const DisplaySettingInfo &setting, const QString &value);

// Applies checked edits, then assembles the image as a save does.
void apply(const Plan &plan, Configuration &config);

} // namespace Edits
