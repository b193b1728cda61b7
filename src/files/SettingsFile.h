#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// A .vfd file: image bytes 1..126, raw, no header.
namespace SettingsFile {

inline constexpr int Length = 126;

// Dialog filters, in Qt's form.
QString loadFilter(); // "VFD Files (*.vfd)"
QString saveFilter(); // "VFD Files (*.vfd)"

// A save under this file name (without folder, compared exactly) is refused.
bool isRefusedName(QStringView fileName);
QString refusedNameMessage(); // "KS310.vfd can't be saved"
QString loadQuestion();       // "Are you sure to Load ?"
QString loadQuestionTitle();  // "Load File"
QString loadErrorMessage();   // "Error"

struct ReadResult
{
    bool ok = false;
    QByteArray bytes; // the first 126 bytes of the file when ok
    QString error;    // the system's reason otherwise
};

// Reads a file without ever creating it. A file shorter than 126 bytes
// fails; a longer one gives its first 126. Anything but a regular file (a
// pipe, a device, a socket, a folder) is refused before it is opened, so
// that a read never waits.
ReadResult read(const QString &path);

struct WriteResult
{
    bool ok = false;
    QString error; // "<file>: <reason>" when not ok
};

// Writes exactly the given 126 bytes, atomically: the file ends either
// complete or as it was.
WriteResult write(const QString &path, const QByteArray &configBytes);

} // namespace SettingsFile
