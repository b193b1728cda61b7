#pragma once

#include <QObject>

class QWidget;

// Ctrl+Z and the redo keys reach the window's history from every control
// in it. A text field would otherwise take them for its own typing (the
// port and speed boxes, the test texts), even with nothing to take back.
// A message cell alone keeps them while it has typing of its own to take
// back or do again.
class HistoryKeys : public QObject
{
    Q_OBJECT

public:
    // Watches the key events of `window`'s controls while the window lives.
    explicit HistoryKeys(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};
