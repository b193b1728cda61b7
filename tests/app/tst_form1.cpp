#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "FormRig.h"
#include "app/widgets/DotButton.h"

// The window: its controls, its start state and how its widgets reach the
// configuration behind them.
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
    void shownWindowCompletesItself_data();
    void shownWindowCompletesItself();
    void startState();
    void startLists_data();
    void startLists();
    void typingReachesTheModel();
    void asciiCellAcceptsOnlyCodePageCharacters_data();
    void asciiCellAcceptsOnlyCodePageCharacters();
    void viewButtonsSwitchCellsAndRulers_data();
    void viewButtonsSwitchCellsAndRulers();
    void clearEmptiesTheShownView();
    void displayListsBindToTheConfiguration_data();
    void displayListsBindToTheConfiguration();
    void setAllDefaultKeepsTheLinkChoice();
    void dotsToggleAndStep();
    void badCodeShowsMessageAndStays_data();
    void badCodeShowsMessageAndStays();
    void closingClosesAnOpenPort();
    void closingWithPortClosedDoesNothing();
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
    QCOMPARE(rig.form.size(), QSize(631, 631));
    QCOMPARE(rig.form.minimumSize(), rig.form.maximumSize());
    QCOMPARE(rig.form.font().family(), QStringLiteral("Arial"));
    QVERIFY(rig.form.font().bold());
    QCOMPARE(rig.form.font().pointSizeF(), 10.5);
    // The whole window uses that font.
    QCOMPARE(rig.get("L2H(40)")->font(), rig.form.font());
}

void tst_Form1::shownWindowCompletesItself_data()
{
    QTest::addColumn<bool>("chooseAPage");
    QTest::newRow("after the first paint") << false;
    QTest::newRow("when a page is chosen") << true;
}

void tst_Form1::shownWindowCompletesItself()
{
    QFETCH(bool, chooseAPage);
    FakeTicks ticks;
    FakeComm comm(&ticks);
    FakePrompts prompts;
    Form1 form(comm, ticks, prompts);
    // Settings reach the model even before the later pages exist.
    form.configuration().line1().setHexText(1, QStringLiteral("41"));
    if (chooseAPage) {
        form.findChild<QTabWidget *>("SSTab1")->setCurrentIndex(2);
        QVERIFY(form.isComplete());
    } else {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(form.isComplete());
    }
    auto *cell = form.findChild<QLineEdit *>("L1H(1)");
    QVERIFY(cell);
    QCOMPARE(cell->text(), QStringLiteral("41"));
    QVERIFY(!cell->isHidden());
    QVERIFY(form.findChild<QLineEdit *>("L1A(1)")->isHidden());
    QVERIFY(!form.findChild<QWidget *>("Label_L1H1(0)")->isHidden());
    QVERIFY(form.findChild<QWidget *>("Label_L1A1(0)")->isHidden());
    QVERIFY(!form.findChild<QWidget *>("map5(6)")->isHidden());
    QCOMPARE(form.findChild<QLabel *>("UDC_label")->text(),
             QStringLiteral("User Defined Character  1"));
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
    QTest::newRow("Char") << "Char"
                          << "USA/Eurpope  (Default)" << 19 << false;
    QTest::newRow("Command") << "Command"
                             << "EPSON (Default)" << 10 << false;
    QTest::newRow("BaudRate") << "BaudRate"
                              << "9600,n,8,1 (Default)" << 2 << false;
    QTest::newRow("Passthru") << "Passthru"
                              << "None     (Default)" << 3 << false;
    QTest::newRow("Comm") << "Comm"
                          << "Com 1" << 8 << true;
    QTest::newRow("Baud") << "Baud"
                          << "9600,n,8,1" << 2 << true;
}

void tst_Form1::startLists()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(bool, editable);
    FormRig rig;
    QComboBox *box = rig.get<QComboBox>(name);
    QCOMPARE(box->currentText(), text);
    QCOMPARE(box->count(), count);
    QCOMPARE(box->isEditable(), editable);
}

// --- message cells ------------------------------------------------------------

