#include <QApplication>

#include "app/Form1.h"
#include "app/WidgetPrompts.h"
#include "link/SerialPortComm.h"
#include "link/TickCounter.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    SerialPortComm comm;
    SystemTickCounter ticks;
    WidgetPrompts prompts;
    Form1 window(comm, ticks, prompts);
    prompts.setParentWidget(&window);
    window.show();
    return app.exec();
}
