#pragma once

#include <QtGlobal>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

#include <QFile>
#include <QProcess>
#include <QString>

// Makes a folder refuse new files for as long as it lives. Root ignores
// permission bits, so there the folder is made immutable instead; where
// neither works (and on Windows, whose folders take new files whatever their
// read-only flag), isReadOnly() says so and the test skips.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder) : m_folder(folder)
    {
        m_readOnly = setWritable(false);
    }
    ~ReadOnlyFolder()
    {
        if (m_readOnly)
            setWritable(true);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isReadOnly() const { return m_readOnly; }

private:
    bool setWritable([[maybe_unused]] bool writable)
    {
#if !defined(Q_OS_UNIX)
        return false;
#else
        if (::geteuid() == 0) {
            return QProcess::execute(
                       QStringLiteral("chattr"),
                       {writable ? QStringLiteral("-i") : QStringLiteral("+i"), m_folder}) == 0;
        }
        auto permissions = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
        if (writable)
            permissions |= QFileDevice::WriteOwner;
        return QFile::setPermissions(m_folder, permissions);
#endif
    }

    QString m_folder;
    bool m_readOnly = false;
};
