#pragma once

#include <cstdio>

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What every command of tq540ctl shares: exit statuses, output, its own
// command line, and the checked reading and writing of settings files.
namespace Cli {

// Exit statuses, as CtlMessages::exitStatusHelp() documents them.
enum Status : int {
    Done = 0,          // all done
    Failed = 1,        // a display failed, or a verify or a diff found differences
    Usage = 2,         // a usage error or a value out of range; nothing written or sent
    FileError = 3,     // a file that cannot be read, is not a settings file, or cannot be
                       // saved, or the output that cannot be written
    Interrupted = 130, // Ctrl+C, as shells report a program ended by SIGINT
};

// Ends a command: main prints the message on stderr and exits with the status.
struct Failure
{
    int status;
    QString message;
};

[[noreturn]] void usage(const QString &message);
[[noreturn]] void fileError(const QString &message);

// Results on stdout, messages and progress on stderr; a line each, safe
// from several threads.
void out(const QString &text);
void err(const QString &text);

// The command line as the system gave it, each argument decoded as UTF-8
// with a leading byte order mark kept (it is a character of a text, and a
// byte of a name). An argument that is not UTF-8 is remembered: the
// CommandLine refuses it when it is used, as a name or as a text.
QStringList arguments(int argc, const char *const *argv);

// A failure as a JSON object, for those who asked for --json: its outcome,
// exit status and message.
QString failureJson(const Failure &failure);

// Flushes `stream` and returns the status to exit with: `status`, or
// FileError when a result could not be written (a full disk, say) and
// nothing worse was to be reported, so that no script takes missing output
// for success. Says why on stderr.
int finishOutput(std::FILE *stream, int status);

// Whether stderr is a terminal, where progress is shown.
bool stderrIsTerminal();

// The exit statuses as the help texts list them.
QString exitStatusHelp();

// A command's own options, parsed with QCommandLineParser.
class CommandLine
{
public:
    CommandLine(const QString &command, const QString &synopsis, const QString &description);

    void addOption(const QStringList &names, const QString &help,
                   const QString &valueName = QString());

    // Parses `arguments` (the command's name first). Returns false after
    // printing the help for --help; throws a usage Failure on bad input.
    bool parse(const QStringList &arguments);

    // Exactly `count` positional arguments, or a usage Failure.
    QStringList positionals(int count) const;
    // An option's value, or a usage Failure when it is given more than
    // once; empty when not given.
    QString atMostOneValue(const QString &name) const;
    // atMostOneValue() of an option that is a text, not a name: a value that
    // is not UTF-8 is refused as a text.
    QString textValue(const QString &name) const;
    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QStringList values(const QString &name) const;

private:
    QCommandLineParser m_parser;
    QString m_command;
    QString m_synopsis;
};

// The 126 bytes of a settings file that the window would load; a
// FileError Failure otherwise. Never opens what is not a regular file, so
// a folder or a FIFO cannot make it wait.
QByteArray readSettings(const QString &path);

// Checks, before anything is read or sent, that a settings file may be
// written at `path`; a FileError Failure otherwise.
void checkOutput(const QString &path);

// Writes the 126 bytes atomically; a FileError Failure when it cannot.
void writeSettings(const QString &path, const QByteArray &configBytes);

} // namespace Cli
