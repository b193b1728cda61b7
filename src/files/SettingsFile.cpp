#include "files/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

ReadResult read(const QString &path)
{
    ReadResult result;
    // QFile never creates a file that is opened read-only.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
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
