#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "FormRig.h"
#include "app/ChangeHistory.h"

// The window: its controls, how they are named and reached, its start state,
// the command page's lists and closing.
class tst_Form1 : public QObject
{
    Q_OBJECT

private slots:
    void controlsAreNamed_data();
    void controlsAreNamed();
    void arraysAreComplete_data();
    void arraysAreComplete();
    void captions_data();
    void captions();
    void controlsLieInsideTheirContainer();
    void windowFrame();
    void pageBuildsItselfWhenShown_data();
    void pageBuildsItselfWhenShown();
    void startState();
    void startLists_data();
    void startLists();
    void displayListsBindToTheConfiguration_data();
    void displayListsBindToTheConfiguration();
    void setAllDefaultKeepsTheLinkChoice();
    void closingClosesAnOpenPort();
    void closingWithPortClosedDoesNothing();
    void tabFollowsReadingOrder_data();
    void tabFollowsReadingOrder();
    void shortcuts();
    void undoKeysReachTheHistory();
};

// --- controls ---------------------------------------------------------------

void tst_Form1::controlsAreNamed_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = {
        "Frame3",        "Label6",   "Comm",   "Label7",   "Baud",     "GetSetting", "Load",
        "Save",          "Image1",   "SSTab1", "Label1",   "Char",     "Label2",     "Command",
        "Label3",        "BaudRate", "Label4", "Passthru", "Frame1",   "Op_L1A",     "Op_L1H",
        "CLR_MSG1",      "Frame2",   "Op_L2A", "Op_L2H",   "CLR_MSG2", "UDC_label",  "UDC_UP",
        "Label5",        "UDC_TEXT", "Label8", "UDC_NEXT", "Label9",   "Label10",    "MAP_Clear",
        "SetAllDefault", "Download"};
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void tst_Form1::controlsAreNamed()
{
    QFETCH(QString, name);
    FormRig rig;
    const QList<QWidget *> found = rig.form.findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->accessibleDescription(), name);
    QVERIFY(
        !QAccessible::queryAccessibleInterface(found.first())->text(QAccessible::Name).isEmpty());
}

void tst_Form1::arraysAreComplete_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("type");
    QTest::newRow("L1A") << "L1A" << 1 << 20 << "QLineEdit";
    QTest::newRow("L1H") << "L1H" << 1 << 20 << "QLineEdit";
    QTest::newRow("L2A") << "L2A" << 1 << 40 << "QLineEdit";
    QTest::newRow("L2H") << "L2H" << 1 << 40 << "QLineEdit";
    for (int k = 1; k <= 5; ++k)
        QTest::addRow("map%d", k) << QStringLiteral("map%1").arg(k) << 0 << 7 << "DotButton";
    QTest::newRow("Label_L1A1") << "Label_L1A1" << 0 << 5 << "QLabel";
    QTest::newRow("Label_L1H1") << "Label_L1H1" << 0 << 5 << "QLabel";
    QTest::newRow("Label_L2A1") << "Label_L2A1" << 0 << 10 << "QLabel";
    QTest::newRow("Label_L2H1") << "Label_L2H1" << 0 << 10 << "QLabel";
}

void tst_Form1::arraysAreComplete()
{
    QFETCH(QString, array);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QString, type);
    FormRig rig;
    QSet<QString> accessibleNames;
    for (int i = first; i < first + count; ++i) {
        const QString name = QStringLiteral("%1(%2)").arg(array).arg(i);
        QWidget *widget = rig.get(name);
        QVERIFY2(widget, qPrintable(name));
        QVERIFY(widget->inherits(type.toLatin1().constData()));
        QCOMPARE(widget->accessibleDescription(), name);
        accessibleNames.insert(widget->accessibleName());
    }
    // Nothing beyond the array, and every element told apart by its name.
    QVERIFY(!rig.get(QStringLiteral("%1(%2)").arg(array).arg(first + count)));
    QCOMPARE(accessibleNames.size(), count);
    const QRegularExpression pattern(QStringLiteral("^%1\\(\\d+\\)$").arg(array));
    QCOMPARE(rig.form.findChildren<QWidget *>(pattern).size(), count);
}