void tst_Form1::typingReachesTheModel()
{
    FormRig rig;
    QLineEdit *hex = rig.cell("L1H", 3);
    hex->selectAll();
    QTest::keyClicks(hex, "7e");
    QCOMPARE(rig.form.configuration().line1().hexText(3), QStringLiteral("7e"));
    // A third character does not fit.
    QTest::keyClicks(hex, "1");
    QCOMPARE(hex->text(), QStringLiteral("7e"));

    // The typed pair goes into the image with the next assembly (a save).
    QTemporaryDir dir;
    rig.prompts.saveAnswers << dir.filePath("typed.vfd");
    rig.click("Save");
    QFile file(dir.filePath("typed.vfd"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(quint8(file.readAll().at(8)), quint8(0x7E)); // image byte 9 = cell 3

    rig.click("Op_L1A");
    QLineEdit *ascii = rig.cell("L1A", 5);
    ascii->selectAll();
    QTest::keyClicks(ascii, "Q");
    QCOMPARE(rig.form.configuration().line1().asciiText(5), QStringLiteral("Q"));
    QCOMPARE(rig.cell("L1A", 3)->text(), QStringLiteral("~"));
}

void tst_Form1::asciiCellAcceptsOnlyCodePageCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("letter") << "Z" << true;
    QTest::newRow("blank") << " " << true;
    QTest::newRow("latin-1 e acute") << QString(QChar(0xE9)) << true;
    QTest::newRow("A macron") << QString(QChar(0x0100)) << false;
    QTest::newRow("cjk") << QString(QChar(0x4E2D)) << false;
    QTest::newRow("snowman") << QString(QChar(0x2603)) << false;
}

void tst_Form1::asciiCellAcceptsOnlyCodePageCharacters()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    FormRig rig;
    rig.click("Op_L2A");
    QLineEdit *cell = rig.cell("L2A", 40); // empty after the defaults
    QVERIFY(cell->text().isEmpty());
    cell->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
    QApplication::sendEvent(cell, &press);
    QCOMPARE(cell->text(), accepted ? typed : QString());
    QCOMPARE(rig.form.configuration().line2().asciiText(40), accepted ? typed : QString());
}

void tst_Form1::viewButtonsSwitchCellsAndRulers_data()
{
    QTest::addColumn<int>("line");
    QTest::newRow("line 1") << 1;
    QTest::newRow("line 2") << 2;
}

void tst_Form1::viewButtonsSwitchCellsAndRulers()
{
    QFETCH(int, line);
    FormRig rig;
    const QByteArray l = "L" + QByteArray::number(line);
    const QByteArray other = line == 1 ? "L2" : "L1";
    const int cells = line == 1 ? 20 : 40;
    const int rulers = line == 1 ? 5 : 10;
    const auto shown = [&](const QByteArray &array, QChar view) {
        int count = 0;
        for (int i = 1; i <= 40; ++i)
            if (QWidget *w = rig.cell((array + view.toLatin1()).constData(), i))
                count += !w->isHidden();
        for (int i = 0; i < 10; ++i)
            if (QWidget *w = rig.get(QStringLiteral("Label_%1%2%3(%4)")
                                         .arg(QLatin1String(array))
                                         .arg(view)
                                         .arg(1)
                                         .arg(i)))
                count += !w->isHidden();
        return count;
    };

    rig.click(("Op_" + l + "A").constData());
    QCOMPARE(shown(l, 'A'), cells + rulers);
    QCOMPARE(shown(l, 'H'), 0);
    QVERIFY(rig.get<QRadioButton>(("Op_" + l + "A").constData())->isChecked());
    QVERIFY(!rig.get<QRadioButton>(("Op_" + l + "H").constData())->isChecked());
    QCOMPARE(rig.cell((l + "A").constData(), 1)->text(), QStringLiteral("*"));
    QVERIFY(rig.cell((l + "H").constData(), 1)->text().isEmpty());
    QCOMPARE(rig.form.configuration().image().at(1), quint8(0)); // nothing assembled
    // The other line keeps its view.
    QCOMPARE(shown(other, 'H'), (line == 1 ? 40 : 20) + (line == 1 ? 10 : 5));

    // Clicking the shown view again changes nothing.
    const QStringList before = rig.snapshot();
    rig.click(("Op_" + l + "A").constData());
    QCOMPARE(rig.snapshot(), before);

    rig.click(("Op_" + l + "H").constData());
    QCOMPARE(shown(l, 'H'), cells + rulers);
    QCOMPARE(shown(l, 'A'), 0);
    QCOMPARE(rig.cell((l + "H").constData(), 1)->text(), QStringLiteral("2A"));
    // Line 1's second cell shows "V" again; line 2's shows "*" as before.
    QCOMPARE(rig.cell((l + "H").constData(), 2)->text(),
             line == 1 ? QStringLiteral("56") : QStringLiteral("2A"));
}

