#include "files/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace SettingsFile {

QString loadFilter()
{
    return QStringLiteral("VFD Files (*.vfd)");
}

QString saveFilter()
{
    return QStringLiteral("VFD Files (*.vfd)");
}

bool isRefusedName(QStringView fileName)
{
    return fileName == u"TQ-540.vfd";
}

QString refusedNameMessage()
{
    return QStringLiteral("KS310.vfd can't be saved");
}

QString loadQuestion()
{
    return QStringLiteral("Are you sure to Load ?");
}

QString loadQuestionTitle()
{
    return QStringLiteral("Load File");
}

QString loadErrorMessage()
{
    return QStringLiteral("Error");
}

namespace {

QString notRegularReason(const QString &path)
{
    return QFileInfo::exists(path) ? QStringLiteral("it is not a regular file")
                                   : QStringLiteral("there is no such file");
}

// Opens for reading only what is a regular file: a pipe, a device or a
// socket can hold its reader forever, in opening or in reading. QFile never
// creates a file that is opened read-only.
bool openRegular(QFile &file, const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = notRegularReason(path);
        return false;
    }
#ifdef Q_OS_UNIX
    // Something else may stand at the path by the time it is opened: open
    // without waiting and ask the opened file itself.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("it is not a regular file");
        return false;
    }
    // Reading a regular file never waits, O_NONBLOCK or not.
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
        return false;
    }
    return true;
#else
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    return true;
#endif
}

} // namespace

ReadResult read(const QString &path)
{
    ReadResult result;
    QFile file;
    if (!openRegular(file, path, &result.error))
        return result;
    // Only the first 126 bytes matter; whatever follows is never read.
    result.bytes = file.read(Length);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() < Length) {
        result.error = QStringLiteral("the file holds %1 bytes, a settings file holds %2")
                           .arg(result.bytes.size())
                           .arg(Length);
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

WriteResult write(const QString &path, const QByteArray &configBytes)
{
    WriteResult result;
    const QString name = QFileInfo(path).fileName();
    if (configBytes.size() != Length) {
        result.error = QStringLiteral("%1: %2 bytes to write, a settings file holds %3")
                           .arg(name)
                           .arg(configBytes.size())
                           .arg(Length);
        return result;
    }
    // QSaveFile writes beside the target and renames on commit, so a failure
    // leaves the old file whole and a success leaves exactly these bytes.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("%1 could not be saved: %2").arg(path, file.errorString());
        return result;
    }
    if (file.write(configBytes) != configBytes.size() || !file.commit()) {
        result.error = QStringLiteral("%1 could not be saved: %2").arg(path, file.errorString());
        file.cancelWriting();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace SettingsFile
