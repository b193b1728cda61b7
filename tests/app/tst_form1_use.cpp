#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "FormRig.h"
#include "app/ChangeHistory.h"

// The window in use: its start state, the command page's lists, closing,
// and the keyboard.
class tst_Form1Use : public QObject
{
    Q_OBJECT

private slots:
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

// --- start state ------------------------------------------------------------

void tst_Form1Use::startState()
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

void tst_Form1Use::startLists_data()
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

void tst_Form1Use::startLists()
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

void tst_Form1Use::displayListsBindToTheConfiguration_data()
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

void tst_Form1Use::displayListsBindToTheConfiguration()
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

void tst_Form1Use::setAllDefaultKeepsTheLinkChoice()
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

void tst_Form1Use::closingClosesAnOpenPort()
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

void tst_Form1Use::closingWithPortClosedDoesNothing()
{
    FormRig rig;
    rig.form.show();
    rig.form.close();
    QVERIFY(rig.comm.calls.isEmpty());
    QVERIFY(rig.prompts.messages.isEmpty());
    QVERIFY(rig.prompts.questions.isEmpty());
}

void tst_Form1Use::tabFollowsReadingOrder_data()
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

void tst_Form1Use::tabFollowsReadingOrder()
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

void tst_Form1Use::shortcuts()
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

void tst_Form1Use::undoKeysReachTheHistory()
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

QTEST_MAIN(tst_Form1Use)
#include "tst_form1_use.moc"