void tst_Form1::clearEmptiesTheShownView()
{
    FormRig rig;
    rig.click("CLR_MSG1");
    for (int i = 1; i <= 20; ++i)
        QVERIFY(rig.cell("L1H", i)->text().isEmpty());
    QVERIFY(rig.get<QRadioButton>("Op_L1H")->isChecked());
    QCOMPARE(rig.cell("L2H", 1)->text(), QStringLiteral("2A")); // line 2 untouched

    rig.click("Op_L2A");
    rig.click("CLR_MSG2");
    for (int i = 1; i <= 40; ++i)
        QVERIFY(rig.cell("L2A", i)->text().isEmpty());
    QVERIFY(rig.get<QRadioButton>("Op_L2A")->isChecked());
}

void tst_Form1::displayListsBindToTheConfiguration_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    using L = Configuration::DisplayList;
    QTest::newRow("Greek CP8859-7") << "Char" << int(L::Char) << 18 << "Greek CP8859-7";
    QTest::newRow("LogicControl") << "Command" << int(L::Command) << 9 << "LogicControl";
    QTest::newRow("19200") << "BaudRate" << int(L::BaudRate) << 1 << "19200,n,8,1";
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
    QCOMPARE(rig.form.configuration().listPosition(Configuration::DisplayList(list)), position);

    // And back: the defaults reach the widget.
    rig.click("SetAllDefault");
    QCOMPARE(box->currentIndex(),
             rig.form.configuration().listPosition(Configuration::DisplayList(list)));
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

// --- character editor -------------------------------------------------------

void tst_Form1::dotsToggleAndStep()
{
    FormRig rig;
    auto *top = qobject_cast<DotButton *>(rig.dot(3, 0));
    QVERIFY(top);
    QTest::mouseClick(top, Qt::LeftButton);
    QVERIFY(top->isChecked());
    QVERIFY(rig.form.configuration().characters().isLit(3, 0));
    QCOMPARE(top->fillColor(), top->palette().color(QPalette::WindowText));
    QTest::mouseClick(rig.dot(5, 6), Qt::LeftButton);
    QTest::mouseClick(rig.dot(5, 6), Qt::LeftButton); // twice: dark again
    QVERIFY(!rig.dot(5, 6)->isChecked());
    QVERIFY(!rig.form.configuration().characters().isLit(5, 6));

    QLineEdit *code = rig.get<QLineEdit>("UDC_TEXT");
    QTest::keyClicks(code, "41");
    rig.click("UDC_NEXT");
    const SettingsImage &image = rig.form.configuration().image();
    const QList<quint8> record = {image.at(69), image.at(70), image.at(71),
                                  image.at(72), image.at(73), image.at(74)};
    QCOMPARE(record, (QList<quint8>{0x41, 0x00, 0x00, 0x01, 0x00, 0x00}));
    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character 2"));
    QVERIFY(code->text().isEmpty());
    QVERIFY(!top->isChecked());

    rig.click("UDC_UP");
    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character 1"));
    QCOMPARE(code->text(), QStringLiteral("41"));
    QVERIFY(top->isChecked());

    // Clear darkens the grid and keeps the code text; UP on 1 does nothing.
    rig.click("MAP_Clear");
    QVERIFY(!top->isChecked());
    QCOMPARE(code->text(), QStringLiteral("41"));
    rig.click("UDC_UP");
    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character 1"));
    QCOMPARE(image.at(72), quint8(0x01)); // not stored by the ignored press
    QVERIFY(rig.prompts.messages.isEmpty());
}

void tst_Form1::badCodeShowsMessageAndStays_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("G1") << "G1"
                        << "Hex Value Error !!";
    QTest::newRow("1G") << "1G"
                        << "Hex Value Error !!";
    QTest::newRow("5") << "5"
                       << "Error !! Range is 0x20~0x7E !!";
    QTest::newRow("7F") << "7F"
                        << "Error !! Range is 0x20~0x7E !!";
}

void tst_Form1::badCodeShowsMessageAndStays()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    FormRig rig;
    QTest::mouseClick(rig.dot(1, 1), Qt::LeftButton);
    QTest::keyClicks(rig.get<QLineEdit>("UDC_TEXT"), code);
    rig.click("UDC_NEXT");
    QCOMPARE(rig.prompts.messages.size(), 1);
    QCOMPARE(rig.prompts.messages[0].text, message);
    QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("VFD"));
    QVERIFY(rig.get<QLineEdit>("UDC_TEXT")->text().isEmpty());
    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character  1"));
    QVERIFY(rig.dot(1, 1)->isChecked());
    QCOMPARE(rig.form.configuration().image().at(69), quint8(0));

    // The emptied text lets a second press step on without storing.
    rig.click("UDC_NEXT");
    QCOMPARE(rig.prompts.messages.size(), 1);
    QCOMPARE(rig.get<QLabel>("UDC_label")->text(), QStringLiteral("User Defined Character 2"));
    QCOMPARE(rig.form.configuration().image().at(70), quint8(0));
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

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
