#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QStringList>

// One welcome-message line: a row of cells that exists twice, as hex pairs
// and as single characters. Exactly one view is selected; the cells of the
// other view are hidden and empty. Switching views converts every cell.
// Cells are numbered from 1, as on screen.
class MessageLine : public QObject
{
    Q_OBJECT

public:
    enum class View { Hex, Ascii };
    Q_ENUM(View)

    static constexpr int HexCellLength = 2;
    static constexpr int AsciiCellLength = 1;

    explicit MessageLine(int cellCount, QObject *parent = nullptr);

    int cellCount() const { return m_cellCount; }
    View view() const { return m_view; }

    // Cells and rulers of the selected view are shown, the others hidden.
    bool isVisible(View view) const { return view == m_view; }

    QString hexText(int cell) const;
    QString asciiText(int cell) const;
    QString text(View view, int cell) const;

    // Typed text. A hex cell takes hex digits in either case, cut to two; an
    // ASCII cell takes one character of the code page. Anything else is
    // refused (returns false, the cell keeps its text).
    bool setHexText(int cell, const QString &text);
    bool setAsciiText(int cell, const QString &text);
    // Whether every character of the text is a hex digit.
    static bool isHexDigits(QStringView text);

    // The line moves to a view: converts every cell when the view changes,
    // and does nothing when that view is already selected.
    void selectView(View view);

    // "Clear": empties the cells of the selected view only.
    void clear();

    // The line's bytes, one per hex cell: two digits are their byte, a single
    // digit d is 16 x d, an empty cell is 0.
    QByteArray hexBytes() const;
    // The bytes the line stands for in the view shown: what hexBytes() gives
    // after a switch to hex, without switching.
    QByteArray bytes() const;
    // One cell's byte as bytes() reads it (cell 1..cellCount).
    quint8 byte(int cell) const;

    // Selects the hex view, then writes every hex cell as a two-digit pair.
    void showBytes(QByteArrayView bytes);

    // The view and every cell, to be put back as they were.
    struct State
    {
        View view = View::Ascii;
        QStringList hex;
        QStringList ascii;
        bool operator==(const State &) const = default;
    };
    State state() const { return {m_view, m_hex, m_ascii}; }
    // Puts back a state of this line (of its cell count); signals what changes.
    void restore(const State &state);

signals:
    void cellTextChanged(MessageLine::View view, int cell);
    void viewChanged(MessageLine::View view);

private:
    static quint8 hexCellByte(QStringView hex);
    void convertToHex();
    void convertToAscii();
    void writeCell(View view, int cell, const QString &text);
    QString &cellRef(View view, int cell);

    int m_cellCount;
    View m_view = View::Ascii;
    QStringList m_hex;
    QStringList m_ascii;
};
