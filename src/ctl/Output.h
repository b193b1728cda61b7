#pragma once

#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"

// Prints a view built as JSON: as JSON, or as the text made from it.
template <typename ToText> void printView(const QJsonObject &view, bool json, ToText toText)
{
    if (json)
        Cli::out(QString::fromUtf8(QJsonDocument(view).toJson(QJsonDocument::Indented)).trimmed());
    else if (const QString text = toText(view); !text.isEmpty())
        Cli::out(text);
}
