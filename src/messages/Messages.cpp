#include "messages/Messages.h"

#include <QFileInfo>

#include "messages/NextSteps.h"

namespace Messages {

namespace {

using Reason = Error::Reason;
using Stage = Error::Stage;

// Only a blank box gets here: any other text is itself a device name.
QString noPortSelected()
{
    return QStringLiteral("No port is selected. Choose \"Com 1\" to \"Com 8\" or type a device "
                          "name such as /dev/ttyUSB0 or COM12.");
}

// The outcomes of a transfer that are not tied to a stage, and the files.
QString unstagedSentence(const Error &error)
{
    switch (error.reason) {
    case Reason::RefusedName:
        return refusedName();
    case Reason::CannotWrite:
    case Reason::NotRegularTarget:
        return QStringLiteral("%1 could not be saved: %2").arg(shown(error.subject), reason(error));
    case Reason::WrongLength:
        return QStringLiteral("%1: %2").arg(shown(QFileInfo(error.subject).fileName()),
                                            reason(error));
    case Reason::NoSuchFile:
    case Reason::NotRegularFile:
    case Reason::FileUnreadable:
    case Reason::FileTooShort:
    case Reason::NotSettingsFile:
        return QStringLiteral("%1: %2").arg(shown(error.subject), reason(error));
    case Reason::NoAnswer:
        // The system's own text stays first; the port did open, so the
        // second line says what really happened.
        return reason(error) + QLatin1Char('\n') +
               QStringLiteral("The display did not answer within %1 seconds at %2. %3")
                   .arg(QString::number(error.ms / 1000.0), shown(error.detail),
                        NextSteps::afterNoAnswer(error.detail));
    case Reason::WrongLeadByte:
    case Reason::ShortReply:
        // The window's own text stays first, the way out follows.
        if (error.detail.isEmpty())
            return reason(error);
        return reason(error) + QLatin1Char('\n') + NextSteps::afterWrongReply(error.detail);
    default:
        return reason(error);
    }
}

} // namespace

QString downloadOk()
{
    return QStringLiteral("Download O.K ! Please restart !");
}

QString uploadOk()
{
    return QStringLiteral("Upload O.K!");
}

QString refusedName()
{
    return QStringLiteral("KS310.vfd can't be saved");
}

QString loadQuestion()
{
    return QStringLiteral("Are you sure to Load ?");
}

QString loadQuestionTitle()
{
    return QStringLiteral("Load File");
}

QString loadError()
{
    return QStringLiteral("Error");
}

QString reason(const Error &error)
{
    switch (error.reason) {
    // Choosing and opening a port.
    case Reason::NoPortChosen:
        return QStringLiteral("no port was chosen; choose \"Com 1\" to \"Com 8\" or type a device "
                              "name such as /dev/ttyUSB0.");
    case Reason::NoNumberedPort:
        return QStringLiteral("this system has no numbered port %1; type the device name instead.")
            .arg(error.count);
    case Reason::NoSuchPort: {
        const QString meant = NextSteps::forWindowsName(error.device);
        return QStringLiteral("there is no such port (%1).").arg(shown(error.device)) +
               (meant.isEmpty() ? QString() : QLatin1Char(' ') + meant);
    }
    case Reason::PortBusy:
        return QStringLiteral("%1 is in use by another program; close it and try again.")
            .arg(shown(error.device));
    case Reason::PermissionDenied:
        return NextSteps::forPermission(error);
    case Reason::OpenFailed:
        return QStringLiteral("%1: %2.").arg(shown(error.device), error.system);
    case Reason::NotSerialPort:
        return QStringLiteral("%1 is not a serial port.").arg(shown(error.device));
    case Reason::SettingsInvalid:
        return QStringLiteral("the settings %1 are not valid; they need speed, parity, data bits "
                              "and stop bits, such as \"9600,n,8,1\".")
            .arg(quoted(error.detail));
    case Reason::SettingsRefused:
        return QStringLiteral("%1 does not accept the settings %2: %3")
            .arg(error.device.isEmpty() ? QStringLiteral("the port") : shown(error.device),
                 quoted(error.detail), error.system);
    // On the line.
    case Reason::LineLost:
        return QStringLiteral("the line to the display was lost");
    case Reason::DeviceFailed:
        return error.system.isEmpty() ? QStringLiteral("the device reported an error")
                                      : error.system;
    case Reason::SendTimedOut:
        return QStringLiteral("the port did not send a byte within %1 seconds")
            .arg(error.ms / 1000);
    case Reason::NotDrained:
        return QStringLiteral("the port did not send its last %1 bytes within %2 ms")
            .arg(error.count)
            .arg(error.ms);
    case Reason::NoAnswer:
        return shown(error.subject) + QStringLiteral(" can't be open !!");
    case Reason::WrongLeadByte:
        return QStringLiteral("Receive Check bit Error !!");
    case Reason::ShortReply:
        return QStringLiteral("Incomplete reply from the display: %1 of %2 bytes came. Nothing "
                              "was changed.")
            .arg(error.count)
            .arg(error.total);
    // Settings files.
    case Reason::NoSuchFile:
        return QStringLiteral("there is no such file");
    case Reason::NotRegularFile:
        return QStringLiteral("it is not a regular file");
    case Reason::NotRegularTarget:
        return QStringLiteral("it is not a regular file; nothing was written");
    case Reason::FileUnreadable:
    case Reason::CannotWrite:
        return error.system;
    case Reason::FileTooShort:
        return QStringLiteral("the file holds %1 bytes, a settings file holds %2")
            .arg(error.count)
            .arg(error.total);
    case Reason::NotSettingsFile:
        return QStringLiteral("not a settings file: %1 holds no entry of its list")
            .arg(error.detail);
    case Reason::RefusedName:
        return refusedName();
    case Reason::WrongLength:
        return QStringLiteral("%1 bytes to write, a settings file holds %2")
            .arg(error.count)
            .arg(error.total);
    }
    return {};
}

QString sentence(const Error &error)
{
    switch (error.stage) {
    case Stage::None:
        return unstagedSentence(error);
    case Stage::Opening:
        if (error.reason == Reason::NoPortChosen)
            return noPortSelected();
        return QStringLiteral("%1 can't be used: %2").arg(shown(error.subject), reason(error));
    case Stage::Downloading:
    case Stage::Draining:
        return NextSteps::cutShort(error);
    case Stage::Uploading:
        return QStringLiteral("The upload from %1 stopped and the port was closed: %2. Nothing "
                              "was changed.")
            .arg(shown(error.subject), reason(error));
    case Stage::Writing:
        if (error.total > 0)
            return QStringLiteral("Writing to %1 stopped after %2 of %3 bytes and the port was "
                                  "closed: %4.")
                .arg(shown(error.subject))
                .arg(error.count)
                .arg(error.total)
                .arg(reason(error));
        return QStringLiteral("Writing to %1 failed while its last bytes were on their way, and "
                              "the port was closed: %2.")
            .arg(shown(error.subject), reason(error));
    }
    return reason(error);
}

QString fileFailure(const Error &error)
{
    if (error.reason == Reason::RefusedName)
        return QStringLiteral("%1: %2 (the name is reserved)")
            .arg(shown(error.subject), refusedName());
    return sentence(error);
}

namespace {

// A user's text as a message repeats it: control characters (C0, DEL, C1,
// a line break too) written as \xNN so that they cannot steer a terminal or
// split a line, and a long text cut short, never inside a character.
QString escapedPart(const QString &text, qsizetype longest)
{
    QString part;
    qsizetype fitting = 0; // how much of `part` fits before an ellipsis
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text.at(k).unicode();
        QString piece(text.at(k));
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            piece = QStringLiteral("\\x") +
                    QString::number(c, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else if (QChar::isHighSurrogate(c) && k + 1 < text.size() &&
                 text.at(k + 1).isLowSurrogate())
            piece += text.at(++k);
        if (part.size() + piece.size() > longest)
            return part.left(fitting) + QChar(0x2026);
        part += piece;
        if (part.size() < longest)
            fitting = part.size();
    }
    return part;
}

} // namespace

QString quoted(const QString &text)
{
    return QLatin1Char('"') + escapedPart(text, 40) + QLatin1Char('"');
}

QString shown(const QString &text)
{
    return escapedPart(text, 120);
}

} // namespace Messages
