#pragma once

#include <QString>

// The title of every message box that has none of its own.
inline QString appTitle()
{
    return QStringLiteral("VFD");
}

// Message boxes and file dialogs, behind a seam that tests replace.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A modal message with only OK and no icon.
    virtual void message(const QString &text, const QString &title) = 0;
    // A modal question with OK and Cancel; true for OK.
    virtual bool confirm(const QString &text, const QString &title) = 0;
    // The chosen path, empty when nothing was chosen.
    virtual QString openFileName(const QString &filter) = 0;
    virtual QString saveFileName(const QString &filter) = 0;
};
