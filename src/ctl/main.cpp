// tq540ctl: the window's jobs as commands, so that scripts can prepare,
// write, read back and compare the settings of many displays.

#include <cstdio>

#include <QCoreApplication>

#include "Cli.h"
#include "Commands.h"
#include "messages/Messages.h"

namespace {

struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
};

constexpr Command Table[] = {
    {"ports", "list the serial ports the system reports", Commands::ports},
    {"show", "print a settings file decoded", Commands::show},
    {"new", "write a settings file from the factory settings and EDITS", Commands::create},
    {"edit", "change a settings file by EDITS", Commands::edit},
    {"download", "write a settings file into one or more displays at once", Commands::download},
    {"upload", "read the settings of a display", Commands::upload},
    {"diff", "name the fields in which two settings files differ", Commands::diff},
    {"test", "write a test screen into displays in their command set", Commands::test},
    {"find", "ask ports for a display at 9600 and 19200 baud", Commands::find},
    {"listen", "tell which command set a till sends, never writing to it", Commands::listen},
};

QString help()
{
    QString text = QStringLiteral(
        "Usage: tq540ctl COMMAND [options]\n\n"
        "Sets up TQ-540 customer displays from scripts: prepares .vfd settings files,\n"
        "writes them into displays, reads displays back and compares settings.\n\n"
        "Commands:\n");
    for (const Command &command : Table)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromLatin1(command.name).leftJustified(9))
                    .arg(QLatin1String(command.summary));
    text += QStringLiteral("\nRun \"tq540ctl COMMAND --help\" for a command's options.\n"
                           "  -h, --help     this help\n"
                           "  -v, --version  the version\n\n");
    return text + Cli::exitStatusHelp();
}

int run(const QStringList &arguments)
{
    const QString first = arguments.value(1);
    if (first == u"-h" || first == u"--help" || first == u"help") {
        std::fputs(qPrintable(help()), stdout);
        return Cli::Done;
    }
    if (first == u"-v" || first == u"--version") {
        std::printf("tq540ctl %s\n", TQ540_VERSION);
        return Cli::Done;
    }
    for (const Command &command : Table) {
        if (first == QLatin1String(command.name))
            return command.run(arguments.mid(1));
    }
    Cli::usage(first.isEmpty()
                   ? QStringLiteral("give a command (see tq540ctl --help)")
                   : QStringLiteral("%1 is no command (see tq540ctl --help)")
                         .arg(Messages::quoted(first)));
}

// Whether the command line asks for JSON, read from the raw arguments so
// that it is known even when they cannot be used.
bool wantsJson(int argc, const char *const *argv)
{
    for (int k = 1; k < argc; ++k) {
        const QByteArrayView argument(argv[k]);
        if (argument == "--")
            return false;
        if (argument == "--json")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tq540ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TQ540_VERSION));
    int status = Cli::Done;
    try {
        status = run(Cli::arguments(argc, argv));
    } catch (const Cli::Failure &failure) {
        // A JSON reader gets the reason too; stderr keeps it for people.
        if (wantsJson(argc, argv))
            Cli::out(Cli::failureJson(failure));
        Cli::err(QStringLiteral("tq540ctl: %1").arg(failure.message));
        status = failure.status;
    }
    return Cli::finishOutput(stdout, status);
}
