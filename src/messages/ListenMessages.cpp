#include "messages/ListenMessages.h"

#include <cmath>

#include "commandsets/CommandSets.h"
#include "messages/Messages.h"

namespace ListenMessages {

namespace {

QString percent(const SetFit &fit, qsizetype total)
{
    // Floor, so that 99.6 % never shows as a perfect 100 %.
    return QStringLiteral("%1 %").arg(int(std::floor(fit.takenShare(total) * 100)));
}

} // namespace

QString setName(int commandSet)
{
    return CommandSets::shortName(commandSet);
}

QString verdict(const Recognition &recognition)
{
    using Verdict = Recognition::Verdict;
    const qsizetype total = recognition.bytes;
    switch (recognition.verdict) {
    case Verdict::NothingHeard:
        return QStringLiteral("No byte arrived.");
    case Verdict::NoneFits:
        return QStringLiteral("No command set fits: at best %1 of %2 bytes read as %3. A port at "
                              "the wrong speed receives such bytes: try the other speed, and "
                              "check that the till drives a customer display on this cable.")
            .arg(percent(recognition.best(), total))
            .arg(total)
            .arg(setName(recognition.best().commandSet));
    case Verdict::CannotTell: {
        const SetFit &first = recognition.best(), &second = recognition.runnerUp();
        return QStringLiteral("Cannot tell: %1 or %2. The %3 bytes read about as well as either "
                              "(%4 and %5), and no command that only one of them has tells "
                              "them apart.")
            .arg(setName(first.commandSet), setName(second.commandSet))
            .arg(total)
            .arg(percent(first, total), percent(second, total));
    }
    case Verdict::Named:
        break;
    }
    const SetFit &best = recognition.best();
    QString text = QStringLiteral("The till speaks %1: %2 of %3 bytes read as its commands or "
                                  "text, %4 of them in commands that only %1 has.")
                       .arg(setName(best.commandSet), percent(best, total))
                       .arg(total)
                       .arg(best.ownBytes);
    for (const int alike : recognition.readsAlike)
        text += QStringLiteral(" %1 is described with the same commands and reads them alike.")
                    .arg(setName(alike));
    return text;
}

QString fitLine(const SetFit &fit, qsizetype total)
{
    return QStringLiteral("%1 %2 read, %3 bytes in its own commands")
        .arg(setName(fit.commandSet).leftJustified(13), percent(fit, total).rightJustified(5))
        .arg(fit.ownBytes);
}

QString nothingArrived(int seconds, const QString &settings)
{
    return QStringLiteral("nothing arrived in %1 s at %2: is the till sending, and is the cable "
                          "the display's?")
        .arg(seconds)
        .arg(settings);
}

QString ending(Listener::End end, qsizetype bytes, const Error &lineError)
{
    switch (end) {
    case Listener::End::Full:
        return QStringLiteral("Stopped at the capture limit of %1 bytes.")
            .arg(Listener::CaptureLimit);
    case Listener::End::LineLost:
        return QStringLiteral("The port went away after %1 bytes (%2); what came before is "
                              "judged.")
            .arg(bytes)
            .arg(Messages::reason(lineError));
    case Listener::End::Stopped:
        return QStringLiteral("Stopped after %1 bytes.").arg(bytes);
    case Listener::End::Listening:
    case Listener::End::TimeUp:
        break;
    }
    return {};
}

QString progress(qsizetype bytes, qint32 msLeft)
{
    return QStringLiteral("%1 bytes heard, %2 s left").arg(bytes).arg((msLeft + 999) / 1000);
}

QString newSpeedNote(const QString &displaySpeed)
{
    return QStringLiteral("\"BaudRate Select\" is now %1, the speed the till was heard at: after "
                          "\"Download Setting To VFD\" and its restart the display listens at "
                          "that speed.")
        .arg(displaySpeed);
}

QString speedVerdict(int baud)
{
    return baud > 0 ? QStringLiteral("The bytes made sense at %1 baud.").arg(baud)
                    : QStringLiteral("At neither 9600 nor 19200 baud did the bytes make sense.");
}

} // namespace ListenMessages
