#pragma once

#include <array>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>

// Glyphs a till defines at run time, for the glass to draw: five columns of
// seven dots, bit 0 the top row. EPSON and CD5220 send, after ESC & 1 n m,
// for each code from n to m a column count (at most 5) and that many column
// bytes; Logic Controls sends one code with 35 bits row by row.
class UserCharacters
{
public:
    using Glyph = std::array<quint8, 5>;

    // A definition begins: `command` ends with the first and the last code
    // (a range upside down defines none); their bytes follow.
    void begin(QByteArrayView command);
    bool defining() const { return m_next >= 0; }
    // A definition cut short, or broken off by take(): the codes already
    // complete stay defined. Returns its bytes, for the report.
    QByteArray abandon();

    enum class Step { More, Done, Broken };
    // One byte of the definition under way. A column count above 5 breaks
    // it off; the codes already complete stay defined.
    Step take(quint8 byte);

    // Logic Controls: 35 bits, row 1 in bits 0..4 of the first byte (bit 0
    // the leftmost column), row 2 in its bits 5..7 and bits 0..1 of the
    // second, and so on.
    void defineFromRows(quint8 code, QByteArrayView bits);

    // Whether defined glyphs replace the built-in ones for text to come.
    void setSelected(bool selected) { m_selected = selected; }
    bool selected() const { return m_selected; }
    // The code goes back to its built-in glyph.
    void remove(quint8 code) { m_glyphs[code].reset(); }
    void clear();

    const std::optional<Glyph> &glyph(quint8 code) const { return m_glyphs[code]; }

private:
    std::array<std::optional<Glyph>, 256> m_glyphs{};
    bool m_selected = false;
    QByteArray m_bytes; // of the definition under way
    int m_next = -1;    // the code being defined; -1 when none is
    int m_last = -1;
    int m_columnsLeft = -1; // -1: its column count comes next
    int m_column = 0;
    Glyph m_building{};
};
