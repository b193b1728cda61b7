#include "app/HistoryKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/ChangeHistory.h"
#include "app/widgets/MessageCell.h"

HistoryKeys::HistoryKeys(QWidget *window) : QObject(window), m_window(window)
{
    // A control may be made later (a page builds its own when first
    // shown), so the application's events are watched, not each control's.
    qApp->installEventFilter(this);
}

bool HistoryKeys::eventFilter(QObject *watched, QEvent *event)
{
    // A control asks for a key before the window's shortcuts see it; left
    // unasked, the key goes to the shortcuts.
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    auto *control = static_cast<QWidget *>(watched);
    if (!m_window->isAncestorOf(control) || qobject_cast<MessageCell *>(control))
        return false;
    const QKeySequence keys(static_cast<QKeyEvent *>(event)->keyCombination());
    if (keys != ChangeHistory::undoKeys() && !ChangeHistory::redoKeys().contains(keys))
        return false;
    event->ignore();
    return true;
}
