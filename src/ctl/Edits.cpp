#include "Edits.h"

#include "editors/CharacterEditor.h"
#include "messages/Messages.h"
#include "model/CodePage.h"
#include "model/HexText.h"
#include "model/OptionLists.h"

namespace Edits {

namespace {

const QString GlyphOption = QStringLiteral("glyph");
const QString ClearGlyphOption = QStringLiteral("clear-glyph");

QString hexOption(const ImageCodec::LinePlace &line)
{
    return QLatin1String(line.name) + QStringLiteral("-hex");
}

// The entries of a list as the help and the messages name them, and the
// other texts taken for them.
QString entriesText(const DisplaySettingInfo &setting)
{
    QStringList entries;
    for (int position = 0; position < setting.size(); ++position)
        entries << QStringLiteral("%1 \"%2\"").arg(position).arg(setting.entries().at(position));
    QString text = entries.join(QStringLiteral(", "));
    QStringList aliases;
    for (const OptionLists::Alias &alias : setting.aliases)
        aliases << QStringLiteral("\"%1\"").arg(QLatin1String(alias.text));
    if (!aliases.isEmpty())
        text += QStringLiteral("; also taken: ") + aliases.join(QStringLiteral(", "));
    return text;
}

} // namespace

int listPosition(const QString &option, const DisplaySettingInfo &setting, const QString &value)
{
    // Texts first: a speed such as 9600 is an entry's name, not a position.
    if (const int found = setting.positionOf(value); found >= 0)
        return found;
    bool isNumber = false;
    const int position = value.toInt(&isNumber);
    if (isNumber) {
        if (!setting.isEntry(position))
            Cli::usage(QStringLiteral("--%1 %2: the position lies outside 0..%3; the entries are "
                                      "%4")
                           .arg(option, Messages::shown(value))
                           .arg(setting.size() - 1)
                           .arg(entriesText(setting)));
        return position;
    }
    Cli::usage(QStringLiteral("--%1 %2: no such entry; the entries are %3")
                   .arg(option, Messages::quoted(value), entriesText(setting)));
}

namespace {

void checkFits(const QString &option, qsizetype count, const char *what, int cells)
{
    if (count > cells)
        Cli::usage(QStringLiteral("--%1: %2 %3, the line holds %4")
                       .arg(option)
                       .arg(count)
                       .arg(QLatin1String(what))
                       .arg(cells));
}

QString lineText(const QString &option, const QString &value, int cells)
{
    for (qsizetype k = 0; k < value.size(); ++k) {
        if (!CodePage::hasCode(value.at(k)))
            Cli::usage(QStringLiteral("--%1: character %2 (U+%3) has no code in the display's "
                                      "code page; give it with --%1-hex")
                           .arg(option)
                           .arg(k + 1)
                           .arg(QString::number(value.at(k).unicode(), 16)
                                    .toUpper()
                                    .rightJustified(4, QLatin1Char('0'))));
    }
    checkFits(option, value.size(), "characters", cells);
    return value;
}

QStringList linePairs(const QString &option, const QString &value, int cells)
{
    QStringList pairs;
    for (const QString &group : value.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const QChar c : group) {
            if (!HexText::digitValue(c))
                Cli::usage(QStringLiteral("--%1: %2 is no hex digit").arg(option, Messages::quoted(c)));
        }
        if (group.size() % 2 != 0)
            Cli::usage(QStringLiteral("--%1: %2 has an odd number of hex digits; give whole "
                                      "pairs such as 2A or 05")
                           .arg(option, Messages::quoted(group)));
        for (qsizetype k = 0; k < group.size(); k += 2)
            pairs << group.mid(k, 2);
    }
    checkFits(option, pairs.size(), "pairs", cells);
    return pairs;
}

int glyphNumber(const QString &option, const QString &value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < CharacterEditor::FirstNumber || number > CharacterEditor::LastNumber)
        Cli::usage(QStringLiteral("--%1: character %2 lies outside %3..%4")
                       .arg(option, Messages::quoted(value))
                       .arg(CharacterEditor::FirstNumber)
                       .arg(CharacterEditor::LastNumber));
    return number;
}

ImageCodec::Glyph glyph(int number, const QString &value)
{
    const QStringList parts = value.split(QLatin1Char(':'));
    if (parts.size() != 3)
        Cli::usage(QStringLiteral("--glyph %1: give N:CODE:PATTERN, such as "
                                  "1:0x41:.###./#...#/#...#/#####/#...#/#...#/#...#")
                       .arg(Messages::quoted(value)));
    QString code = parts[1];
    if (code.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        code.remove(0, 2);
    const CharacterEditor::CodeReading reading = CharacterEditor::readCode(code);
    if (code.size() > CharacterEditor::CodeTextLength ||
        reading.fault == CharacterEditor::CodeFault::NotHex)
        Cli::usage(QStringLiteral("--glyph: code %1 is no hex number").arg(Messages::quoted(parts[1])));
    if (reading.fault == CharacterEditor::CodeFault::OutOfRange)
        Cli::usage(QStringLiteral("--glyph: code %1 lies outside 0x%2..0x%3")
                       .arg(Messages::shown(parts[1]), HexText::hexPair(CharacterEditor::LowestCode),
                            HexText::hexPair(CharacterEditor::HighestCode)));

    const std::optional<ImageCodec::Dots> dots = ImageCodec::readPattern(parts[2]);
    if (!dots)
        Cli::usage(QStringLiteral("--glyph: pattern %1 is not %2 rows of %3 '#' or '.' "
                                  "joined by '/'")
                       .arg(Messages::quoted(parts[2]))
                       .arg(ImageLayout::GlyphRows)
                       .arg(ImageLayout::GlyphColumns));
    return ImageCodec::Glyph::drawn(number, reading.code, *dots);
}

} // namespace

