#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "FormRig.h"

// The window's controls: how they are named, captioned and laid out, and
// the pages that build themselves when first shown.
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

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
