#include <QApplication>
#include <QDir>
#include <QIcon>

#include "app/Form1.h"
#include "app/WidgetPrompts.h"
#include "link/SerialPortComm.h"
#include "link/TickCounter.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The desktop entry has this name; Wayland finds the window's entry, and
    // so its icon, by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(TQ540_APP_ID));
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString &name : icons.entryList(QDir::Files))
        icon.addFile(icons.filePath(name));
    QApplication::setWindowIcon(icon);

    SerialPortComm comm;
    SystemTickCounter ticks;
    WidgetPrompts prompts;
    Form1 window(comm, ticks, prompts);
    prompts.setParentWidget(&window);
    window.show();
    return app.exec();
}
