#pragma once

#include <QByteArrayView>
#include <QString>

// Texts of the window that explain its controls and its command line.
namespace WindowMessages {

// The tooltip of "Buad Rate": the speed the link talks at now, then the
// note on the last display's speed, if there is one.
QString linkSpeedTip(const QString &speedNote);
// The tooltip of "BaudRate Select": the speed the display takes after a
// download, once it restarts.
QString displaySpeedTip();

// A file named on the command line whose bytes are no settings: which of
// its lists hold no entry, each by its caption.
QString notSettingsFile(const QString &shownName, QByteArrayView configBytes);

} // namespace WindowMessages
