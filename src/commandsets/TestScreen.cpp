#include "commandsets/TestScreen.h"

#include <QList>

#include "commandsets/CommandSet.h"
#include "commandsets/CommandSets.h"
#include "model/Printable.h"

namespace TestScreen {
namespace {

QByteArray padded(QStringView text)
{
    QByteArray bytes = text.toLatin1();
    bytes.append(TextLength - bytes.size(), ' ');
    return bytes;
}

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

std::optional<Problem> checkText(int set, int line, QStringView text)
{
    const QList<uint> codes = text.toUcs4();
    for (qsizetype k = 0; k < codes.size(); ++k) {
        const uint code = codes.at(k);
        if (!Printable::contains(code))
            return Problem{Refusal::NotPrintable, set, line, int(k) + 1,
                           shownCharacter(char32_t(code))};
    }
    // A printable attention sequence ("!#" in AEDEX) starts a command
    // wherever it stands.
    const std::string_view attention = CommandSets::description(set).attention;
    if (!attention.empty()) {
        const QLatin1String sequence(attention.data(), qsizetype(attention.size()));
        const qsizetype at = text.indexOf(sequence);
        if (at >= 0)
            return Problem{Refusal::AttentionSequence, set, line, int(at) + 1,
                           QStringLiteral("\"%1\"").arg(sequence)};
    }
    if (codes.size() > TextLength)
        return Problem{Refusal::TextTooLong, set, line, int(codes.size()), {}};
    return std::nullopt;
}

// Each step is a command of the set's own rows: its lead, its parameters,
// and a line command's text with its terminator, or text at the cursor.
QByteArray bytesOf(int set, const QByteArray &upper, const QByteArray &lower)
{
    const CommandSets::Description &description = CommandSets::description(set);
    QByteArray out;
    for (const CommandSets::Step &step : description.testScreen) {
        const CommandSets::Command *command = CommandSets::commandWithLead(description, step.lead);
        Q_ASSERT(command != nullptr); // checked when the table is compiled
        out.append(step.lead.data(), qsizetype(step.lead.size()));
        for (int k = 0; k < command->parameterCount; ++k)
            out.append(char(step.parameters.at(std::size_t(k))));
        if (step.text != CommandSets::Text::None)
            out.append(step.text == CommandSets::Text::Upper ? upper : lower);
        if (command->isLine())
            out.append(char(command->terminator));
    }
    return out;
}

} // namespace

Result compose(int set, QStringView line1, QStringView line2)
{
    if (!CommandSets::isListed(set))
        return {{}, Problem{Refusal::NoSuchSet, set, 0, 0, {}}};
    if (!CommandSets::isPubliclyDescribed(set))
        return {{}, Problem{Refusal::NoPublicDescription, set, 0, 0, {}}};
    if (auto problem = checkText(set, 1, line1))
        return {{}, problem};
    if (auto problem = checkText(set, 2, line2))
        return {{}, problem};
    return {bytesOf(set, padded(line1), padded(line2)), std::nullopt};
}

QString describe(const Problem &problem)
{
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
            .arg(TextLength);
    case Refusal::NotPrintable:
        return QStringLiteral("line %1, character %2 is %3, not printable ASCII (0x20 to 0x7E)")
            .arg(problem.line)
            .arg(problem.position)
            .arg(problem.shown);
    case Refusal::AttentionSequence:
        return QStringLiteral("line %1, character %2: %3 starts a command in %4")
            .arg(problem.line)
            .arg(problem.position)
            .arg(problem.shown, name);
    }
    return {};
}

QString defaultLine1(int set)
{
    const QString name = CommandSets::shortName(set);
    const QString full = QStringLiteral("TQ-540 TEST: ") + name;
    if (full.size() <= TextLength)
        return full;
    return QStringLiteral("TQ-540 ") + name;
}

} // namespace TestScreen