void tst_Form1::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Frame3") << "Frame3"
                            << "Interface Setting";
    QTest::newRow("Label6") << "Label6"
                            << "Com Port Select :";
    QTest::newRow("Label7") << "Label7"
                            << "Buad Rate :";
    QTest::newRow("GetSetting") << "GetSetting"
                                << "Get Setting From VFD";
    QTest::newRow("Load") << "Load"
                          << "Load";
    QTest::newRow("Save") << "Save"
                          << "Save";
    QTest::newRow("Label1") << "Label1"
                            << " Character Type :";
    QTest::newRow("Label2") << "Label2"
                            << "Command Mode :";
    QTest::newRow("Label3") << "Label3"
                            << "BaudRate Select :";
    QTest::newRow("Label4") << "Label4"
                            << " Passthru Mode :";
    QTest::newRow("Frame1") << "Frame1"
                            << "Welcome Msg 1";
    QTest::newRow("Frame2") << "Frame2"
                            << "Welcome Msg 2 ";
    QTest::newRow("Op_L1A") << "Op_L1A"
                            << "ASCII";
    QTest::newRow("Op_L2H") << "Op_L2H"
                            << "Hex";
    QTest::newRow("CLR_MSG2") << "CLR_MSG2"
                              << "Clear";
    QTest::newRow("UDC_UP") << "UDC_UP"
                            << "<<";
    QTest::newRow("Label5") << "Label5"
                            << "0x";
    QTest::newRow("Label8") << "Label8"
                            << "(Hex)";
    QTest::newRow("UDC_NEXT") << "UDC_NEXT"
                              << ">>";
    QTest::newRow("Label9") << "Label9"
                            << "Range : 0x20~0x7E";
    QTest::newRow("Label10") << "Label10"
                             << "Max Characters = 9";
    QTest::newRow("MAP_Clear") << "MAP_Clear"
                               << "Clear";
    QTest::newRow("SetAllDefault") << "SetAllDefault"
                                   << "Set All Default";
    QTest::newRow("Download") << "Download"
                              << "Download Setting To VFD";
    QTest::newRow("Label_L1H1(0)") << "Label_L1H1(0)"
                                   << "0";
    QTest::newRow("Label_L1A1(4)") << "Label_L1A1(4)"
                                   << "20";
    QTest::newRow("Label_L2A1(5)") << "Label_L2A1(5)"
                                   << "21";
    QTest::newRow("Label_L2H1(9)") << "Label_L2H1(9)"
                                   << "40";
}

void tst_Form1::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FormRig rig;
    QWidget *widget = rig.get(name);
    QVERIFY(widget);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), caption);
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(frame->title(), caption);
    else
        QFAIL("no caption");

    // Said as it is shown (the symbol buttons get words of their own).
    if (caption.front().isLetterOrNumber()) {
        const QString spoken =
            QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        QVERIFY2(spoken.contains(caption.trimmed()), qPrintable(spoken));
    }

    // The caption shows whole on a one-line control.
    if (auto *label = qobject_cast<QLabel *>(widget))
        QVERIFY2(label->fontMetrics().horizontalAdvance(caption) <= label->width(),
                 qPrintable(name));
}

void tst_Form1::controlsLieInsideTheirContainer()
{
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    // A page takes its size when first shown; before, it has a default one.
    auto *pages = rig.get<QTabWidget>("SSTab1");
    for (int page = pages->count() - 1; page >= 0; --page)
        pages->setCurrentIndex(page);
    const QList<QWidget *> widgets = rig.form.findChildren<QWidget *>();
    int checked = 0;
    for (QWidget *widget : widgets) {
        if (widget->accessibleDescription().isEmpty())
            continue;
        const QRect inParent = widget->parentWidget()->rect();
        QVERIFY2(inParent.contains(widget->geometry()), qPrintable(widget->objectName()));
        ++checked;
    }
    QVERIFY(checked > 200);
}

void tst_Form1::windowFrame()
{
    FormRig rig;
    QCOMPARE(rig.form.windowTitle(), QStringLiteral("TQ-540_setup_V2.5"));
    QCOMPARE(rig.form.size(), QSize(631, 751)); // the glass preview under the welcome frames
    QCOMPARE(rig.form.minimumSize(), rig.form.maximumSize());
    QCOMPARE(rig.form.font().family(), QStringLiteral("Arial"));
    QVERIFY(rig.form.font().bold());
    QCOMPARE(rig.form.font().pointSizeF(), 10.5);
    // The whole window uses that font.
    QCOMPARE(rig.get("L2H(40)")->font(), rig.form.font());
}

