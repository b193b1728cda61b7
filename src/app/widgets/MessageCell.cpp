#include "app/widgets/MessageCell.h"

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

bool MessageCell::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool undo = key->matches(QKeySequence::Undo) && !isUndoAvailable();
        const bool redo = (key->matches(QKeySequence::Redo) ||
                           key->keyCombination() == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z)) &&
                          !isRedoAvailable();
        // Left unaccepted, the key goes on to the window's shortcuts.
        if (undo || redo)
            return QWidget::event(event);
    }
    return QLineEdit::event(event);
}

void MessageCell::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    emit entered();
}

void MessageCell::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && !hasSelectedText()) {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Backspace:
            emit lineKey(event->key(), cursorPosition());
            return;
        default:
            break;
        }
    }
    const QString text = event->text();
    const bool printable = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(),
                                                          [](QChar c) { return c.isPrint(); });
    if (printable && !(modifiers & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))) {
        const int offset = takeSelection();
        emit typed(offset, text);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MessageCell::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !hasSelectedText())
        emit clicked(cursorPosition());
}

void MessageCell::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste fills the line like Ctrl+V does.
    if (auto *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, &MessageCell::pasteClipboard);
    }
    menu->popup(event->globalPos());
}

int MessageCell::takeSelection()
{
    if (hasSelectedText())
        del();
    return cursorPosition();
}

void MessageCell::pasteClipboard()
{
    const int offset = takeSelection();
    emit pasted(offset, QGuiApplication::clipboard()->text());
}
