// Looks at the real window the way a person or a screen reader would, for
// checks by hand and for the documentation; not a test.
//
//   window_probe --shots DIR        one PNG per page, taken from the display
//                                   (run it on an X server, e.g. Xvfb), and
//                                   one of a drawing not yet stored
//   window_probe --accessibility    the accessibility tree of every page, with
//                                   each control's labelled-by relation

#include <cstdio>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "app/Form1.h"
#include "app/WidgetPrompts.h"
#include "link/SerialPortComm.h"
#include "link/TickCounter.h"

namespace {

QString roleName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Window:
        return QStringLiteral("window");
    case QAccessible::Grouping:
        return QStringLiteral("group");
    case QAccessible::StaticText:
        return QStringLiteral("label");
    case QAccessible::PushButton:
        return QStringLiteral("button");
    case QAccessible::CheckBox:
        return QStringLiteral("check box");
    case QAccessible::RadioButton:
        return QStringLiteral("radio button");
    case QAccessible::ComboBox:
        return QStringLiteral("combo box");
    case QAccessible::EditableText:
        return QStringLiteral("text");
    case QAccessible::PageTabList:
        return QStringLiteral("tab list");
    case QAccessible::PageTab:
        return QStringLiteral("tab");
    case QAccessible::Graphic:
        return QStringLiteral("picture");
    case QAccessible::Client:
        return QStringLiteral("pane");
    default:
        return QStringLiteral("role 0x%1").arg(int(role), 0, 16);
    }
}

// One line per visible node: role, spoken name, value or checked state, the
// labels it is labelled by, and its control name.
void dump(QAccessibleInterface *node, int depth, QTextStream &out)
{
    const QAccessible::State state = node->state();
    if (state.invisible)
        return;
    QString line = QString(depth * 2, QLatin1Char(' ')) + roleName(node->role());
    line += QStringLiteral(" \"%1\"").arg(node->text(QAccessible::Name));
    const QString value = node->text(QAccessible::Value);
    if (!value.isEmpty())
        line += QStringLiteral(" value \"%1\"").arg(value);
    if (state.checkable)
        line += state.checked ? QStringLiteral(" [checked]") : QStringLiteral(" [unchecked]");
    if (state.disabled)
        line += QStringLiteral(" [disabled]");
    const auto labels = node->relations(QAccessible::Label);
    for (const auto &[label, relation] : labels)
        line += QStringLiteral(" <- labelled by \"%1\"").arg(label->text(QAccessible::Name));
    const QString description = node->text(QAccessible::Description);
    if (!description.isEmpty())
        line += QStringLiteral("  {%1}").arg(description);
    out << line << '\n';
    for (int i = 0; i < node->childCount(); ++i)
        dump(node->child(i), depth + 1, out);
}

void settle()
{
    QTest::qWait(300);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: window_probe --shots DIR | --accessibility\n");
        return 2;
    }

    SerialPortComm comm;
    SystemTickCounter ticks;
    WidgetPrompts prompts;
    Form1 window(comm, ticks, prompts);
    prompts.setParentWidget(&window);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    settle();
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));

    if (arguments[1] == QLatin1String("--shots") && arguments.size() > 2) {
        const QDir folder(arguments[2]);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            // No control has the focus, so that the shots compare whole.
            if (QWidget *focused = QApplication::focusWidget())
                focused->clearFocus();
            settle();
            const QPixmap shot = window.screen()->grabWindow(window.winId());
            const QString path = folder.filePath(QStringLiteral("page-%1.png").arg(page));
            if (!shot.save(path))
                return 1;
            std::printf("%s\n", qPrintable(path));
        }
        // A drawing not yet stored: the note beside the grid and the focus
        // on a lit dot.
        auto *dot = window.findChild<QAbstractButton *>(QStringLiteral("map3(1)"));
        // Its page, which is not the last one.
        for (QWidget *up = dot; up; up = up->parentWidget()) {
            if (pages->indexOf(up) >= 0)
                pages->setCurrentWidget(up);
        }
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            std::fprintf(stderr, "the window did not become active: no focus shown\n");
        dot->setChecked(true);
        dot->setFocus();
        settle();
        const QString path = folder.filePath(QStringLiteral("page-2-drawing.png"));
        if (!window.screen()->grabWindow(window.winId()).save(path))
            return 1;
        std::printf("%s\n", qPrintable(path));
        return 0;
    }
    if (arguments[1] == QLatin1String("--accessibility")) {
        QTextStream out(stdout);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            settle();
            out << "=== page " << page << ": " << pages->tabText(page) << '\n';
            // The window once, then only the page that changes.
            QObject *root = page == 0 ? static_cast<QObject *>(&window) : pages->currentWidget();
            dump(QAccessible::queryAccessibleInterface(root), 0, out);
        }
        return 0;
    }
    std::fprintf(stderr, "usage: window_probe --shots DIR | --accessibility\n");
    return 2;
}
