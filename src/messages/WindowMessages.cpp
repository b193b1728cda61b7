#include "messages/WindowMessages.h"

namespace WindowMessages {

QString linkSpeedTip(const QString &speedNote)
{
    const QString tip = QStringLiteral("The link's speed: this program talks to the display at it "
                                       "now, so it must be the speed the display listens at.");
    return speedNote.isEmpty() ? tip : tip + QLatin1Char('\n') + speedNote;
}

QString displaySpeedTip()
{
    return QStringLiteral("The display's own speed: a download stores it, and the display listens "
                          "at it after its restart. Then set \"Buad Rate\" to it.");
}

} // namespace WindowMessages
