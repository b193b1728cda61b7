#include <QPoint>
#include <QSignalSpy>
#include <QTest>

#include "editors/CharacterEditor.h"
#include "messages/CharacterMessages.h"

using Step = CharacterEditor::Step;
using Fault = CharacterEditor::CodeFault;
using WorkingCopy = CharacterEditor::WorkingCopy;

namespace {


QByteArray record(const SettingsImage &image, int number)
{
    QByteArray bytes;
    for (int k = 0; k < ImageLayout::RecordSize; ++k)
        bytes.append(char(image.at(ImageLayout::recordPosition(number) + k)));
    return bytes;
}

void setRecord(SettingsImage &image, int number, const QByteArray &bytes)
{
    for (int k = 0; k < ImageLayout::RecordSize; ++k)
        image.set(ImageLayout::recordPosition(number) + k, quint8(bytes.at(k)));
}

int litCount(const CharacterEditor &editor)
{
    int count = 0;
    for (int column = 1; column <= CharacterEditor::Columns; ++column)
        for (int row = 0; row < CharacterEditor::Rows; ++row)
            count += editor.isLit(column, row) ? 1 : 0;
    return count;
}

} // namespace

class TestCharacterEditor : public QObject
{
    Q_OBJECT

private slots:
    void readCode_data();
    void readCode();
    void startsOnFirstCharacter();
    void storesAndComesBack();
    void step_data();
    void step();
    void failedTextThenSecondPress();
    void ignoredAtEnds_data();
    void ignoredAtEnds();
    void bitSevenIgnoredAndCleared();
    void smallCodeShownCompact();
    void dotsAndClear();
    void noteWhileScreenDiffersFromRecord_data();
    void noteWhileScreenDiffersFromRecord();
    void returnToFirst_data();
    void returnToFirst();
};

void TestCharacterEditor::readCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("code");

    QTest::newRow("41") << "41" << Fault::None << 0x41;
    QTest::newRow("7e") << "7e" << Fault::None << 0x7E;
    QTest::newRow("20") << "20" << Fault::None << 0x20;
    QTest::newRow("7E") << "7E" << Fault::None << 0x7E;
    QTest::newRow("1F") << "1F" << Fault::OutOfRange << 0;
    QTest::newRow("7F") << "7F" << Fault::OutOfRange << 0;
    QTest::newRow("FF") << "FF" << Fault::OutOfRange << 0;
    QTest::newRow("5") << "5" << Fault::OutOfRange << 0;
    QTest::newRow("G") << "G" << Fault::NotHex << 0;
    QTest::newRow("G1") << "G1" << Fault::NotHex << 0;
    QTest::newRow("1G") << "1G" << Fault::NotHex << 0;
    QTest::newRow("GG") << "GG" << Fault::NotHex << 0;
    QTest::newRow("arabic-indic digits") << QString(2, QChar(0x0663)) << Fault::NotHex << 0;
    QTest::newRow("empty") << "" << Fault::NotHex << 0;
}

void TestCharacterEditor::readCode()
{
    QFETCH(QString, text);
    QFETCH(Fault, fault);
    QFETCH(int, code);

    const CharacterEditor::CodeReading reading = CharacterEditor::readCode(text);
    QCOMPARE(reading.fault, fault);
    if (fault == Fault::None)
        QCOMPARE(int(reading.code), code);
}

void TestCharacterEditor::startsOnFirstCharacter()
{
    SettingsImage image;
    CharacterEditor editor(image);
    QCOMPARE(editor.number(), 1);
    QCOMPARE(editor.position(), 69);
    QVERIFY(editor.startUpCaption());
    QVERIFY(editor.codeText().isEmpty());
    QCOMPARE(litCount(editor), 0);
    QCOMPARE(CharacterMessages::stepMessage(Step::HexValueError),
             QStringLiteral("Hex Value Error !!"));
    QCOMPARE(CharacterMessages::stepMessage(Step::RangeError),
             QStringLiteral("Error !! Range is 0x20~0x7E !!"));
    QVERIFY(CharacterMessages::stepMessage(Step::Taken).isEmpty());
    QVERIFY(CharacterMessages::stepMessage(Step::Ignored).isEmpty());
}

