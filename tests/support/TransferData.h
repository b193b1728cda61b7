#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "link/Transfer.h"

// The window's port list, targets on it and images whose bytes all differ,
// for the transfer tests.
namespace TransferData {

inline const QStringList Ports = {"Com 1", "Com 2", "Com 3", "Com 4",
                                  "Com 5", "Com 6", "Com 7", "Com 8"};

inline Transfer::Target target(const QString &comm = QStringLiteral("Com 1"),
                               const QString &settings = QStringLiteral("9600,n,8,1"))
{
    return {PortChoice::fromComboText(Ports, comm), settings};
}

// Every configuration byte different, so that order and offset show.
inline SettingsImage patternImage()
{
    SettingsImage image;
    for (int k = 0; k < ImageLayout::Size; ++k)
        image.set(k, static_cast<quint8>(0xC0 ^ (k * 7)));
    return image;
}

// The display's answer to an upload request when it holds `image`.
inline QByteArray validReply(const SettingsImage &image)
{
    return QByteArray(1, '\xAA') + image.configBytes();
}

} // namespace TransferData
