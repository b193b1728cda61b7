#include "messages/FindMessages.h"

#include <algorithm>

#include "messages/Messages.h"
#include "messages/SettingMessages.h"
#include "model/ImageCodec.h"

namespace FindMessages {
namespace {

bool missing(const FindResult &result)
{
    return result.outcome == FindResult::CannotOpen &&
           result.error.reason == Error::Reason::NoSuchPort;
}

// Displays first, then what stands in a technician's way (permission, a
// busy port), then ports that gave no display, then ports that do not exist.
int rank(const FindResult &result)
{
    switch (result.outcome) {
    case FindResult::Answered:
        return 0;
    case FindResult::CannotOpen:
        return missing(result) ? 5 : 1;
    case FindResult::NotADisplay:
        return 2;
    case FindResult::NoAnswer:
        return 3;
    case FindResult::Stopped:
        return 4;
    }
    return 4;
}

QString speedOf(const QString &settings)
{
    return settings.section(QLatin1Char(','), 0, 0);
}

} // namespace

QString outcomeName(FindResult::Outcome outcome)
{
    switch (outcome) {
    case FindResult::Answered:
        return QStringLiteral("answered");
    case FindResult::CannotOpen:
        return QStringLiteral("cannot open");
    case FindResult::NoAnswer:
        return QStringLiteral("no answer");
    case FindResult::NotADisplay:
        return QStringLiteral("not a display");
    case FindResult::Stopped:
        return QStringLiteral("stopped");
    }
    return {};
}

QString summary(const FindResult &result)
{
    if (!result.answered())
        return {};
    const ImageCodec::Fields fields = ImageCodec::decode(result.image);
    QStringList parts;
    // The settings a technician checks first, the link's speed last.
    for (const DisplaySetting setting :
         {DisplaySetting::CommandSet, DisplaySetting::CharacterSet, DisplaySetting::DisplaySpeed}) {
        const ImageCodec::SettingField &field = fields.settings.at(DisplaySettings::slot(setting));
        parts << QStringLiteral("%1 %2").arg(QLatin1String(field.info().plainName),
                                             SettingMessages::entryOrByte(field));
    }
    return parts.join(QStringLiteral(", "));
}

QString clause(const Error &error)
{
    switch (error.reason) {
    case Error::Reason::Stopped:
        return QStringLiteral("the search was stopped");
    case Error::Reason::NotADisplay:
        if (error.total == 0)
            return QStringLiteral("at %1 a reply came that does not start as a display's")
                .arg(speedOf(error.detail));
        return QStringLiteral("at %1 a reply of %2 bytes came, a display's has %3")
            .arg(speedOf(error.detail))
            .arg(error.count)
            .arg(error.total);
    case Error::Reason::NoAnswer: {
        QStringList speeds;
        for (const QString &settings : FindSpeeds::all())
            speeds << speedOf(settings);
        return QStringLiteral("no answer at %1").arg(speeds.join(QStringLiteral(" or ")));
    }
    default:
        return Messages::reason(error);
    }
}

QString reason(const FindResult &result)
{
    return result.answered() ? QString() : clause(result.error);
}

QList<FindResult> order(QList<FindResult> results)
{
    std::stable_sort(results.begin(), results.end(),
                     [](const FindResult &a, const FindResult &b) { return rank(a) < rank(b); });
    return results;
}

QStringList listRows(const QList<FindResult> &ordered)
{
    QStringList rows;
    QStringList absent;
    for (const FindResult &result : ordered) {
        if (missing(result))
            absent << result.port;
        else if (result.answered())
            rows << QStringLiteral("%1: %2, %3").arg(result.port, result.settings, summary(result));
        else
            rows << QStringLiteral("%1: %2").arg(result.port, reason(result));
    }
    if (!absent.isEmpty())
        rows << QStringLiteral("Not on this computer: %1").arg(absent.join(QStringLiteral(", ")));
    return rows;
}

} // namespace FindMessages
