#include "messages/CharacterMessages.h"

#include "model/HexText.h"

namespace CharacterMessages {
namespace {

// "0x20~0x7E", as the window writes a range.
QString codeRange()
{
    return QStringLiteral("0x%1~0x%2")
        .arg(HexText::hexPair(CharacterEditor::LowestCode),
             HexText::hexPair(CharacterEditor::HighestCode));
}

} // namespace

QString stepMessage(CharacterEditor::Step step)
{
    switch (step) {
    case CharacterEditor::Step::HexValueError:
        return QStringLiteral("Hex Value Error !!");
    case CharacterEditor::Step::RangeError:
        return QStringLiteral("Error !! Range is %1 !!").arg(codeRange());
    case CharacterEditor::Step::Taken:
    case CharacterEditor::Step::Ignored:
        break;
    }
    return QString();
}

QString unstoredNote(CharacterEditor::Unstored unstored, int number)
{
    // Only the buttons that step from here store the drawing.
    const QString buttons = number == CharacterEditor::FirstNumber  ? QStringLiteral(">>")
                            : number == CharacterEditor::LastNumber ? QStringLiteral("<<")
                                                                    : QStringLiteral("<< or >>");
    switch (unstored) {
    case CharacterEditor::Unstored::None:
        break;
    case CharacterEditor::Unstored::NeedsCode:
        return QStringLiteral("Not stored yet: give it a code (%1), then press %2")
            .arg(codeRange(), buttons);
    case CharacterEditor::Unstored::NeedsStep:
        return QStringLiteral("Not stored yet: press %1 to keep this character").arg(buttons);
    }
    return QString();
}

} // namespace CharacterMessages
