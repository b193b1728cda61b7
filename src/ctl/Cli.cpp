#include "Cli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include "ImageView.h"
#include "editors/Configuration.h"
#include "files/SettingsFile.h"
#include "messages/CtlMessages.h"
#include "messages/Messages.h"

namespace Cli {

namespace {

std::mutex s_outputLock;
// The arguments that were not UTF-8, decoded, with their bytes; written
// once by arguments(), before any thread starts.
QHash<QString, QByteArray> s_notUtf8;
int s_writeErrno = 0; // why the last write failed, under s_outputLock

void writeLine(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    const std::lock_guard<std::mutex> lock(s_outputLock);
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream) !=
            static_cast<std::size_t>(bytes.size()) ||
        std::fflush(stream) != 0)
        s_writeErrno = errno;
}

// An argument's bytes for a message: what is not ASCII as \xNN.
QString bytesShown(QByteArrayView bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += value < 0x80 ? QString(QLatin1Char(byte))
                             : QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
    }
    return text;
}

// A name made of bytes that are not UTF-8 would be read or written under
// another name: refused.
const QString &checkedName(const QString &value)
{
    if (const auto bytes = s_notUtf8.constFind(value); bytes != s_notUtf8.cend())
        usage(QStringLiteral("%1 is not UTF-8 text; a name with such bytes cannot be used. "
                             "Rename the file, or give another name.")
                  .arg(Messages::quoted(bytesShown(*bytes))));
    return value;
}

// Qt prints a description as it stands: wrapped here to 79 columns.
QString wrapped(const QString &text)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 79) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines << line;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void usage(const QString &message)
{
    throw Failure{Usage, message};
}

void fileError(const QString &message)
{
    throw Failure{FileError, message};
}

void out(const QString &text)
{
    writeLine(stdout, text);
}

void err(const QString &text)
{
    writeLine(stderr, text);
}

QStringList arguments(int argc, const char *const *argv)
{
#if defined(Q_OS_WIN)
    // Windows hands Qt the command line as UTF-16: nothing is lost there.
    if (QCoreApplication::instance())
        return QCoreApplication::arguments();
#endif
    s_notUtf8.clear();
    QStringList list;
    for (int k = 0; k < argc; ++k) {
        const QByteArray bytes(argv[k]);
        // Stateless: a sequence cut at the end is an error, not held back.
        QStringDecoder decode(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                        QStringConverter::Flag::Stateless);
        const QString text = decode(bytes);
        if (decode.hasError())
            s_notUtf8.insert(text, bytes);
        list << text;
    }
    return list;
}

QString failureJson(const Failure &failure)
{
    const QJsonObject object{{QStringLiteral("outcome"), QStringLiteral("failed")},
                             {QStringLiteral("status"), failure.status},
                             {QStringLiteral("message"), failure.message}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed();
}

int finishOutput(std::FILE *stream, int status)
{
    int why = 0;
    {
        const std::lock_guard<std::mutex> lock(s_outputLock);
        if (std::fflush(stream) != 0)
            s_writeErrno = errno;
        if (std::ferror(stream))
            why = s_writeErrno != 0 ? s_writeErrno : EIO;
    }
    if (why == 0)
        return status;
    err(QStringLiteral("tq540ctl: the output could not be written: %1")
            .arg(QString::fromLocal8Bit(std::strerror(why))));
    return status == Done ? FileError : status;
}

bool stderrIsTerminal()
{
#if defined(Q_OS_WIN)
    return _isatty(_fileno(stderr));
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

QString exitStatusHelp()
{
    return CtlMessages::exitStatusHelp();
}

CommandLine::CommandLine(const QString &command, const QString &synopsis,
                         const QString &description)
    : m_command(command), m_synopsis(synopsis)
{
    m_parser.setApplicationDescription(wrapped(description));
    addOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
}

void CommandLine::addOption(const QStringList &names, const QString &help, const QString &valueName)
{
    QCommandLineOption option(names, help);
    if (!valueName.isEmpty())
        option.setValueName(valueName);
    m_parser.addOption(option);
}

bool CommandLine::parse(const QStringList &arguments)
{
    if (!m_parser.parse(arguments))
        usage(QStringLiteral("%1 (see tq540ctl %2 --help)")
                  .arg(Messages::shown(m_parser.errorText()), m_command));
    if (!m_parser.isSet(QStringLiteral("help")))
        return true;
    // Qt's usage line names the program's path; ours names the command.
    QString help = m_parser.helpText();
    help.replace(0, help.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: tq540ctl %1 %2").arg(m_command, m_synopsis));
    std::fputs(qPrintable(help + QLatin1Char('\n') + exitStatusHelp()), stdout);
    return false;
}

QStringList CommandLine::positionals(int count) const
{
    const QStringList given = m_parser.positionalArguments();
    for (const QString &value : given)
        checkedName(value);
    if (given.size() != count)
        usage(QStringLiteral("tq540ctl %1 takes %2 (see tq540ctl %1 --help)")
                  .arg(m_command, m_synopsis));
    return given;
}

QStringList CommandLine::values(const QString &name) const
{
    const QStringList given = m_parser.values(name);
    for (const QString &value : given)
        checkedName(value);
    return given;
}

QString CommandLine::textValue(const QString &name) const
{
    const QStringList given = m_parser.values(name);
    for (const QString &value : given) {
        if (const auto bytes = s_notUtf8.constFind(value); bytes != s_notUtf8.cend())
            usage(CtlMessages::textNotUtf8(name, bytesShown(*bytes)));
    }
    return atMostOneValue(name);
}

QString CommandLine::atMostOneValue(const QString &name) const
{
    const QStringList given = values(name);
    if (given.size() > 1)
        usage(QStringLiteral("--%1 is given %2 times; give it once").arg(name).arg(given.size()));
    return given.value(0);
}

QByteArray readSettings(const QString &path)
{
    // The reader refuses a missing file, a folder, a pipe or a device before
    // opening it, so nothing here can hang.
    const Result<QByteArray> read = SettingsFile::read(path);
    if (!read)
        fileError(Messages::fileFailure(read.error()));
    if (!Configuration::isLoadable(*read)) {
        SettingsImage image;
        image.setConfigBytes(*read);
        fileError(Messages::fileFailure(
            {.reason = Error::Reason::NotSettingsFile,
             .subject = path,
             .detail = ImageView::invalidLists(image).join(QStringLiteral(", "))}));
    }
    return *read;
}

void checkOutput(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty())
        usage(QStringLiteral("the file to write is an empty name"));
    if (const Result<void> named = SettingsFile::checkName(path); !named)
        fileError(Messages::fileFailure(named.error()));
    if (info.exists() && !info.isFile())
        fileError(QStringLiteral("%1: not a regular file; nothing was written")
                      .arg(Messages::shown(path)));
    if (!info.absoluteDir().exists())
        fileError(QStringLiteral("%1: the folder %2 does not exist")
                      .arg(Messages::shown(path),
                           Messages::shown(QDir::toNativeSeparators(info.absolutePath()))));
}

void writeSettings(const QString &path, const QByteArray &configBytes)
{
    checkOutput(path);
    if (const Result<void> written = SettingsFile::write(path, configBytes); !written)
        fileError(Messages::fileFailure(written.error()));
}

} // namespace Cli
