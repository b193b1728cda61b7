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

Result<void> checkName(const QString &path)
{
    if (QFileInfo(path).fileName() == u"TQ-540.vfd")
        return Error{.reason = Error::Reason::RefusedName, .subject = path};
    return {};
}

namespace {

using Reason = Error::Reason;

Error readError(Reason reason, const QString &path, const QString &system = QString())
{
    return {.reason = reason, .subject = path, .system = system};
}

Error cannotWrite(const QString &path, const QSaveFile &file)
{
    return {.reason = Reason::CannotWrite, .subject = path, .system = file.errorString()};
}

// Opens for reading only what is a regular file: a pipe, a device or a
// socket can hold its reader forever, in opening or in reading. QFile never
// creates a file that is opened read-only.
Result<void> openRegular(QFile &file, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return readError(QFileInfo::exists(path) ? Reason::NotRegularFile : Reason::NoSuchFile,
                         path);
#ifdef Q_OS_UNIX
    // Something else may stand at the path by the time it is opened: open
    // without waiting and ask the opened file itself.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return readError(Reason::FileUnreadable, path,
                         QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return readError(Reason::NotRegularFile, path);
    }
    // Reading a regular file never waits, O_NONBLOCK or not.
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return readError(Reason::FileUnreadable, path, file.errorString());
    }
    return {};
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return readError(Reason::FileUnreadable, path, file.errorString());
    return {};
#endif
}

// Whether what stands at `path` may be replaced by a settings file: nothing,
// or a regular file. A save renames its new file over the path, which would
// turn a device node, a pipe or a socket into a plain file.
bool replaceable(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    // Nothing there, or nothing to be seen: the save itself then reports why
    // it cannot write.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return true;
    return S_ISREG(info.st_mode);
#else
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
#endif
}

} // namespace

Result<QByteArray> read(const QString &path)
{
    QFile file;
    if (const Result<void> opened = openRegular(file, path); !opened)
        return opened.error();
    // Only the first 126 bytes matter; whatever follows is never read.
    const QByteArray bytes = file.read(Length);
    if (file.error() != QFileDevice::NoError)
        return readError(Reason::FileUnreadable, path, file.errorString());
    if (bytes.size() < Length)
        return Error{.reason = Reason::FileTooShort,
                     .subject = path,
                     .count = static_cast<int>(bytes.size()),
                     .total = Length};
    return bytes;
}

Result<void> write(const QString &path, const QByteArray &configBytes)
{
    if (Result<void> named = checkName(path); !named)
        return named;
    if (configBytes.size() != Length)
        return Error{.reason = Reason::WrongLength,
                     .subject = path,
                     .count = static_cast<int>(configBytes.size()),
                     .total = Length};
    // QSaveFile writes beside the target and renames on commit, so a failure
    // leaves the old file whole and a success leaves exactly these bytes.
    const Error notRegular{.reason = Reason::NotRegularTarget, .subject = path};
    if (!replaceable(path))
        return notRegular;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(path, file);
    if (file.write(configBytes) != configBytes.size()) {
        const Error error = cannotWrite(path, file);
        file.cancelWriting();
        return error;
    }
    // Once more just before the rename: something may have been put there.
    if (!replaceable(path)) {
        file.cancelWriting();
        return notRegular;
    }
    if (!file.commit()) {
        const Error error = cannotWrite(path, file);
        file.cancelWriting();
        return error;
    }
    return {};
}

} // namespace SettingsFile
