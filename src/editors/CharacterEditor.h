#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include "model/ImageCodec.h"
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
    static constexpr quint8 LowestCode = 0x20;
    static constexpr quint8 HighestCode = 0x7E;

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

    // The message a failed step shows; empty for Taken and Ignored.
    static QString messageFor(Step step);

    // What the working copy shows after returnToFirst.
    enum class WorkingCopy {
        Emptied, // no code text, no dot
        Redrawn, // character 1 as the image holds it
    };

    explicit CharacterEditor(SettingsImage &image, QObject *parent = nullptr);

    int number() const { return m_number; }
    int position() const { return ImageLayout::recordPosition(m_number); }
    QString caption() const { return m_caption; }
    QString codeText() const { return m_codeText; }
    bool isLit(int column, int row) const;

    // Whether the code text and the dots are what the record at the current
    // position holds, as map_reset shows it (the code's letters in any case).
    bool matchesRecord() const;
    // While they are not, a short note that says how the drawing is kept (a
    // step away stores it); empty when they are.
    QString unstoredNote() const;

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
        QString caption;
        QString codeText;
        ImageCodec::Dots dots{};
        bool operator==(const State &) const = default;
    };
    State state() const { return {m_number, m_caption, m_codeText, m_dots}; }
    // Puts back a state as it was; the image is left alone.
    void restore(const State &state);

signals:
    void changed();

private:
    Step step(int delta, int stopAt);

    SettingsImage &m_image;
    int m_number = FirstNumber;
    QString m_codeText;
    QString m_caption;
    ImageCodec::Dots m_dots{};
};