void TestCharacterEditor::storesAndComesBack()
{
    SettingsImage image;
    setRecord(image, 2, QByteArray::fromHex("7E0102040810"));
    CharacterEditor editor(image);
    editor.setCodeText(QStringLiteral("41"));
    editor.toggleDot(3, 0);

    QCOMPARE(editor.stepNext(), Step::Taken);
    QCOMPARE(record(image, 1), QByteArray::fromHex("410000010000"));
    QCOMPARE(editor.number(), 2);
    QCOMPARE(editor.position(), 75);
    QVERIFY(!editor.startUpCaption());
    QCOMPARE(editor.codeText(), QStringLiteral("7E"));
    QCOMPARE(litCount(editor), 5);
    QVERIFY(editor.isLit(1, 0) && editor.isLit(5, 4));

    QCOMPARE(editor.stepPrevious(), Step::Taken);
    QCOMPARE(editor.number(), 1);
    QVERIFY(!editor.startUpCaption());
    QCOMPARE(editor.codeText(), QStringLiteral("41"));
    QCOMPARE(litCount(editor), 1);
    QVERIFY(editor.isLit(3, 0));
    QCOMPARE(record(image, 2), QByteArray::fromHex("7E0102040810"));
}

void TestCharacterEditor::step_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Step>("result");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shownAgain");

    const QByteArray old = QByteArray::fromHex("3005050505FF");
    QTest::newRow("valid") << "41" << Step::Taken << QByteArray::fromHex("41007F000000") << "41";
    QTest::newRow("lower case") << "7e" << Step::Taken << QByteArray::fromHex("7E007F000000")
                                << "7E";
    QTest::newRow("empty keeps record") << "" << Step::Taken << old << "30";
    QTest::newRow("range") << "1F" << Step::RangeError << old << "";
    QTest::newRow("hex") << "G" << Step::HexValueError << old << "";
}

void TestCharacterEditor::step()
{
    QFETCH(QString, text);
    QFETCH(Step, result);
    QFETCH(QByteArray, stored);
    QFETCH(QString, shownAgain);

    SettingsImage image;
    setRecord(image, 4, QByteArray::fromHex("3005050505FF"));
    CharacterEditor editor(image);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(editor.stepNext(), Step::Taken);
    QCOMPARE(editor.number(), 4);
    editor.clearGrid();
    for (int row = 0; row < CharacterEditor::Rows; ++row)
        editor.toggleDot(2, row);
    editor.setCodeText(text);

    const SettingsImage before = image;
    QCOMPARE(editor.stepPrevious(), result);
    QCOMPARE(record(image, 4), stored);
    if (result == Step::Taken) {
        QCOMPARE(editor.number(), 3);
        QVERIFY(!editor.startUpCaption());
        QCOMPARE(editor.stepNext(), Step::Taken);
        QCOMPARE(editor.codeText(), shownAgain);
    } else {
        QCOMPARE(image, before);
        QCOMPARE(editor.number(), 4);
        QVERIFY(!editor.startUpCaption());
        QVERIFY(editor.codeText().isEmpty());
        QCOMPARE(litCount(editor), 7);
    }
}

void TestCharacterEditor::failedTextThenSecondPress()
{
    SettingsImage image;
    CharacterEditor editor(image);
    editor.toggleDot(1, 1);
    editor.setCodeText(QStringLiteral("G1"));

    QSignalSpy changed(&editor, &CharacterEditor::changed);
    QCOMPARE(editor.stepNext(), Step::HexValueError);
    QCOMPARE(changed.count(), 1);
    QVERIFY(editor.codeText().isEmpty());
    QCOMPARE(editor.number(), 1);
    QVERIFY(editor.startUpCaption());

    QCOMPARE(editor.stepNext(), Step::Taken);
    QCOMPARE(editor.number(), 2);
    QCOMPARE(image, SettingsImage());
}

