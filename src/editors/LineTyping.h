#pragma once

#include <QStringView>

#include "editors/MessageLine.h"

// Where typing, pasting and the caret keys land when the cells of a message
// line's shown view are edited as one line of text. A full cell is typed
// over; typing past a cell's end goes on in the next cell, and nothing goes
// past the line's end. What a cell may hold is the line's own rule.
class LineTyping
{
public:
    struct Caret
    {
        int cell = 1;   // 1..cell count
        int offset = 0; // 0..length of the cell's text
        bool operator==(const Caret &) const = default;
    };

    explicit LineTyping(MessageLine &line) : m_line(line) {}

    // Typed characters; a character the cell refuses ends the typing there.
    Caret type(Caret at, QStringView text);
    // A pasted text goes in as typed, except that in the hex view the blanks
    // between pairs are skipped and a text holding anything but hex digits
    // is refused whole.
    Caret paste(Caret at, QStringView text);
    // Deletes the character before the caret, taking it from the cell before
    // when the caret stands at a cell's start.
    Caret backspace(Caret at);

    // Where a click leaves the caret: in the clicked cell. After a full
    // cell's last character it stands on that character, so that typing
    // goes over it rather than on in the next cell.
    Caret clicked(Caret at) const;

    Caret left(Caret at) const;
    Caret right(Caret at) const;
    Caret home() const { return Caret{}; }
    // After the line's last character.
    Caret end() const;

private:
    int cellLength() const;
    int length(int cell) const;
    Caret clamped(Caret at) const;
    bool write(int cell, const QString &text);

    MessageLine &m_line;
};
