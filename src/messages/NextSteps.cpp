#include "messages/NextSteps.h"

#include <QRegularExpression>

#include "link/PortChoice.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"

namespace NextSteps {

namespace {

using Kind = Transfer::DownloadCheck::Kind;

QString findHint()
{
    return QStringLiteral("let \"Find VFD\" (tq540ctl find) look for the display");
}

// Begins a sentence: a display that listens at the other speed is the
// common case.
QString speedHint(const QString &settings)
{
    const QString other = otherSpeed(settings);
    return other.isEmpty() ? QStringLiteral("Try %1").arg(Messages::quoted(
                                 OptionLists::linkSettings().join(QStringLiteral("\" or \""))))
                           : QStringLiteral("Try the other speed (%1)").arg(other);
}

QString fieldCount(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 field") : QStringLiteral("%1 fields").arg(count);
}

} // namespace

QString otherSpeed(const QString &settings)
{
    const QStringList &speeds = OptionLists::linkSettings();
    if (speeds.size() != 2 || !speeds.contains(settings))
        return {};
    return speeds.at(speeds.indexOf(settings) == 0 ? 1 : 0);
}

QString afterNoAnswer(const QString &settings)
{
    return QStringLiteral("%1, %2, and check its power and cable.")
        .arg(speedHint(settings), findHint());
}

QString afterWrongReply(const QString &settings)
{
    return QStringLiteral("The display may listen at another speed. %1, or %2; then check the "
                          "cable.")
        .arg(speedHint(settings), findHint());
}

QString forWindowsName([[maybe_unused]] const QString &device)
{
#if defined(Q_OS_WIN)
    return {};
#else
    static const QRegularExpression windowsName(
        QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(\\d{1,3}):?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = windowsName.match(device.trimmed());
    if (!match.hasMatch())
        return {};
    const int number = match.captured(1).toInt();
    const QString here = systemPortName(number);
    const QStringList &entries = OptionLists::commPorts();
    if (!here.isEmpty() && number <= entries.size())
        return QStringLiteral("%1 is a Windows name; here \"%2\" is %3: choose \"%2\" (tq540ctl "
                              "--port %4), or pick a detected port (\"Find VFD\", tq540ctl ports).")
            .arg(Messages::quoted(device), entries.at(number - 1), here)
            .arg(number);
    if (!here.isEmpty())
        return QStringLiteral("%1 is a Windows name; here it would be %2: type that, or pick a "
                              "detected port (\"Find VFD\", tq540ctl ports).")
            .arg(Messages::quoted(device), here);
    return QStringLiteral("%1 is a Windows name; type this system's device name, or pick a "
                          "detected port (\"Find VFD\", tq540ctl ports).")
        .arg(Messages::quoted(device));
#endif
}

QString forPermission(const Error &error)
{
    const QString device = Messages::shown(error.device);
    if (error.detail.isEmpty()) {
        const QString owner =
            error.system.isEmpty() ? QStringLiteral("its owner") : Messages::shown(error.system);
        return QStringLiteral("permission denied for %1: only %2 may use it, and no group may, "
                              "so joining a group will not help. Ask the administrator to give "
                              "the port to a group such as dialout (a udev rule).")
            .arg(device, owner);
    }
    const QString group = Messages::shown(error.detail);
    return QStringLiteral("permission denied for %1: it belongs to the group \"%2\". Join it "
                          "(sudo usermod -aG %2 $USER), then log out and in again, so that the "
                          "new group applies.")
        .arg(device, group);
}

QString cutShort(const Error &error)
{
    const QString port = Messages::shown(error.subject);
    const QString why = Messages::reason(error);
    const QString again = QStringLiteral("The display may hold a partial image: download again.");
    if (error.stage == Error::Stage::Downloading) {
        const QString stopped =
            QStringLiteral("The download to %1 stopped after %2 of %3 bytes "
                           "and the port was closed: %4.")
                .arg(port, QString::number(error.count), QString::number(error.total), why);
        return error.count > 0 ? stopped + QLatin1Char(' ') + again
                               : stopped + QStringLiteral(" Nothing reached the display.");
    }
    // Draining: every byte was handed over; count is what had not left.
    if (error.count < 0)
        return QStringLiteral("The download to %1 was cut short before all %2 bytes had left the "
                              "port (the system does not tell how many had), and the port was "
                              "closed: %3. %4")
            .arg(port, QString::number(error.total), why, again);
    if (error.count == 0)
        return QStringLiteral("The download to %1 failed right after all %2 bytes had left the "
                              "port, and the port was closed: %3. The display may not have taken "
                              "them: download again.")
            .arg(port, QString::number(error.total), why);
    return QStringLiteral("The download to %1 was cut short: %2 of %3 bytes had left the port, "
                          "and the port was closed: %4. %5")
        .arg(port, QString::number(error.total - error.count), QString::number(error.total), why,
             again);
}

QString readBack(const Transfer::DownloadCheck &check, const QString &settings, Audience audience)
{
    switch (check.kind) {
    case Kind::Skipped:
        return {};
    case Kind::Checked:
        return QStringLiteral("Checked: the display holds the settings just sent.");
    case Kind::NoAnswer:
        return QStringLiteral("Not checked: the display did not answer a read-back at %1. %2")
            .arg(Messages::shown(settings), afterNoAnswer(settings));
    case Kind::WrongReply: {
        const QString reply =
            check.error.reason == Error::Reason::ShortReply
                ? QStringLiteral("only %1 of %2 bytes came")
                      .arg(QString::number(check.error.count), QString::number(check.error.total))
                : QStringLiteral("it did not begin as a settings reply does");
        return QStringLiteral("Not checked: the answer to a read-back at %1 was wrong (%2). %3")
            .arg(Messages::shown(settings), reply, afterWrongReply(settings));
    }
    case Kind::LinkFailed:
        return QStringLiteral("Not checked: the read-back failed: %1.")
            .arg(Messages::reason(check.error));
    case Kind::Differs:
        if (audience == Audience::Window)
            return QStringLiteral("The display holds something else in %1: see them with "
                                  "\"Compare With VFD\" on the \"VFD Check\" page.")
                .arg(fieldCount(check.differing.size()));
        return QStringLiteral("The display holds something else in %1: %2.")
            .arg(fieldCount(check.differing.size()),
                 ImageCodec::foldedNames(check.differing).join(QStringLiteral(", ")));
    }
    return {};
}

QString downloadReport(const Transfer::DownloadCheck &check, const QString &settings,
                       const QString &omitted)
{
    QStringList lines{Messages::downloadOk()};
    if (const QString line = readBack(check, settings, Audience::Window); !line.isEmpty())
        lines << line;
    if (!omitted.isEmpty())
        lines << omitted;
    return lines.join(QLatin1Char('\n'));
}

QString omittedDrawing(int character, bool isDownload)
{
    // Only the buttons that step from here store the drawing.
    const QString buttons = character <= 1                             ? QStringLiteral(">>")
                            : character >= ImageLayout::CharacterCount ? QStringLiteral("<<")
                                                                       : QStringLiteral("<< or >>");
    return QStringLiteral("The drawing of User Defined Character %1 was left out; the %2 holds "
                          "its stored record instead. Step with %3 to store the drawing, then "
                          "%4 again.")
        .arg(QString::number(character),
             isDownload ? QStringLiteral("display") : QStringLiteral("file"), buttons,
             isDownload ? QStringLiteral("download") : QStringLiteral("save"));
}

} // namespace NextSteps
