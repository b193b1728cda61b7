#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include "model/ImageCodec.h"
#include "model/Printable.h"
#include "model/SettingsImage.h"

// The editor of the nine user-defined 5x7 characters. The grid and the code
// text are a working copy of one record of the settings image: a step away
// from a character stores it (when its code text is valid), a step onto a
// character refills the working copy from the image.
class CharacterEditor : public QObject
{
    Q_OBJECT

public:
    static constexpr int Columns = ImageLayout::GlyphColumns; // map1..map5, 1 = leftmost
    static constexpr int Rows = ImageLayout::GlyphRows;       // 0 = top row
    static constexpr int FirstNumber = 1;
    static constexpr int LastNumber = 9;
    static constexpr int CodeTextLength = 2;
    static constexpr quint8 LowestCode = Printable::First;
    static constexpr quint8 HighestCode = Printable::Last;

    // What a press on << or >> did.
    enum class Step {
        Taken,         // stored (or skipped with an empty text) and moved on
        Ignored,       // already on the first or last character
        HexValueError, // a character of the code text is no hex digit
        RangeError,    // the code lies outside 0x20..0x7E
    };
    Q_ENUM(Step)

    // Why a code text is no code.
    enum class CodeFault {
        None,       // it is one
        NotHex,     // empty, or a character is no hex digit
        OutOfRange, // outside 0x20..0x7E
    };
    Q_ENUM(CodeFault)

    struct CodeReading
    {
        CodeFault fault = CodeFault::None;
        quint8 code = 0; // with CodeFault::None
    };

    // The editor's own reading of a code text (high digit, low digit, range).
    static CodeReading readCode(QStringView text);

    // What the working copy shows after returnToFirst.
    enum class WorkingCopy {
        Emptied, // no code text, no dot
        Redrawn, // character 1 as the image holds it
    };

    explicit CharacterEditor(SettingsImage &image, QObject *parent = nullptr);

    int number() const { return m_number; }
    int position() const { return ImageLayout::recordPosition(m_number); }
    // Whether the caption is still the start-up one, which stands until
    // the first step (and again after returnToFirst).
    bool startUpCaption() const { return m_startUpCaption; }
    QString codeText() const { return m_codeText; }
    bool isLit(int column, int row) const;

    // Whether the code text and the dots are what the record at the current
    // position holds, as map_reset shows it (the code's letters in any case).
    bool matchesRecord() const;
    // How the working copy is kept while it is not what the record holds:
    // a step away stores it, once it has a code.
    enum class Unstored {
        None,      // it is what the record holds
        NeedsCode, // a drawing without a code text: give it one, then step
        NeedsStep, // a step away stores it
    };
    Unstored unstored() const;

    // Typed into the code box; cut to two characters, not validated.
    void setCodeText(const QString &text);

    // A press on dot (column, row): map1_Click .. map5_Click.
    void toggleDot(int column, int row);

    // MAP_Clear_Click: every dot dark; code text and image untouched.
    void clearGrid();

    // UDC_NEXT_Click and UDC_UP_Click.
    Step stepNext();
    Step stepPrevious();

    // Writes code and grid into the record at the current position.
    void map_save(quint8 code);
    // Refills the code text and the grid from the record at the current position.
    void map_reset();

    // Puts the editor on character 1 with the start-up caption (two blanks).
    void returnToFirst(WorkingCopy workingCopy);

    // The character the editor stands on and its working copy.
    struct State
    {
        int number = FirstNumber;
        bool startUpCaption = true;
        QString codeText;
        ImageCodec::Dots dots{};
        bool operator==(const State &) const = default;
    };
    State state() const { return {m_number, m_startUpCaption, m_codeText, m_dots}; }
    // Puts back a state as it was; the image is left alone.
    void restore(const State &state);

signals:
    void changed();

private:
    Step step(int delta, int stopAt);

    SettingsImage &m_image;
    int m_number = FirstNumber;
    QString m_codeText;
    bool m_startUpCaption = true;
    ImageCodec::Dots m_dots{};
};