void tst_Form1::pageBuildsItselfWhenShown_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("chosenBeforeShowing");
    QTest::newRow("Welcome Msg chosen in the open window") << 1 << false;
    QTest::newRow("User Defined Character open with the window") << 2 << true;
}

void tst_Form1::pageBuildsItselfWhenShown()
{
    QFETCH(int, page);
    QFETCH(bool, chosenBeforeShowing);
    FormRig rig(FormRig::Pages::AsShown);
    // Settings reach the model before the later pages have controls;
    // start-up builds only the page in front.
    rig.form.configuration().line1().setHexText(1, QStringLiteral("41"));
    rig.form.configuration().characters().toggleDot(3, 1);
    QVERIFY(!rig.get("L1H(1)"));
    QVERIFY(!rig.get("map3(1)"));

    auto *pages = rig.get<QTabWidget>("SSTab1");
    if (chosenBeforeShowing)
        pages->setCurrentIndex(page);
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    pages->setCurrentIndex(page);

    // The page shows the model as it stands; the other page still waits.
    if (page == 1) {
        QCOMPARE(rig.cell("L1H", 1)->text(), QStringLiteral("41"));
        QVERIFY(rig.cell("L1H", 1)->isVisible());
        QVERIFY(!rig.cell("L1A", 1)->isVisible());
        QVERIFY(rig.get("Label_L1H1(0)")->isVisible());
        QVERIFY(!rig.get("Label_L1A1(0)")->isVisible());
        QVERIFY(!rig.get("map3(1)"));
    } else {
        QVERIFY(rig.dot(3, 1)->isChecked());
        QVERIFY(rig.dot(5, 6)->isVisible());
        QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character  1"));
        QVERIFY(rig.get("UDC_note")->isVisible());
        QVERIFY(!rig.get("L1H(1)"));
    }
}

// --- start state ------------------------------------------------------------

void tst_Form1::startState()
{
    FormRig rig;
    QCOMPARE(rig.get<QTabWidget>("SSTab1")->currentIndex(), 0);
    QCOMPARE(rig.get<QTabWidget>("SSTab1")->tabText(0), QStringLiteral("Command Setting"));
    QCOMPARE(rig.get<QTabWidget>("SSTab1")->tabText(1), QStringLiteral("Welcome Msg"));
    QCOMPARE(rig.get<QTabWidget>("SSTab1")->tabText(2), QStringLiteral("User Defined Character"));

    for (const char *option : {"Op_L1H", "Op_L2H"})
        QVERIFY(rig.get<QRadioButton>(option)->isChecked());
    for (const char *option : {"Op_L1A", "Op_L2A"})
        QVERIFY(!rig.get<QRadioButton>(option)->isChecked());

    const QStringList line1 = {"2A", "56", "46", "44"};
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(rig.cell("L1H", i)->text(), line1[i - 1]);
    QCOMPARE(rig.cell("L1H", 20)->text(), QStringLiteral("2A"));
    QCOMPARE(rig.cell("L2H", 33)->text(), QStringLiteral("2A"));
    for (int i = 34; i <= 40; ++i)
        QVERIFY(rig.cell("L2H", i)->text().isEmpty());
    for (int i = 1; i <= 40; ++i) {
        QVERIFY(!rig.cell("L2H", i)->isHidden());
        QVERIFY(rig.cell("L2A", i)->isHidden());
        QVERIFY(rig.cell("L2A", i)->text().isEmpty());
    }

    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character  1"));
    QVERIFY(rig.get<QLineEdit>("UDC_TEXT")->text().isEmpty());
    for (int column = 1; column <= 5; ++column)
        for (int row = 0; row < 7; ++row)
            QVERIFY(!rig.dot(column, row)->isChecked());
    QVERIFY(!rig.comm.isPortOpen());
    QVERIFY(rig.comm.calls.isEmpty());
    QVERIFY(rig.prompts.messages.isEmpty());
}

