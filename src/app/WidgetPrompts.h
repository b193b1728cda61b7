#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Prompts.h"

// The real prompts: Qt's message boxes (no icon) and file dialogs.
class WidgetPrompts final : public Prompts
{
public:
    explicit WidgetPrompts(QWidget *parent = nullptr) : m_parent(parent) {}

    // The window over which the dialogs open; it exists only after the
    // prompts have been handed to it.
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    void message(const QString &text, const QString &title) override;
    bool confirm(const QString &text, const QString &title) override;
    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;

private:
    QPointer<QWidget> m_parent;
};
