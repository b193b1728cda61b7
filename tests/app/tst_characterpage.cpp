#include <QAccessible>
#include <QTest>

#include "FormRig.h"
#include "app/widgets/DotButton.h"

// The "User Defined Character" page through the window: dots, steps, codes
// and the note while the drawing is not stored.
class tst_CharacterPage : public QObject
{
    Q_OBJECT

private slots:
    void dotsToggleAndStep();
    void badCodeShowsMessageAndStays_data();
    void badCodeShowsMessageAndStays();
    void dotIsTheCharacterHoweverToggled_data();
    void dotIsTheCharacterHoweverToggled();
    void noteWhileTheDrawingIsNotStored();
};

void tst_CharacterPage::dotsToggleAndStep()
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

void tst_CharacterPage::badCodeShowsMessageAndStays_data()
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

void tst_CharacterPage::badCodeShowsMessageAndStays()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    FormRig rig;
    QTest::mouseClick(rig.dot(1, 1), Qt::LeftButton);
    QTest::keyClicks(rig.get<QLineEdit>("UDC_TEXT"), code);
    // The box is emptied once the message is closed, not before it shows.
    QString shownWithMessage;
    rig.prompts.onMessage = [&rig, &shownWithMessage](const QString &) {
        shownWithMessage = rig.get<QLineEdit>("UDC_TEXT")->text();
    };
    rig.click("UDC_NEXT");
    QCOMPARE(shownWithMessage, code);
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

void tst_CharacterPage::dotIsTheCharacterHoweverToggled_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"click", "space key", "code", "assistive tool"})
        QTest::newRow(how) << how;
}

void tst_CharacterPage::dotIsTheCharacterHoweverToggled()
{
    QFETCH(QString, how);
    FormRig rig;
    QPushButton *dot = rig.dot(3, 0);
    if (how == "click") {
        QTest::mouseClick(dot, Qt::LeftButton);
    } else if (how == "space key") {
        QTest::keyClick(dot, Qt::Key_Space);
    } else if (how == "code") {
        dot->setChecked(true);
    } else {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(dot);
        button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    }
    QVERIFY(dot->isChecked());
    QVERIFY(rig.form.configuration().characters().isLit(3, 0));
    // The next step stores what the grid shows.
    QTest::keyClicks(rig.get<QLineEdit>("UDC_TEXT"), "41");
    rig.click("UDC_NEXT");
    QCOMPARE(rig.form.configuration().image().at(72), quint8(0x01));
}

void tst_CharacterPage::noteWhileTheDrawingIsNotStored()
{
    FormRig rig;
    auto *note = rig.get<QLabel>("UDC_note");
    QVERIFY(note->isHidden());
    QTest::mouseClick(rig.dot(2, 2), Qt::LeftButton);
    QVERIFY(!note->isHidden());
    QVERIFY(note->text().startsWith("Not stored yet"));
    QTest::mouseClick(rig.dot(2, 2), Qt::LeftButton); // the screen is the record again
    QVERIFY(note->isHidden());

    QTest::mouseClick(rig.dot(2, 2), Qt::LeftButton);
    QTest::keyClicks(rig.get<QLineEdit>("UDC_TEXT"), "41");
    QCOMPARE(note->text(), QStringLiteral("Not stored yet: press >> to keep this character"));
    rig.click("UDC_NEXT");
    rig.click("UDC_UP");
    QVERIFY(note->isHidden());
    // The caption says which character is shown.
    QCOMPARE(QAccessible::queryAccessibleInterface(rig.get("UDC_label"))->text(QAccessible::Name),
             QStringLiteral("User Defined Character 1"));
}

QTEST_MAIN(tst_CharacterPage)
#include "tst_characterpage.moc"