void tst_Form1::startLists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("label");
    QTest::newRow("Char") << "Char"
                          << "USA/Eurpope  (Default)" << 19 << false << "Label1";
    QTest::newRow("Command") << "Command"
                             << "EPSON (Default)" << 10 << false << "Label2";
    QTest::newRow("BaudRate") << "BaudRate"
                              << "9600,n,8,1 (Default)" << 2 << false << "Label3";
    QTest::newRow("Passthru") << "Passthru"
                              << "None     (Default)" << 3 << false << "Label4";
    QTest::newRow("Comm") << "Comm"
                          << "Com 1" << 8 << true << "Label6";
    QTest::newRow("Baud") << "Baud"
                          << "9600,n,8,1" << 2 << true << "Label7";
}

void tst_Form1::startLists()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(bool, editable);
    QFETCH(QString, label);
    FormRig rig;
    QComboBox *box = rig.get<QComboBox>(name);
    QCOMPARE(box->currentText(), text);
    QCOMPARE(box->count(), count);
    QCOMPARE(box->isEditable(), editable);

    // A screen reader names the box by its caption label.
    QAccessibleInterface *captionLabel = QAccessible::queryAccessibleInterface(rig.get(label));
    const auto relations =
        QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
    QVERIFY(std::any_of(relations.cbegin(), relations.cend(),
                        [&](const auto &relation) { return relation.first == captionLabel; }));
}

void tst_Form1::displayListsBindToTheConfiguration_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    using L = DisplaySetting;
    QTest::newRow("Greek CP8859-7") << "Char" << int(L::CharacterSet) << 18 << "Greek CP8859-7";
    QTest::newRow("LogicControl") << "Command" << int(L::CommandSet) << 9 << "LogicControl";
    QTest::newRow("19200") << "BaudRate" << int(L::DisplaySpeed) << 1 << "19200,n,8,1";
    QTest::newRow("without") << "Passthru" << int(L::Passthru) << 2 << "without ESC/POS command";
}

void tst_Form1::displayListsBindToTheConfiguration()
{
    QFETCH(QString, name);
    QFETCH(int, list);
    QFETCH(int, position);
    QFETCH(QString, text);
    FormRig rig;
    QComboBox *box = rig.get<QComboBox>(name);
    box->setCurrentIndex(position);
    QCOMPARE(box->currentText(), text);
    QCOMPARE(rig.form.configuration().listPosition(DisplaySetting(list)), position);

    // And back: the defaults reach the widget.
    rig.click("SetAllDefault");
    QCOMPARE(box->currentIndex(), rig.form.configuration().listPosition(DisplaySetting(list)));
    QVERIFY(box->currentText().contains("(Default)"));
}

