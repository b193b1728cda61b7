#pragma once

#include <QLineEdit>

// One cell of a message line. Typing, pasting and the caret keys go to the
// line, which decides where they land (the next cell, the one before);
// everything else is the line edit's own. A selection is taken out first.
// Ctrl+Z and redo stay the cell's own while it has something to take back
// or do again; otherwise they reach the window's history.
class MessageCell : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void typed(int offset, const QString &text);
    void pasted(int offset, const QString &text);
    // Left, Right, Home, End and Backspace without a selection.
    void lineKey(int key, int offset);
    // The cell has the focus, however it came.
    void entered();
    // A click (not a drag that selects) left the caret at `offset`.
    void clicked(int offset);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Deletes the selected text, if any, and returns where the caret stands.
    int takeSelection();
    void pasteClipboard();
};
