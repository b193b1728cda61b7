#include "editors/CharacterEditor.h"

#include "model/HexText.h"

namespace {

// The code box shows a record's code without a leading zero, and 0 as nothing.
QString codeTextOf(const ImageCodec::Glyph &record)
{
    return record.code != 0 ? HexText::hexCompact(record.code) : QString();
}

} // namespace

CharacterEditor::CodeReading CharacterEditor::readCode(QStringView text)
{
    // The high digit is checked before the low one, and both before the range.
    if (text.isEmpty())
        return {CodeFault::NotHex};
    int code = 0;
    if (text.size() > 1) {
        const std::optional<quint8> high = HexText::digitValue(text.front());
        if (!high)
            return {CodeFault::NotHex};
        code = 16 * *high;
    }
    const std::optional<quint8> low = HexText::digitValue(text.back());
    if (!low)
        return {CodeFault::NotHex};
    code += *low;
    if (code < LowestCode || code > HighestCode)
        return {CodeFault::OutOfRange};
    return {CodeFault::None, static_cast<quint8>(code)};
}

CharacterEditor::CharacterEditor(SettingsImage &image, QObject *parent)
    : QObject(parent), m_image(image)
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
    const ImageCodec::Glyph record = ImageCodec::glyphAt(m_image, m_number);
    return m_codeText.compare(codeTextOf(record), Qt::CaseInsensitive) == 0 &&
           m_dots == record.dots();
}

CharacterEditor::Unstored CharacterEditor::unstored() const
{
    if (matchesRecord())
        return Unstored::None;
    return m_codeText.isEmpty() ? Unstored::NeedsCode : Unstored::NeedsStep;
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
        if (reading.fault != CodeFault::None) {
            // Emptied so that a second press steps on without storing.
            m_codeText.clear();
            emit changed();
            return reading.fault == CodeFault::NotHex ? Step::HexValueError : Step::RangeError;
        }
        map_save(reading.code);
    }

    m_number += delta;
    m_startUpCaption = false;
    map_reset();
    return Step::Taken;
}

void CharacterEditor::map_save(quint8 code)
{
    ImageCodec::storeGlyph(m_image, ImageCodec::Glyph::drawn(m_number, code, m_dots));
}

void CharacterEditor::map_reset()
{
    const ImageCodec::Glyph record = ImageCodec::glyphAt(m_image, m_number);
    m_codeText = codeTextOf(record);
    m_dots = record.dots();
    emit changed();
}

void CharacterEditor::returnToFirst(WorkingCopy workingCopy)
{
    m_number = FirstNumber;
    m_startUpCaption = true;
    if (workingCopy == WorkingCopy::Redrawn) {
        map_reset(); // emits changed()
        return;
    }
    m_codeText.clear();
    m_dots = {};
    emit changed();
}

void CharacterEditor::restore(const State &state)
{
    if (state.number < FirstNumber || state.number > LastNumber)
        return;
    m_number = state.number;
    m_startUpCaption = state.startUpCaption;
    m_codeText = state.codeText.left(CodeTextLength);
    m_dots = state.dots;
    emit changed();
}
