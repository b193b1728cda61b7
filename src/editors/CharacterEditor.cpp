#include "editors/CharacterEditor.h"

#include "model/HexText.h"

namespace {

const QString FirstCaption = QStringLiteral("User Defined Character  1");
const QString StepCaption = QStringLiteral("User Defined Character ");

} // namespace

CharacterEditor::CodeReading CharacterEditor::readCode(QStringView text)
{
    // The high digit is checked before the low one, and both before the range.
    CodeReading reading;
    if (text.isEmpty()) {
        reading.result = Step::HexValueError;
        return reading;
    }
    int code = 0;
    if (text.size() > 1) {
        const std::optional<quint8> high = HexText::digitValue(text.front());
        if (!high) {
            reading.result = Step::HexValueError;
            return reading;
        }
        code = 16 * *high;
    }
    const std::optional<quint8> low = HexText::digitValue(text.back());
    if (!low) {
        reading.result = Step::HexValueError;
        return reading;
    }
    code += *low;
    if (code < LowestCode || code > HighestCode) {
        reading.result = Step::RangeError;
        return reading;
    }
    reading.code = static_cast<quint8>(code);
    return reading;
}

QString CharacterEditor::messageFor(Step step)
{
    switch (step) {
    case Step::HexValueError:
        return QStringLiteral("Hex Value Error !!");
    case Step::RangeError:
        return QStringLiteral("Error !! Range is 0x20~0x7E !!");
    case Step::Moved:
    case Step::Ignored:
        break;
    }
    return QString();
}

CharacterEditor::CharacterEditor(SettingsImage &image, QObject *parent)
    : QObject(parent), m_image(image), m_caption(FirstCaption)
{
}

bool CharacterEditor::isLit(int column, int row) const
{
    if (column < 1 || column > Columns || row < 0 || row >= Rows)
        return false;
    return m_dots[static_cast<std::size_t>(column - 1)][static_cast<std::size_t>(row)];
}

bool CharacterEditor::matchesRecord() const
{
    const int p = position();
    const quint8 code = m_image.at(p);
    const QString shownCode = code != 0 ? HexText::hexCompact(code) : QString();
    if (m_codeText.compare(shownCode, Qt::CaseInsensitive) != 0)
        return false;
    for (int column = 1; column <= Columns; ++column) {
        const quint8 bits = m_image.at(p + column);
        for (int row = 0; row < Rows; ++row) {
            if (isLit(column, row) != bool((bits >> row) & 1u))
                return false;
        }
    }
    return true;
}

QString CharacterEditor::unstoredNote() const
{
    if (matchesRecord())
        return QString();
    // Only the buttons that step from here store the drawing.
    const QString buttons = m_number == FirstNumber  ? QStringLiteral(">>")
                            : m_number == LastNumber ? QStringLiteral("<<")
                                                     : QStringLiteral("<< or >>");
    if (m_codeText.isEmpty())
        return tr("Not stored yet: give it a code (0x20~0x7E), then press %1").arg(buttons);
    return tr("Not stored yet: press %1 to keep this character").arg(buttons);
}

void CharacterEditor::setCodeText(const QString &text)
{
    const QString cut = text.left(CodeTextLength);
    if (cut == m_codeText)
        return;
    m_codeText = cut;
    emit changed();
}

void CharacterEditor::toggleDot(int column, int row)
{
    if (column < 1 || column > Columns || row < 0 || row >= Rows)
        return;
    bool &dot = m_dots[static_cast<std::size_t>(column - 1)][static_cast<std::size_t>(row)];
    dot = !dot;
    emit changed();
}

void CharacterEditor::clearGrid()
{
    m_dots = {};
    emit changed();
}

CharacterEditor::Step CharacterEditor::stepNext()
{
    return step(+1, LastNumber);
}

CharacterEditor::Step CharacterEditor::stepPrevious()
{
    return step(-1, FirstNumber);
}

CharacterEditor::Step CharacterEditor::step(int delta, int stopAt)
{
    if (m_number == stopAt)
        return Step::Ignored;

    // An empty code text moves on without storing: the record keeps what it held.
    if (!m_codeText.isEmpty()) {
        const CodeReading reading = readCode(m_codeText);
        if (reading.result != Step::Moved) {
            // Emptied so that a second press steps on without storing.
            m_codeText.clear();
            emit changed();
            return reading.result;
        }
        map_save(reading.code);
    }

    m_number += delta;
    m_caption = StepCaption + QString::number(m_number);
    map_reset();
    return Step::Moved;
}

CharacterEditor::Grid CharacterEditor::gridOf(const SettingsImage &image, int number)
{
    const int p = ImageLayout::recordPosition(number);
    Grid grid{};
    for (int column = 1; column <= Columns; ++column) {
        const quint8 bits = image.at(p + column);
        for (int row = 0; row < Rows; ++row) // bit 7 is ignored
            grid[static_cast<std::size_t>(column - 1)][static_cast<std::size_t>(row)] =
                (bits >> row) & 1u;
    }
    return grid;
}

void CharacterEditor::storeRecord(SettingsImage &image, int number, quint8 code, const Grid &grid)
{
    const int p = ImageLayout::recordPosition(number);
    image.set(p, code);
    for (int column = 1; column <= Columns; ++column) {
        quint8 bits = 0; // bit 7 is always written as 0
        for (int row = 0; row < Rows; ++row) {
            if (grid[static_cast<std::size_t>(column - 1)][static_cast<std::size_t>(row)])
                bits |= static_cast<quint8>(1u << row);
        }
        image.set(p + column, bits);
    }
}

void CharacterEditor::map_save(quint8 code)
{
    storeRecord(m_image, m_number, code, m_dots);
}

void CharacterEditor::map_reset()
{
    const quint8 code = m_image.at(position());
    m_codeText = code != 0 ? HexText::hexCompact(code) : QString();
    m_dots = gridOf(m_image, m_number);
    emit changed();
}

void CharacterEditor::returnToFirst(bool redraw)
{
    m_number = FirstNumber;
    m_caption = FirstCaption;
    if (redraw) {
        map_reset(); // emits changed()
        return;
    }
    m_codeText.clear();
    m_dots = {};
    emit changed();
}
