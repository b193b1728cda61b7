#include "messages/CheckMessages.h"

#include "commandsets/CommandSet.h"
#include "commandsets/CommandSets.h"
#include "messages/SettingMessages.h"
#include "model/HexText.h"
#include "model/Printable.h"

namespace CheckMessages {
namespace {

using ImageCodec::FieldRef;

// The character as a message names it: hex for an ASCII control, the
// character and its code point otherwise.
QString shownCharacter(char32_t code)
{
    if (code < 0x80)
        return QStringLiteral("0x") +
               QString::number(uint(code), 16).rightJustified(2, QLatin1Char('0')).toUpper();
    const QString point = QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    if (QChar::isPrint(code))
        return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&code, 1), point);
    return point;
}

// "Command Mode :" and " Character Type :" as a name in a sentence.
QString captionOf(const DisplaySettingInfo &info)
{
    QString caption = QString::fromLatin1(info.windowCaption).trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

QString testScreenRefusal(const TestScreen::Problem &problem)
{
    using TestScreen::Refusal;
    const QString name = CommandSets::shortName(problem.set);
    switch (problem.reason) {
    case Refusal::NoSuchSet:
        return QStringLiteral("there is no command set at position %1 of the Command Mode list")
            .arg(problem.set);
    case Refusal::NoPublicDescription:
        return QStringLiteral("no public description of the %1 command set").arg(name);
    case Refusal::TextTooLong:
        return QStringLiteral("line %1 has %2 characters; a row holds %3")
            .arg(problem.line)
            .arg(problem.position)
            .arg(TestScreen::TextLength);
    case Refusal::NotPrintable:
        return QStringLiteral("line %1, character %2 is %3, not printable ASCII (0x%4 to 0x%5)")
            .arg(problem.line)
            .arg(problem.position)
            .arg(shownCharacter(problem.code), HexText::hexPair(Printable::First),
                 HexText::hexPair(Printable::Last));
    case Refusal::AttentionSequence: {
        const std::string_view attention = CommandSets::description(problem.set).attention;
        return QStringLiteral("line %1, character %2: \"%3\" starts a command in %4")
            .arg(problem.line)
            .arg(problem.position)
            .arg(QLatin1String(attention.data(), qsizetype(attention.size())), name);
    }
    }
    return {};
}

QString defaultTestLine1(int set)
{
    const QString name = CommandSets::shortName(set);
    const QString full = QStringLiteral("TQ-540 TEST: ") + name;
    if (full.size() <= TestScreen::TextLength)
        return full;
    return QStringLiteral("TQ-540 ") + name;
}

QString difference(const FieldRef &ref, const ImageCodec::Fields &window,
                   const ImageCodec::Fields &display)
{
    switch (ref.kind) {
    case FieldRef::Kind::Setting: {
        const ImageCodec::SettingField &ours = window.settings[ref.slot];
        return QStringLiteral("%1: %2 / display: %3")
            .arg(captionOf(ours.info()), SettingMessages::entryOrByte(ours),
                 SettingMessages::entryOrByte(display.settings[ref.slot]));
    }
    case FieldRef::Kind::Cell:
        return QStringLiteral("Welcome Msg %1, cell %2: %3 / %4")
            .arg(ref.slot + 1)
            .arg(ref.cell)
            .arg(HexText::hexPair(window.lines[ref.slot].cell(ref.cell)),
                 HexText::hexPair(display.lines[ref.slot].cell(ref.cell)));
    case FieldRef::Kind::Glyph:
        return QStringLiteral("User Defined Character %1").arg(window.glyphs[ref.slot].number);
    case FieldRef::Kind::Reserved:
        return QStringLiteral("Reserved byte %1: %2 / %3")
            .arg(window.reserved[ref.slot].index)
            .arg(HexText::hexPair(window.reserved[ref.slot].value),
                 HexText::hexPair(display.reserved[ref.slot].value));
    }
    return ref.name();
}

QString comparisonHeading(int differences)
{
    if (differences == 0)
        return QStringLiteral("The display holds exactly the window's settings.");
    if (differences == 1)
        return QStringLiteral("The display differs in 1 field:");
    return QStringLiteral("The display differs in %1 fields:").arg(differences);
}

QString speedNote(const QString &displaySpeed, const QString &link)
{
    return QStringLiteral("After its restart the display listens at %1; \"Buad Rate\" is %2.")
        .arg(displaySpeed, link);
}

} // namespace CheckMessages
