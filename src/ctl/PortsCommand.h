#pragma once

#include <QString>
#include <QStringList>

namespace Commands {

// The links in `folder` that lead to `device`: the names that stay the same
// whichever socket a USB adapter is plugged into.
QStringList stableNames(const QString &device,
                        const QString &folder = QStringLiteral("/dev/serial/by-id"));

} // namespace Commands
