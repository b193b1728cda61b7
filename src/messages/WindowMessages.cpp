#include "messages/WindowMessages.h"

#include <QStringList>

#include "messages/Messages.h"
#include "model/ImageCodec.h"
#include "model/SettingsImage.h"

namespace WindowMessages {

// A tooltip does not wrap plain text: its lines are broken here.
QString linkSpeedTip(const QString &speedNote)
{
    const QString tip = QStringLiteral("The link's speed: this program talks to the display at it "
                                       "now.\nIt must be the speed the display listens at.");
    return speedNote.isEmpty() ? tip : tip + QLatin1Char('\n') + speedNote;
}

QString displaySpeedTip()
{
    return QStringLiteral("The display's own speed: a download stores it,\nand the display "
                          "listens at it after its restart.\nThen set \"Buad Rate\" to it.");
}

QString notSettingsFile(const QString &shownName, QByteArrayView configBytes)
{
    SettingsImage image;
    image.setConfigBytes(configBytes);
    QStringList lists;
    for (const ImageCodec::SettingField &field : ImageCodec::decode(image).settings) {
        if (!field.entry())
            lists << QString::fromLatin1(field.info().windowCaption).remove(u':').trimmed();
    }
    return Messages::sentence({.reason = Error::Reason::NotSettingsFile,
                               .subject = shownName,
                               .detail = lists.join(QStringLiteral(", "))});
}

} // namespace WindowMessages
