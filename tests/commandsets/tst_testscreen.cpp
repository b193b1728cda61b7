#include <algorithm>

#include <QTest>

#include "commandsets/CommandSet.h"
#include "commandsets/CommandSets.h"
#include "commandsets/TestScreen.h"
#include "model/OptionLists.h"
#include "screen/ScreenInterpreter.h"

Q_DECLARE_METATYPE(TestScreen::Refusal)

namespace {

int set(const char *name)
{
    return OptionLists::positionOf(OptionLists::commandSets(), QString::fromLatin1(name));
}

// What a till may have left unfinished in a set: each command's lead cut
// short, each lead alone, and each lead with one byte of its parameters or text.
QList<QByteArray> leftovers(int set)
{
    QList<QByteArray> found = {QByteArray()};
    for (const CommandSets::Command &command : CommandSets::description(set).commands) {
        const QByteArray lead(command.lead.data(), qsizetype(command.lead.size()));
        for (qsizetype size = 1; size <= lead.size(); ++size)
            found.append(lead.first(size));
        found.append(lead + 'X');
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace

class TestTestScreen : public QObject
{
    Q_OBJECT

private slots:
    void shownByTheModel_data();
    void shownByTheModel();
    void refusedTexts_data();
    void refusedTexts();
};

// The display model reads the test screen from the same rows it is written
// from: whatever the screen held before, and whatever command a till left
// unfinished, the test screen leaves exactly the two texts.
void TestTestScreen::shownByTheModel_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QByteArray>("leftover");
    for (int position = 0; position < OptionLists::commandSets().size(); ++position) {
        for (const QByteArray &leftover : leftovers(position)) {
            const QString name = OptionLists::commandSets().at(position) + QLatin1Char(' ') +
                                 QString::fromLatin1(leftover.toHex(' '));
            QTest::newRow(qPrintable(name)) << position << leftover;
        }
    }
}

void TestTestScreen::shownByTheModel()
{
    QFETCH(int, set);
    QFETCH(QByteArray, leftover);
    const QString upper = TestScreen::defaultLine1(set);
    const QString lower = OptionLists::defaultLine1(); // a full row
    const TestScreen::Result result = TestScreen::compose(set, upper, lower);

    if (!CommandSets::isPubliclyDescribed(set)) {
        QVERIFY(!result.ok());
        QVERIFY(result.bytes.isEmpty());
        QCOMPARE(result.problem->reason, TestScreen::Refusal::NoPublicDescription);
        QCOMPARE(TestScreen::describe(*result.problem),
                 QStringLiteral("no public description of the %1 command set")
                     .arg(OptionLists::commandSets().at(set)));
        QVERIFY(!ScreenInterpreter::interprets(set));
        return;
    }
    QVERIFY(result.ok());
    QVERIFY(upper.contains(CommandSets::shortName(set)));

    ScreenInterpreter model(CommandSets::KS310);
    model.feed(QByteArray(43, '#')); // every cell taken, the cursor off home
    model.setCommandSet(set);
    model.takeUnknown();
    model.feed(leftover);
    model.feed(result.bytes);

    QCOMPARE(model.rowText(0), upper.leftJustified(TestScreen::TextLength));
    QCOMPARE(model.rowText(1), lower);
    QVERIFY(!model.waiting());
    if (leftover.isEmpty())
        QVERIFY(model.takeUnknown().isEmpty());
}

void TestTestScreen::refusedTexts_data()
{
    using R = TestScreen::Refusal;
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<R>("reason");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");

    const QString twenty(20, QLatin1Char('x'));
    // clang-format off
    QTest::newRow("21 characters") << set("EPSON") << "A" << twenty + "y" << true << R::TextTooLong << 2 << 21 << "";
    QTest::newRow("ESC") << set("EPSON") << "AB\x1b@" << "" << true << R::NotPrintable << 1 << 3 << "0x1B";
    QTest::newRow("0D") << set("CD5220") << "" << "A\rB" << true << R::NotPrintable << 2 << 2 << "0x0D";
    QTest::newRow("DEL") << set("UTC/S") << "\x7f" << "" << true << R::NotPrintable << 1 << 1 << "0x7F";
    QTest::newRow("e acute") << set("ADM788") << QString::fromUtf8("caf\u00e9") << "" << true << R::NotPrintable << 1 << 4 << QString::fromUtf8("\"\u00e9\" (U+00E9)");
    QTest::newRow("beyond the BMP") << set("UTC/P") << QString::fromUtf8("A\U0001F600B") << "" << true << R::NotPrintable << 1 << 2 << QString::fromUtf8("\"\U0001F600\" (U+1F600)");
    QTest::newRow("!# in AEDEX") << set("AEDEX") << "AB!#C" << "" << true << R::AttentionSequence << 1 << 3 << "\"!#\"";
    QTest::newRow("!# in EMAX") << set("EMAX") << "" << "!#" << true << R::AttentionSequence << 2 << 1 << "\"!#\"";
    QTest::newRow("!# in EPSON is text") << set("EPSON") << "AB!#C" << twenty << false << R{} << 0 << 0 << "";
    QTest::newRow("past the list") << 10 << "A" << "B" << true << R::NoSuchSet << 0 << 0 << "";
    QTest::newRow("before the list") << -1 << "A" << "B" << true << R::NoSuchSet << 0 << 0 << "";
    // clang-format on
}

void TestTestScreen::refusedTexts()
{
    QFETCH(int, set);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    QFETCH(bool, refused);
    QFETCH(TestScreen::Refusal, reason);
    QFETCH(int, line);
    QFETCH(int, position);
    QFETCH(QString, shown);

    const TestScreen::Result result = TestScreen::compose(set, line1, line2);
    QCOMPARE(!result.ok(), refused);
    if (!refused)
        return;
    QVERIFY(result.bytes.isEmpty());
    QCOMPARE(result.problem->reason, reason);
    QCOMPARE(result.problem->line, line);
    QCOMPARE(result.problem->position, position);
    QCOMPARE(result.problem->shown, shown);
    const QString message = TestScreen::describe(*result.problem);
    QVERIFY2(message.contains(shown), qPrintable(message));
    if (line > 0)
        QVERIFY2(message.startsWith(QStringLiteral("line %1").arg(line)), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestTestScreen)
#include "tst_testscreen.moc"
