#include "check/FindResult.h"

#include "model/ImageCodec.h"

QString FindResult::summary() const
{
    if (outcome != Answered)
        return {};
    const ImageCodec::Fields fields = ImageCodec::decode(image);
    QStringList parts;
    // The settings a technician checks first, the link's speed last.
    for (const DisplaySetting setting :
         {DisplaySetting::CommandSet, DisplaySetting::CharacterSet, DisplaySetting::DisplaySpeed}) {
        const ImageCodec::SettingField &field = fields.settings.at(DisplaySettings::slot(setting));
        const QString value =
            field.entry().value_or(QStringLiteral("%1 (no such entry)").arg(field.position));
        parts << QStringLiteral("%1 %2").arg(QLatin1String(field.info().plainName), value);
    }
    return parts.join(QStringLiteral(", "));
}

QString FindResult::outcomeName() const
{
    switch (outcome) {
    case Answered:
        return QStringLiteral("answered");
    case CannotOpen:
        return QStringLiteral("cannot open");
    case NoAnswer:
        return QStringLiteral("no answer");
    case NotADisplay:
        return QStringLiteral("not a display");
    case Stopped:
        return QStringLiteral("stopped");
    }
    return {};
}
