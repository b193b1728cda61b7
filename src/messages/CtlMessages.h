#pragma once

#include <QString>
#include <QStringList>

// The sentences of tq540ctl that are not about a transfer or a file (those
// are in Messages.h).
namespace CtlMessages {

// A display whose work had not begun when Ctrl+C came.
QString stoppedBeforeStart();
// On stderr after Ctrl+C, under the results.
QString interrupted();

// --settings given as an empty text.
QString emptySettings();

// A text option whose value is not UTF-8: `option` without dashes, `shown`
// the value with its bytes escaped.
QString textNotUtf8(const QString &option, const QString &shown);

// --port auto: the ports asked, each "<port>: <outcome>".
QString noDisplayFound(const QStringList &asked);
QString severalDisplaysFound(const QStringList &answered);

// The exit statuses, as every help text lists them.
QString exitStatusHelp();

} // namespace CtlMessages