void TestCharacterEditor::ignoredAtEnds_data()
{
    QTest::addColumn<bool>("forward");
    QTest::newRow("next on 9") << true;
    QTest::newRow("previous on 1") << false;
}

void TestCharacterEditor::ignoredAtEnds()
{
    QFETCH(bool, forward);

    SettingsImage image;
    CharacterEditor editor(image);
    if (forward) {
        while (editor.number() < CharacterEditor::LastNumber)
            QCOMPARE(editor.stepNext(), Step::Taken);
    }
    const int number = editor.number();
    const bool startUpCaption = editor.startUpCaption();
    editor.setCodeText(QStringLiteral("G")); // would fail if it were read
    editor.toggleDot(5, 6);

    QSignalSpy changed(&editor, &CharacterEditor::changed);
    QCOMPARE(forward ? editor.stepNext() : editor.stepPrevious(), Step::Ignored);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(editor.number(), number);
    QCOMPARE(editor.startUpCaption(), startUpCaption);
    QCOMPARE(editor.codeText(), QStringLiteral("G"));
    QVERIFY(editor.isLit(5, 6));
    QCOMPARE(image, SettingsImage());
}

void TestCharacterEditor::bitSevenIgnoredAndCleared()
{
    SettingsImage image;
    setRecord(image, 1, QByteArray::fromHex("418180FF007F"));
    CharacterEditor editor(image);
    editor.map_reset();
    QCOMPARE(litCount(editor), 1 + 7 + 7);
    QVERIFY(editor.isLit(1, 0));
    QVERIFY(!editor.isLit(2, 6));

    QCOMPARE(editor.stepNext(), Step::Taken);
    QCOMPARE(record(image, 1), QByteArray::fromHex("4101007F007F"));
}

void TestCharacterEditor::smallCodeShownCompact()
{
    SettingsImage image;
    setRecord(image, 1, QByteArray::fromHex("050000000000"));
    CharacterEditor editor(image);
    editor.map_reset();
    QCOMPARE(editor.codeText(), QStringLiteral("5"));
    QVERIFY(editor.startUpCaption());
    QCOMPARE(editor.stepNext(), Step::RangeError);
    QCOMPARE(editor.number(), 1);
}

void TestCharacterEditor::dotsAndClear()
{
    SettingsImage image;
    setRecord(image, 1, QByteArray::fromHex("000102030405"));
    CharacterEditor editor(image);
    QSignalSpy changed(&editor, &CharacterEditor::changed);

    editor.toggleDot(2, 3);
    QVERIFY(editor.isLit(2, 3));
    editor.toggleDot(2, 3);
    QVERIFY(!editor.isLit(2, 3));
    QCOMPARE(changed.count(), 2);

    editor.toggleDot(0, 0); // outside the grid: nothing happens
    editor.toggleDot(6, 0);
    editor.toggleDot(1, 7);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(litCount(editor), 0);

    editor.setCodeText(QStringLiteral("4142"));
    QCOMPARE(editor.codeText(), QStringLiteral("41"));
    editor.toggleDot(4, 4);
    editor.clearGrid();
    QCOMPARE(litCount(editor), 0);
    QCOMPARE(editor.codeText(), QStringLiteral("41"));
    QCOMPARE(record(image, 1), QByteArray::fromHex("000102030405"));

    QCOMPARE(editor.stepNext(), Step::Taken);
    QCOMPARE(record(image, 1), QByteArray::fromHex("410000000000"));
}

void TestCharacterEditor::returnToFirst_data()
{
    QTest::addColumn<WorkingCopy>("workingCopy");
    QTest::newRow("emptied") << WorkingCopy::Emptied;
    QTest::newRow("redrawn") << WorkingCopy::Redrawn;
}

