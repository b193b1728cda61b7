#pragma once

#include <QGroupBox>
#include <QList>

#include "editors/LineTyping.h"
#include "editors/MessageLine.h"

class QLabel;
class QPushButton;
class QRadioButton;
class MessageCell;

// The frame of one welcome-message line: its two view options, both rows
// of cells with their rulers, and its "Clear" button, bound to the line.
// The cells show the line's texts and hand every change back to it, and
// typing runs on from cell to cell as in one line of text.
class MessageFrame : public QGroupBox
{
    Q_OBJECT

public:
    // `lineNumber` 1 or 2 picks the frame's row of the frames' table.
    MessageFrame(int lineNumber, MessageLine &line, QWidget *page, QPoint pageOrigin);

    QRadioButton *option(MessageLine::View view) const;
    QPushButton *clearButton() const { return m_clear; }
    // The frame's controls in reading order. Tab passes over the hidden
    // view's cells, and stops at one cell of the shown line only.
    QList<QWidget *> tabOrder() const;

private:
    void addView(MessageLine::View view);
    void bindCell(MessageLine::View view, int cell);
    const QList<MessageCell *> &cells(MessageLine::View view) const;
    void showCell(MessageLine::View view, int cell);
    void showView();
    void placeCaret(LineTyping::Caret caret);
    void setEntryCell(int cell);

    MessageLine &m_line;
    LineTyping m_typing;
    int m_lineNumber; // 1 or 2
    QRadioButton *m_asciiOption = nullptr;
    QRadioButton *m_hexOption = nullptr;
    QPushButton *m_clear = nullptr;
    QList<MessageCell *> m_asciiCells;
    QList<MessageCell *> m_hexCells;
    QList<QLabel *> m_asciiRulers;
    QList<QLabel *> m_hexRulers;
    // The cell that Tab enters the line at: the one last used, at first cell 1.
    int m_entryCell = 1;
    // Set while a cell is written from the line, so that it is not handed back.
    bool m_showing = false;
};
