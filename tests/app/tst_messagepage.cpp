#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include "FormRig.h"
#include "app/widgets/GlassView.h"

// The "Welcome Msg" page through the window: the cells show the lines and
// hand every change back, the view options, typing across the cells.
class tst_MessagePage : public QObject
{
    Q_OBJECT

private slots:
    void typingReachesTheModel();
    void asciiCellAcceptsOnlyCodePageCharacters_data();
    void asciiCellAcceptsOnlyCodePageCharacters();
    void viewButtonsSwitchCellsAndRulers_data();
    void viewButtonsSwitchCellsAndRulers();
    void clearEmptiesTheShownView();
    void optionRunsItsHandlerHoweverSelected_data();
    void optionRunsItsHandlerHoweverSelected();
    void cellTextIsTheLineHoweverSet_data();
    void cellTextIsTheLineHoweverSet();
    void typingAndPastingRunAcrossCells_data();
    void typingAndPastingRunAcrossCells();
    void steppedUserCharacterChangesThePreview();
};

void tst_MessagePage::typingReachesTheModel()
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

void tst_MessagePage::asciiCellAcceptsOnlyCodePageCharacters_data()
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

void tst_MessagePage::asciiCellAcceptsOnlyCodePageCharacters()
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

void tst_MessagePage::viewButtonsSwitchCellsAndRulers_data()
{
    QTest::addColumn<int>("line");
    QTest::newRow("line 1") << 1;
    QTest::newRow("line 2") << 2;
}

void tst_MessagePage::viewButtonsSwitchCellsAndRulers()
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

void tst_MessagePage::clearEmptiesTheShownView()
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

void tst_MessagePage::optionRunsItsHandlerHoweverSelected_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"click", "arrow key", "code", "assistive tool"})
        QTest::newRow(how) << how;
}

void tst_MessagePage::optionRunsItsHandlerHoweverSelected()
{
    QFETCH(QString, how);
    FormRig rig;
    auto *ascii = rig.get<QRadioButton>("Op_L2A");
    if (how == "click") {
        QTest::mouseClick(ascii, Qt::LeftButton);
    } else if (how == "arrow key") {
        rig.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&rig.form));
        rig.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
        rig.get("Op_L2H")->setFocus();
        QTest::keyClick(rig.get("Op_L2H"), Qt::Key_Up);
    } else if (how == "code") {
        ascii->setChecked(true);
    } else {
        QAccessibleInterface *option = QAccessible::queryAccessibleInterface(ascii);
        option->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    }
    QVERIFY(ascii->isChecked());
    QCOMPARE(rig.form.configuration().line2().view(), MessageLine::View::Ascii);
    QCOMPARE(rig.cell("L2A", 1)->text(), QStringLiteral("*"));
    QVERIFY(!rig.cell("L2A", 1)->isHidden());
    QVERIFY(rig.cell("L2H", 1)->isHidden());
}

void tst_MessagePage::cellTextIsTheLineHoweverSet_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<bool>("byAssistiveTool");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("byte");
    QTest::newRow("hex, typed") << true << false << "7e"
                                << "7e" << 0x7E;
    QTest::newRow("hex, set by an assistive tool") << true << true << "7e"
                                                   << "7e" << 0x7E;
    QTest::newRow("ASCII, set by an assistive tool") << false << true << "~"
                                                     << "~" << 0x7E;
    // The line refuses a non-digit; the cell keeps the factory "F".
    QTest::newRow("hex non-digit, set by an assistive tool") << true << true << "g2"
                                                             << "46" << 0x46;
}