void TestCharacterEditor::returnToFirst()
{
    QFETCH(WorkingCopy, workingCopy);
    const bool redraw = workingCopy == WorkingCopy::Redrawn;

    SettingsImage image;
    setRecord(image, 1, QByteArray::fromHex("2A4000000000"));
    CharacterEditor editor(image);
    for (int k = 0; k < 3; ++k)
        editor.stepNext();
    editor.setCodeText(QStringLiteral("33"));
    editor.toggleDot(3, 3);
    const SettingsImage before = image;

    QSignalSpy changed(&editor, &CharacterEditor::changed);
    editor.returnToFirst(workingCopy);
    QVERIFY(changed.count() >= 1);
    QCOMPARE(editor.number(), 1);
    QCOMPARE(editor.position(), 69);
    QVERIFY(editor.startUpCaption());
    QCOMPARE(image, before);
    QCOMPARE(editor.codeText(), redraw ? QStringLiteral("2A") : QString());
    QCOMPARE(litCount(editor), redraw ? 1 : 0);
    QCOMPARE(editor.isLit(1, 6), redraw);
}

void TestCharacterEditor::noteWhileScreenDiffersFromRecord_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("record");  // of that character, as hex
    QTest::addColumn<QString>("typed");      // code text typed; null: untouched
    QTest::addColumn<QList<QPoint>>("dots"); // toggled (column, row)
    QTest::addColumn<QString>("note");
    const QString keep = QStringLiteral("Not stored yet: press %1 to keep this character");
    const QString code =
        QStringLiteral("Not stored yet: give it a code (0x20~0x7E), then press %1");
    using Dots = QList<QPoint>;
    QTest::newRow("as loaded") << 1 << QByteArray("410001000000") << QString() << Dots{} << "";
    QTest::newRow("dot drawn") << 1 << QByteArray("410001000000") << QString() << Dots{{1, 0}}
                               << keep.arg(">>");
    QTest::newRow("dot drawn and taken back")
        << 5 << QByteArray("410001000000") << QString() << Dots{{1, 0}, {1, 0}} << "";
    QTest::newRow("code changed") << 5 << QByteArray("410001000000") << "42" << Dots{}
                                  << keep.arg("<< or >>");
    QTest::newRow("code in lower case") << 9 << QByteArray("7E0001000000") << "7e" << Dots{} << "";
    QTest::newRow("drawing without a code")
        << 9 << QByteArray("000000000000") << QString() << Dots{{5, 6}} << code.arg("<<");
    QTest::newRow("bit 7 shows nothing")
        << 3 << QByteArray("418080808080") << QString() << Dots{} << "";
}

void TestCharacterEditor::noteWhileScreenDiffersFromRecord()
{
    QFETCH(int, number);
    QFETCH(QByteArray, record);
    QFETCH(QString, typed);
    QFETCH(QList<QPoint>, dots);
    QFETCH(QString, note);
    SettingsImage image;
    setRecord(image, number, QByteArray::fromHex(record));
    CharacterEditor editor(image);
    editor.returnToFirst(WorkingCopy::Redrawn); // as after a load
    while (editor.number() < number)
        QCOMPARE(editor.stepNext(), Step::Taken); // empty texts: nothing stored
    if (!typed.isNull())
        editor.setCodeText(typed);
    for (const QPoint &dot : dots)
        editor.toggleDot(dot.x(), dot.y());
    QCOMPARE(CharacterMessages::unstoredNote(editor.unstored(), editor.number()), note);

    // A step away stores the drawing; coming back, the screen is the record.
    if (!note.isEmpty() && !editor.codeText().isEmpty()) {
        const Step away = number == 9 ? editor.stepPrevious() : editor.stepNext();
        QCOMPARE(away, Step::Taken);
        QCOMPARE(number == 9 ? editor.stepNext() : editor.stepPrevious(), Step::Taken);
        QVERIFY(editor.matchesRecord());
    }
}

QTEST_APPLESS_MAIN(TestCharacterEditor)
#include "tst_charactereditor.moc"
