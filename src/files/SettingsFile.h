#pragma once

#include <QByteArray>
#include <QString>

#include "model/Result.h"

// A .vfd file: image bytes 1..126, raw, no header.
namespace SettingsFile {

inline constexpr int Length = 126;

// Dialog filters, in Qt's form.
QString loadFilter(); // "VFD Files (*.vfd)"
QString saveFilter(); // "VFD Files (*.vfd)"

// Whether a settings file may be saved at `path`: one file name (without
// folder, compared exactly) is refused (RefusedName). write() refuses it
// too; a caller asks first to stop before it prepares anything.
Result<void> checkName(const QString &path);

// Reads a file without ever creating it. A file shorter than 126 bytes
// fails; a longer one gives its first 126. Anything but a regular file (a
// pipe, a device, a socket, a folder) is refused before it is opened, so
// that a read never waits.
Result<QByteArray> read(const QString &path);

// read() for a name as the system gives it, such as on a command line: on
// Unix the name's bytes, which need not be UTF-8 and would not survive as
// text; elsewhere the name as UTF-8. Errors name the file by shownName().
Result<QByteArray> readNamed(const QByteArray &systemName);
QString shownName(const QByteArray &systemName);

// Writes exactly the given 126 bytes, atomically: the file ends either
// complete or as it was. Only a regular file is replaced: a device, a pipe,
// a socket or a folder at the path is refused (NotRegularTarget) and kept.
Result<void> write(const QString &path, const QByteArray &configBytes);

// Writes any bytes as write() writes a settings file: atomically, and
// only over a regular file (NotRegularTarget otherwise, the target kept).
Result<void> replaceRegular(const QString &path, const QByteArray &bytes);

} // namespace SettingsFile
