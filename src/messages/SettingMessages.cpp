#include "messages/SettingMessages.h"

namespace SettingMessages {

QString noSuchEntry(int position)
{
    return QStringLiteral("%1 (no such entry)").arg(position);
}

QString entryOrByte(const ImageCodec::SettingField &field)
{
    return field.entry().value_or(noSuchEntry(field.position));
}

QString positionText(const ImageCodec::SettingField &field)
{
    if (const std::optional<QString> name = field.entry())
        return QStringLiteral("%1 \"%2\"").arg(field.position).arg(*name);
    return noSuchEntry(field.position);
}

} // namespace SettingMessages
