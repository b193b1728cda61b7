#pragma once

#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"

// A view that is built as JSON in the first place.
inline const QJsonObject &toJson(const QJsonObject &view)
{
    return view;
}

// Prints a view as JSON or as its text. A typed view brings its own toJson
// in its namespace (see ImageView).
template <typename View, typename ToText> void printView(const View &view, bool json, ToText toText)
{
    if (json)
        Cli::out(QString::fromUtf8(QJsonDocument(toJson(view)).toJson(QJsonDocument::Indented))
                     .trimmed());
    else if (const QString text = toText(view); !text.isEmpty())
        Cli::out(text);
}
