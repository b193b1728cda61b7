#include "commandsets/TestScreen.h"

#include <QList>

#include "commandsets/CommandSets.h"

namespace TestScreen {
namespace {

using CommandSets::Position;

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
        if (code < 0x20 || code > 0x7E)
            return Problem{Refusal::NotPrintable, set, line, int(k) + 1,
                           shownCharacter(char32_t(code))};
    }
    // In AEDEX and EMAX "!#" starts a command wherever it stands.
    if (set == Position::Aedex || set == Position::Emax) {
        const qsizetype at = text.indexOf(QLatin1String("!#"));
        if (at >= 0)
            return Problem{Refusal::AttentionSequence, set, line, int(at) + 1,
                           QStringLiteral("\"!#\"")};
    }
    if (codes.size() > TextLength)
        return Problem{Refusal::TextTooLong, set, line, int(codes.size()), {}};
    return std::nullopt;
}

QByteArray bytesOf(int set, const QByteArray &upper, const QByteArray &lower)
{
    QByteArray out;
    switch (set) {
    case Position::Epson:
        // Select the display (a printer may share the line), initialise,
        // overwrite mode, then cursor to column 1 of each row.
        out.append("\x1B\x3D\x02"
                   "\x1B\x40"
                   "\x1F\x01",
                   7);
        out.append("\x1F\x24\x01\x01", 4).append(upper);
        out.append("\x1F\x24\x01\x02", 4).append(lower);
        break;
    case Position::UtcStandard:
    case Position::LogicControl:
        // Clear (LogicControl: reset, which powers up in vertical scroll, so
        // normal mode comes before positioning), normal mode, positions 0 and 0x14.
        out.append("\x1F\x11\x10\x00", 4).append(upper);
        out.append("\x10\x14", 2).append(lower);
        break;
    case Position::UtcEnhanced:
        out.append("\x1B\x75\x41", 3).append(upper).append('\r');
        out.append("\x1B\x75\x42", 3).append(lower).append('\r');
        break;
    case Position::Aedex:
    case Position::Emax:
        out.append("!#1").append(upper).append('\r');
        out.append("!#2").append(lower).append('\r');
        break;
    case Position::Adm788:
        // Clear; each row is cleared and the cursor put at its start.
        out.append("\x0C\x0E", 2).append(upper);
        out.append('\x0F').append(lower);
        break;
    case Position::Cd5220:
        // CLR first: a display left in string mode takes nothing else.
        out.append("\x0C\x1B\x40", 3);
        out.append("\x1B\x51\x41", 3).append(upper).append('\r');
        out.append("\x1B\x51\x42", 3).append(lower).append('\r');
        break;
    default:
        break;
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
