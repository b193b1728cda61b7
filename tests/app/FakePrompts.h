#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "app/Prompts.h"

// Prompts that tests script: it records every message and question and
// answers the dialogs from queues (an empty queue answers "nothing chosen").
class FakePrompts final : public Prompts
{
public:
    struct Shown
    {
        QString text;
        QString title;
    };

    // --- script ---------------------------------------------------------
    bool confirmAnswer = true;
    QStringList openAnswers;
    QStringList saveAnswers;
    // Runs while a message is "on screen", to look at the window then.
    std::function<void(const QString &)> onMessage;

    // --- record ---------------------------------------------------------
    QList<Shown> messages;
    QList<Shown> questions;
    QStringList openFilters;
    QStringList saveFilters;

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Shown &shown : messages)
            texts << shown.text;
        return texts;
    }

    void message(const QString &text, const QString &title) override
    {
        messages.append({text, title});
        if (onMessage)
            onMessage(text);
    }
    bool confirm(const QString &text, const QString &title) override
    {
        questions.append({text, title});
        return confirmAnswer;
    }
    QString openFileName(const QString &filter) override
    {
        openFilters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(const QString &filter) override
    {
        saveFilters << filter;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};
