#pragma once

#include <functional>

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include "editors/Configuration.h"

// Undo and redo of the changes that replace the configuration at once
// ("Set All Default", a load, an applied upload, a line's "Clear"). Each
// step holds the whole configuration before and after it.
//
// What happens between recorded changes (typing, a click on a dot, the
// switch to hex before a save) is not lost on the way: when the
// configuration no longer is what the history last left, that difference
// becomes a step of its own, taken back first.
class ChangeHistory : public QObject
{
    Q_OBJECT

public:
    explicit ChangeHistory(Configuration &config, QObject *parent = nullptr);

    // Runs a whole change; it becomes a step when it changed anything, so a
    // failure that leaves the configuration alone adds nothing.
    void record(const QString &text, const std::function<void()> &change);

    void undo();
    void redo();

    const QUndoStack &stack() const { return m_stack; }

    // The keys that take a step back and do it again.
    static QKeySequence undoKeys();
    static QList<QKeySequence> redoKeys();
    // A control's tooltip that says how its change is taken back.
    static QString tip(const QString &text);

private:
    void push(const QString &text, const Configuration::Snapshot &before,
              const Configuration::Snapshot &after);
    // Records the edits made since the history last moved, if any.
    void catchUp();

    Configuration &m_config;
    QUndoStack m_stack;
};
