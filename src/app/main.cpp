#include <cstdio>
#include <string_view>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTimer>

#include "app/Form1.h"
#include "app/WidgetPrompts.h"
#include "link/SystemComm.h"
#include "link/TickCounter.h"

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Sets up a TQ-540 customer pole display. With a settings file, asks "
                       "\"Are you sure to Load ?\" and loads it, as \"Load\" does."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE.vfd"),
                                 QStringLiteral("A settings file to load."),
                                 QStringLiteral("[FILE.vfd]"));
}

// --help and --version only print: they are answered before the window
// toolkit starts, which aborts where there is no display.
bool onlyPrints(int argc, char *argv[])
{
    for (int k = 1; k < argc; ++k) {
        const std::string_view argument = argv[k];
        if (argument == "--")
            break;
        for (const std::string_view option :
             {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (argument == option)
                return true;
        }
    }
    return false;
}

// The file's name as the system gave it. On Unix that is argv's bytes,
// which need not be UTF-8: decoded to text, such a name names another file.
// QApplication has taken its own options out of argv, so the rest stand one
// to one with its arguments. Windows gives the arguments as text.
QByteArray systemName(const QString &file, int argc, char *argv[])
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return file.toUtf8();
#else
    const qsizetype at = QCoreApplication::arguments().lastIndexOf(file);
    return at > 0 && at < argc ? QByteArray(argv[at]) : QFile::encodeName(file);
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(QStringLiteral(TQ540_VERSION));
    QCommandLineParser parser;
    describe(parser);
    if (onlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        parser.process(app); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    // The toolkit has taken its own options out of the arguments by now.
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("tq540setup: one settings file at most\n", stderr);
        return 1;
    }

    // The desktop entry has this name; Wayland finds the window's entry, and
    // so its icon, by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(TQ540_APP_ID));
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString &name : icons.entryList(QDir::Files))
        icon.addFile(icons.filePath(name));
    QApplication::setWindowIcon(icon);

    SystemComm comm;
    SystemTickCounter ticks;
    WidgetPrompts prompts;
    Form1 window(comm, ticks, prompts);
    prompts.setParentWidget(&window);
    window.show();
    if (!files.isEmpty()) {
        // Once the window is up, so that the question stands over it.
        const QByteArray name = systemName(files.first(), argc, argv);
        QTimer::singleShot(0, &window, [&window, name] { window.openFileFromCommandLine(name); });
    }
    return app.exec();
}