void tst_MessagePage::cellTextIsTheLineHoweverSet()
{
    QFETCH(bool, hex);
    QFETCH(bool, byAssistiveTool);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, byte);
    FormRig rig;
    if (!hex)
        rig.click("Op_L1A");
    QLineEdit *cell = rig.cell(hex ? "L1H" : "L1A", 3);
    if (byAssistiveTool) {
        QAccessible::queryAccessibleInterface(cell)->setText(QAccessible::Value, text);
    } else {
        cell->selectAll();
        QTest::keyClicks(cell, text);
    }
    QCOMPARE(cell->text(), shown);
    // What the cell shows is what the next download or save sends.
    rig.form.configuration().AssembleImage();
    QCOMPARE(rig.form.configuration().image().at(9), quint8(byte)); // line 1, cell 3
}

void tst_MessagePage::typingAndPastingRunAcrossCells_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("line"); // cells 1 to 20 of line 1, joined
    QTest::addColumn<int>("focused");
    QTest::addColumn<bool>("clicked"); // into the first cell, after its text
    const QString factory = "*VFD DISPLAY TQ-540*";
    QTest::newRow("hex pairs run on and type over")
        << true << 2 << "414243" << QString() << "2A4142432044495350" << 5 << false;
    QTest::newRow("characters run on, backspace goes back")
        << false << 1 << "Hi\b" << QString() << "H" + factory.mid(2) << 2 << false;
    QTest::newRow("pasted text stops at the line's end")
        << false << 18 << QString() << "ABCDEF" << factory.left(17) + "ABC" << 20 << false;
    QTest::newRow("pasted pairs skip blanks") << true << 1 << QString() << "41 42\n43"
                                              << "414243442044" << 4 << false;
    // A click stays in the cell it hit: typing goes over a full cell's text.
    QTest::newRow("click after a full character")
        << false << 1 << "X" << QString() << "XVFD" << 2 << true;
    QTest::newRow("click after a full pair")
        << true << 2 << "7" << QString() << "2A5746" << 3 << true;
}

void tst_MessagePage::typingAndPastingRunAcrossCells()
{
    QFETCH(bool, hex);
    QFETCH(int, from);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, line);
    QFETCH(int, focused);
    QFETCH(bool, clicked);
    FormRig rig;
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    rig.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
    if (!hex)
        rig.click("Op_L1A");
    const char *array = hex ? "L1H" : "L1A";
    QLineEdit *first = rig.cell(array, from);
    if (clicked) {
        QTest::mouseClick(first, Qt::LeftButton, {},
                          QPoint(first->width() - 2, first->height() / 2));
    } else {
        first->setFocus();
        first->setCursorPosition(0);
    }
    for (const QChar c : typed) {
        if (c == '\b')
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        else
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
    }
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
    }

    QString cells;
    for (int i = 1; i <= 20; ++i)
        cells += rig.cell(array, i)->text();
    QCOMPARE(cells.left(line.size()), line);
    QCOMPARE(QApplication::focusWidget(), rig.cell(array, focused));
}

namespace {

QString spoken(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

} // namespace

void tst_MessagePage::steppedUserCharacterChangesThePreview()
{
    FormRig rig;
    rig.click("Op_L1A");
    QLineEdit *cell = rig.cell("L1A", 1);
    cell->selectAll();
    QTest::keyClicks(cell, "A");
    auto *preview = rig.get<GlassView>("WelcomePreview");
    preview->resize(preview->size()); // laid out as on screen
    const QImage before = preview->picture();
    QVERIFY(spoken(preview).startsWith("Glass preview : row 1 \"AVFD DISPLAY TQ-540*\""));
    QVERIFY(!spoken(preview).contains("User Defined Character"));

    // Drawn on the character page and stored by stepping to the next one.
    auto *code = rig.get<QLineEdit>("UDC_TEXT");
    code->setText("41");
    emit code->textEdited("41");
    rig.dot(3, 3)->click();
    rig.click("UDC_NEXT");

    QCOMPARE(preview->glass().rows.at(0).at(0).kind, GlassText::Kind::User);
    QVERIFY(spoken(preview).contains("User Defined Character 1 at 0x41: row 1, columns 1, 11;"));
    QVERIFY(preview->picture() != before);
}

QTEST_MAIN(tst_MessagePage)
#include "tst_messagepage.moc"