void tst_Form1::setAllDefaultKeepsTheLinkChoice()
{
    FormRig rig;
    QComboBox *comm = rig.combo("Comm");
    comm->lineEdit()->selectAll();
    QTest::keyClicks(comm->lineEdit(), "/dev/ttyUSB0");
    rig.combo("Baud")->setCurrentIndex(1);
    rig.combo("Command")->setCurrentIndex(4);
    rig.cell("L1H", 1)->selectAll();
    QTest::keyClicks(rig.cell("L1H", 1), "41");

    rig.click("SetAllDefault");
    QCOMPARE(comm->currentText(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(rig.comboText("Baud"), QStringLiteral("19200,n,8,1"));
    QCOMPARE(rig.comboText("Command"), QStringLiteral("EPSON (Default)"));
    // Defaults leave both lines in the ASCII view with the factory texts.
    QVERIFY(rig.get<QRadioButton>("Op_L1A")->isChecked());
    QVERIFY(rig.cell("L1H", 1)->isHidden());
    QCOMPARE(rig.cell("L1A", 1)->text(), QStringLiteral("*"));
    QCOMPARE(rig.cell("L1A", 2)->text(), QStringLiteral("V"));
    QVERIFY(rig.comm.calls.isEmpty());
}

// --- closing ------------------------------------------------------------------

void tst_Form1::closingClosesAnOpenPort()
{
    FormRig rig;
    rig.form.show();
    rig.comm.setCommPort(1);
    QVERIFY(rig.comm.setPortOpen(true));
    rig.form.close();
    QVERIFY(!rig.comm.isPortOpen());
    QVERIFY(rig.comm.calls.contains("Close"));
    QVERIFY(rig.prompts.messages.isEmpty());
    QVERIFY(rig.prompts.questions.isEmpty());
}

void tst_Form1::closingWithPortClosedDoesNothing()
{
    FormRig rig;
    rig.form.show();
    rig.form.close();
    QVERIFY(rig.comm.calls.isEmpty());
    QVERIFY(rig.prompts.messages.isEmpty());
    QVERIFY(rig.prompts.questions.isEmpty());
}

void tst_Form1::tabFollowsReadingOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("used"); // a control clicked before, or nothing
    QTest::addColumn<QStringList>("order");
    const QStringList band = {"Comm", "Baud", "GetSetting", "Load", "Save", "SSTab1"};
    const QStringList bottom = {"SetAllDefault", "Download"};
    QTest::newRow("Command Setting")
        << 0 << QString() << band + QStringList{"Char", "Command", "BaudRate", "Passthru"} + bottom;
    // Tab reaches the selected view option; the arrow keys choose the other.
    // A message line is one stop, at its first cell or the one last used.
    QTest::newRow("Welcome Msg") << 1 << QString()
                                 << band + QStringList{"CLR_MSG1", "Op_L1H", "L1H(1)",
                                                       "CLR_MSG2", "Op_L2H", "L2H(1)"} +
                                        bottom;
    QTest::newRow("Welcome Msg, a cell used")
        << 1 << "L2H(27)"
        << band + QStringList{"CLR_MSG1", "Op_L1H", "L1H(1)", "CLR_MSG2", "Op_L2H", "L2H(27)"} +
               bottom;
    QTest::newRow("User Defined Character")
        << 2 << QString()
        << band + QStringList{"UDC_UP", "UDC_TEXT", "UDC_NEXT", "map1(0)", "MAP_Clear"} + bottom;
}

void tst_Form1::tabFollowsReadingOrder()
{
    QFETCH(int, page);
    QFETCH(QString, used);
    QFETCH(QStringList, order);
    // The page joins the Tab order as it builds itself.
    FormRig rig(FormRig::Pages::AsShown);
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    rig.get<QTabWidget>("SSTab1")->setCurrentIndex(page);
    if (!used.isEmpty())
        QTest::mouseClick(rig.get(used), Qt::LeftButton);
    // A focused part (a box's line edit, the tab bar) counts as its control.
    const auto nameOf = [](QWidget *widget) {
        while (widget && widget->accessibleDescription().isEmpty())
            widget = widget->parentWidget();
        return widget ? widget->objectName() : QString();
    };
    rig.get("Comm")->setFocus(Qt::TabFocusReason);
    QStringList visited;
    do {
        visited << nameOf(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (nameOf(QApplication::focusWidget()) != "Comm" && visited.size() < 200);
    QCOMPARE(visited, order);
}

void tst_Form1::shortcuts()
{
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    auto *pages = rig.get<QTabWidget>("SSTab1");
    QTest::keyClick(&rig.form, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 1);
    QTest::keyClick(&rig.form, Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(&rig.form, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), pages->count() - 1); // round to the last page
    QTest::keyClick(&rig.form, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&rig.form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(rig.prompts.openFilters.size(), 1);
    QCOMPARE(rig.prompts.saveFilters.size(), 1);
    QVERIFY(rig.get("Load")->toolTip().contains("Ctrl+O"));
    QTest::keyClick(&rig.form, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!rig.form.isVisible());
}

void tst_Form1::undoKeysReachTheHistory()
{
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    rig.combo("Command")->setCurrentIndex(7);
    const QStringList before = rig.snapshot();
    rig.click("CLR_MSG1");
    const QStringList cleared = rig.snapshot();
    QVERIFY(cleared != before);
    QVERIFY(rig.get("CLR_MSG1")->toolTip().contains("Ctrl+Z"));

    // A cell with nothing of its own to take back passes the keys on.
    rig.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
    QLineEdit *cell = rig.cell("L2H", 1);
    cell->setFocus();
    QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.snapshot(), before);
    QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(rig.snapshot(), cleared);

    // An edit inside the cell is the cell's own to take back.
    cell->setCursorPosition(0);
    QTest::keyClick(cell, Qt::Key_Delete);
    QCOMPARE(cell->text(), QStringLiteral("A"));
    QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.snapshot(), cleared);
    QCOMPARE(rig.form.history().stack().index(), 1);
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
