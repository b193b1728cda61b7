#include "CtlMessages.h"

namespace CtlMessages {

namespace {

QString listed(const QStringList &lines)
{
    return lines.isEmpty() ? QStringLiteral(" (the system reports no serial ports)")
                           : QStringLiteral(":\n  ") + lines.join(QStringLiteral("\n  "));
}

} // namespace

QString stoppedBeforeStart()
{
    return QStringLiteral("stopped by Ctrl+C before this display was reached; nothing was sent");
}

QString interrupted()
{
    return QStringLiteral("tq540ctl: stopped by Ctrl+C: the displays not yet reached were left "
                          "alone (\"stopped\"); the results above say how the others ended");
}

QString emptySettings()
{
    return QStringLiteral("--settings: an empty text is no line settings; give them as "
                          "\"9600,n,8,1\", or leave --settings out for that default");
}

QString textNotUtf8(const QString &option, const QString &shown)
{
    return QStringLiteral("--%1 \"%2\" is not UTF-8 text; give the text in UTF-8")
        .arg(option, shown);
}

QString noDisplayFound(const QStringList &asked)
{
    return QStringLiteral("--port auto: no display answered at 9600 or 19200 baud on the ports "
                          "asked") +
           listed(asked);
}

QString severalDisplaysFound(const QStringList &answered)
{
    return QStringLiteral("--port auto: %1 displays answered; name the one you mean with --port")
               .arg(answered.size()) +
           listed(answered);
}

QString exitStatusHelp()
{
    return QStringLiteral(
        "Exit status:\n"
        "  0    all done (find: a display answered)\n"
        "  1    a display failed, did not answer, holds other values than sent, or was\n"
        "       refused for the command set it holds; a diff found differences\n"
        "  2    a usage error or a value out of range (named; nothing written or sent)\n"
        "  3    a file that cannot be read, is not a settings file, or cannot be saved;\n"
        "       or the output cannot be written\n"
        "  130  stopped by Ctrl+C (each display's result is printed)\n");
}

} // namespace CtlMessages
