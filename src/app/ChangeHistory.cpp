#include "app/ChangeHistory.h"

#include <QUndoCommand>

namespace {

class WholeChange : public QUndoCommand
{
public:
    WholeChange(Configuration &config, const QString &text, Configuration::Snapshot before,
                Configuration::Snapshot after)
        : QUndoCommand(text), m_config(config), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }

    // The change was made before it was pushed; only a later redo repeats it.
    void redo() override
    {
        if (m_done)
            m_config.restore(m_after);
        m_done = true;
    }
    void undo() override { m_config.restore(m_before); }

    const Configuration::Snapshot &before() const { return m_before; }
    const Configuration::Snapshot &after() const { return m_after; }

private:
    Configuration &m_config;
    Configuration::Snapshot m_before;
    Configuration::Snapshot m_after;
    bool m_done = false;
};

} // namespace

ChangeHistory::ChangeHistory(Configuration &config, QObject *parent)
    : QObject(parent), m_config(config)
{
}

QKeySequence ChangeHistory::undoKeys()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

QList<QKeySequence> ChangeHistory::redoKeys()
{
    // Ctrl+Shift+Z everywhere, and the platform's own redo key (Ctrl+Y on
    // Windows); a key twice would make the shortcut ambiguous.
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Redo)) {
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

QString ChangeHistory::tip(const QString &text)
{
    return tr("%1 (%2 takes it back)").arg(text, undoKeys().toString(QKeySequence::NativeText));
}

void ChangeHistory::record(const QString &text, const std::function<void()> &change)
{
    catchUp();
    const Configuration::Snapshot before = m_config.snapshot();
    change();
    Configuration::Snapshot after = m_config.snapshot();
    if (after != before)
        push(text, before, after);
}

void ChangeHistory::undo()
{
    catchUp();
    m_stack.undo();
}

void ChangeHistory::redo()
{
    catchUp();
    m_stack.redo();
}

void ChangeHistory::push(const QString &text, const Configuration::Snapshot &before,
                         const Configuration::Snapshot &after)
{
    m_stack.push(new WholeChange(m_config, text, before, after));
}

void ChangeHistory::catchUp()
{
    const int index = m_stack.index();
    if (m_stack.count() == 0)
        return;
    // Where the history left the configuration: after the last step done,
    // or before the first when every step is taken back.
    const auto *last = static_cast<const WholeChange *>(m_stack.command(qMax(index - 1, 0)));
    const Configuration::Snapshot &left = index > 0 ? last->after() : last->before();
    Configuration::Snapshot now = m_config.snapshot();
    if (now != left)
        push(tr("Edits"), left, now); // drops the steps that could be redone
}