void addOptions(Cli::CommandLine &commandLine)
{
    for (const DisplaySettingInfo &setting : DisplaySettings::Table) {
        commandLine.addOption({QLatin1String(setting.name)},
                              QStringLiteral("Set %1: an entry of its list, by its text (case "
                                             "does not matter, \"(Default)\" may be left off) "
                                             "or its 0-based position. Entries: %2.")
                                  .arg(QLatin1String(setting.helpCaption), entriesText(setting)),
                              QStringLiteral("entry"));
    }
    for (const ImageCodec::LinePlace &line : ImageCodec::Lines) {
        const QString name = QLatin1String(line.name);
        commandLine.addOption({name},
                              QStringLiteral("Set the welcome line %1 as text, at most %2 "
                                             "characters of the ASCII cells' code page; the "
                                             "rest of the line is 0.")
                                  .arg(name.right(1))
                                  .arg(line.length),
                              QStringLiteral("text"));
        commandLine.addOption({hexOption(line)},
                              QStringLiteral("Set the welcome line %1 as hex pairs, spaces "
                                             "allowed between pairs; the rest of the line is 0.")
                                  .arg(name.right(1)),
                              QStringLiteral("pairs"));
    }
    commandLine.addOption({GlyphOption},
                          QStringLiteral("Define user character N (1..9) with CODE (0x20..0x7E) "
                                         "and PATTERN, seven rows of five '#' or '.' joined by "
                                         "'/', top row first. May be repeated."),
                          QStringLiteral("N:CODE:PATTERN"));
    commandLine.addOption({ClearGlyphOption},
                          QStringLiteral("Empty user character N (1..9). May be repeated."),
                          QStringLiteral("N"));
}

Plan read(const Cli::CommandLine &commandLine)
{
    Plan plan;
    for (const DisplaySettingInfo &setting : DisplaySettings::Table) {
        const QString name = QLatin1String(setting.name);
        const QString value = commandLine.atMostOneValue(name);
        if (commandLine.isSet(name))
            plan.positions.emplace_back(setting.setting, listPosition(name, setting, value));
    }
    for (std::size_t k = 0; k < ImageCodec::LineCount; ++k) {
        const ImageCodec::LinePlace &line = ImageCodec::Lines[k];
        const QString name = QLatin1String(line.name);
        const QString text = commandLine.textValue(name);
        const QString hex = commandLine.atMostOneValue(hexOption(line));
        if (commandLine.isSet(name) && commandLine.isSet(hexOption(line)))
            Cli::usage(QStringLiteral("give --%1 or --%2, not both").arg(name, hexOption(line)));
        if (commandLine.isSet(name))
            plan.lineText[k] = lineText(name, text, line.length);
        if (commandLine.isSet(hexOption(line)))
            plan.lineHex[k] = linePairs(hexOption(line), hex, line.length);
    }
    const auto claim = [&plan](const ImageCodec::Glyph &glyph) {
        if (!plan.glyphs.emplace(glyph.number, glyph).second)
            Cli::usage(QStringLiteral("user character %1 is given twice").arg(glyph.number));
    };
    for (const QString &value : commandLine.values(GlyphOption)) {
        const int number = glyphNumber(GlyphOption, value.section(QLatin1Char(':'), 0, 0));
        claim(glyph(number, value));
    }
    for (const QString &value : commandLine.values(ClearGlyphOption))
        claim(ImageCodec::Glyph{glyphNumber(ClearGlyphOption, value)});
    return plan;
}

void apply(const Plan &plan, Configuration &config)
{
    for (const auto &[list, position] : plan.positions)
        config.setListPosition(list, position);
    MessageLine *lines[] = {&config.line1(), &config.line2()};
    for (std::size_t k = 0; k < std::size(lines); ++k) {
        MessageLine &line = *lines[k];
        if (plan.lineText[k]) {
            const QString &text = *plan.lineText[k];
            line.selectView(MessageLine::View::Ascii);
            for (int cell = 1; cell <= line.cellCount(); ++cell)
                line.setAsciiText(cell, text.mid(cell - 1, 1));
        }
        if (plan.lineHex[k]) {
            line.selectView(MessageLine::View::Hex);
            for (int cell = 1; cell <= line.cellCount(); ++cell)
                line.setHexText(cell, plan.lineHex[k]->value(cell - 1));
        }
    }
    for (const auto &numbered : plan.glyphs)
        ImageCodec::storeGlyph(config.image(), numbered.second);
    config.AssembleImage();
}

} // namespace Edits
