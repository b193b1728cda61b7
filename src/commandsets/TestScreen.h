#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringView>

// The test screen of a command set: clear the display, one text on the upper
// row, one on the lower row, in the bytes that public programming guides of
// two-line customer displays give for that set.
namespace TestScreen {

inline constexpr int TextLength = 20; // a row; shorter texts are padded with blanks

enum class Refusal {
    NoSuchSet,           // a position outside the Command Mode list
    NoPublicDescription, // KS310, DSP800: nothing to write without guessing
    TextTooLong,
    NotPrintable,      // a character outside 0x20..0x7E
    AttentionSequence, // the set's own command lead ("!#" in AEDEX and EMAX)
};

struct Problem
{
    Refusal reason = Refusal::NoSuchSet;
    int set = -1;      // position in the Command Mode list
    int line = 0;      // 1 or 2 for a problem with a text, else 0
    int position = 0;  // 1-based: the offending character, or the text's length
    char32_t code = 0; // with NotPrintable: the offending character
};

struct Result
{
    QByteArray bytes; // empty when refused
    std::optional<Problem> problem;

    bool ok() const { return !problem.has_value(); }
};

// The test screen of the set at list position `set`. The texts are checked
// before anything is written: a refusal never comes with bytes.
Result compose(int set, QStringView line1, QStringView line2);

} // namespace TestScreen
