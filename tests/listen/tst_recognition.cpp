// Which command set captured bytes read as, and what a UART at the wrong
// speed makes of them.

#include <QRandomGenerator>
#include <QTest>

#include "commandsets/CommandSets.h"
#include "listen/LineSpeed.h"
#include "listen/Recognition.h"
#include "listen/TillTraffic.h"

using namespace CommandSets;
using Verdict = Recognition::Verdict;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray garbage(qsizetype length)
{
    QRandomGenerator random(540);
    QByteArray bytes(length, '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QByteArray text(const char *twenty)
{
    return QByteArray(twenty).leftJustified(20, ' ', true);
}

QString ranking(const Recognition &recognition)
{
    QStringList lines;
    for (const SetFit &fit : recognition.ranking)
        lines << QStringLiteral("%1: score %2 taken %3 own %4")
                     .arg(shortName(fit.commandSet))
                     .arg(fit.score)
                     .arg(fit.takenBytes)
                     .arg(fit.ownBytes);
    return lines.join(QStringLiteral("; "));
}

} // namespace

class TestRecognition : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data();
    void verdict();
    void reframing_data();
    void reframing();
    void namedSetShowsTheSale();
};

void TestRecognition::verdict_data()
{
    QTest::addColumn<QByteArray>("capture");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("first");  // the named set, or the first candidate
    QTest::addColumn<int>("second"); // the other candidate, or a set that reads alike

    const auto row = [](const char *name, const QByteArray &capture, Verdict verdict, int first,
                        int second = -1) {
        QTest::newRow(name) << capture << int(verdict) << first << second;
    };
    // Each set's traffic as tills send it.
    row("EPSON till", TillTraffic::session(Epson, 4), Verdict::Named, Epson);
    row("CD5220 till", TillTraffic::session(Cd5220, 4), Verdict::Named, Cd5220);
    row("UTC/P till", TillTraffic::session(UtcEnhanced, 4), Verdict::Named, UtcEnhanced);
    row("AEDEX till, EMAX alike", TillTraffic::session(Aedex, 4), Verdict::Named, Aedex, Emax);
    row("ADM788 test screen", TillTraffic::session(Adm788, 4), Verdict::Named, Adm788);
    // UTC standard and Logic Controls tills send the same common bytes...
    row("UTC/S or LogicControl", TillTraffic::session(LogicControl, 4), Verdict::CannotTell,
        UtcStandard, LogicControl);
    // ...and only their own commands separate them.
    row("UTC/S clears to the end", TillTraffic::session(UtcStandard, 4) + hex("100019"),
        Verdict::Named, UtcStandard);
    row("LogicControl scrolls a message",
        TillTraffic::session(LogicControl, 4) + hex("05") + "THANK YOU, COME AGAIN" + hex("0d"),
        Verdict::Named, LogicControl);
    // EPSON and CD5220 share initialise, clear and home, and mixed tills
    // add the other's commands: each still wins by its own.
    row("EPSON on shared commands",
        hex("1b400c0b") + text("COFFEE 2.50") + text("TOTAL 2.50") + hex("1f24010 1") +
            text("TEA 2.10") + hex("1f430 0"),
        Verdict::Named, Epson);
    row("CD5220 with EPSON's cursor and code table",
        hex("1b401f43001b7400") + TillTraffic::sale(Cd5220, 0) + TillTraffic::sale(Cd5220, 1),
        Verdict::Named, Cd5220);
    // No set's own command: every set reads plain text.
    row("text only", text("WELCOME") + text("OPEN 8 TO 8"), Verdict::CannotTell, Epson,
        UtcStandard);
    row("garbage", garbage(2000), Verdict::NoneFits, -1);
    row("nothing", QByteArray(), Verdict::NothingHeard, -1);
    // What a UART hears of a till at the other speed.
    for (const int set : {Epson, Cd5220, UtcEnhanced, Aedex, Adm788, LogicControl}) {
        for (const auto &[sent, heard] : {std::pair{9600, 19200}, std::pair{19200, 9600}}) {
            const QByteArray name = QStringLiteral("%1 sent at %2 heard at %3")
                                        .arg(shortName(set))
                                        .arg(sent)
                                        .arg(heard)
                                        .toLatin1();
            row(name.constData(),
                LineSpeed::reframe(TillTraffic::session(set, 6), sent, heard).bytes,
                Verdict::NoneFits, -1);
        }
    }
}

void TestRecognition::verdict()
{
    QFETCH(QByteArray, capture);
    QFETCH(int, verdict);
    QFETCH(int, first);
    QFETCH(int, second);

    const Recognition recognition = Recognizer::recognize(capture);
    QVERIFY2(int(recognition.verdict) == verdict, qPrintable(ranking(recognition)));
    if (first < 0)
        return;
    QCOMPARE(recognition.best().commandSet, first);
    if (verdict == int(Verdict::CannotTell))
        QCOMPARE(recognition.runnerUp().commandSet, second);
    else
        QCOMPARE(recognition.readsAlike, second < 0 ? QList<int>() : QList<int>{second});
}

void TestRecognition::reframing_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("sentBaud");
    QTest::addColumn<int>("heardBaud");
    QTest::addColumn<QByteArray>("heard");
    QTest::addColumn<int>("framingErrors");

    const QByteArray sale = TillTraffic::sale(Epson, 0);
    QTest::newRow("same speed") << sale << 9600 << 9600 << sale << 0;
    QTest::newRow("same speed, fast") << sale << 19200 << 19200 << sale << 0;
    // Heard at twice the speed each sent bit is read twice: the first frame
    // of 0x55 ends inside the data (a framing error), the next starts on a
    // later low bit and runs into the idle line.
    QTest::newRow("0x55 at double speed") << hex("55") << 9600 << 19200 << hex("66e6") << 1;
    // Heard at half the speed one frame spans two sent ones: the receiver
    // reads every second bit, and the first stop bit lands in its data.
    QTest::newRow("0x00 0x00 at half speed") << hex("0000") << 19200 << 9600 << hex("08") << 0;
}

void TestRecognition::reframing()
{
    QFETCH(QByteArray, sent);
    QFETCH(int, sentBaud);
    QFETCH(int, heardBaud);
    QFETCH(QByteArray, heard);
    QFETCH(int, framingErrors);

    const Reframed reframed = LineSpeed::reframe(sent, sentBaud, heardBaud);
    QCOMPARE(reframed.bytes.toHex(' '), heard.toHex(' '));
    QCOMPARE(reframed.framingErrors, framingErrors);
}

void TestRecognition::namedSetShowsTheSale()
{
    const Recognition recognition = Recognizer::recognize(TillTraffic::session(Cd5220, 3));
    QVERIFY(recognition.named());
    QCOMPARE(recognition.best().rows[0], TillTraffic::saleRow(2, 0));
    QCOMPARE(recognition.best().rows[1], TillTraffic::saleRow(2, 1));
}

QTEST_GUILESS_MAIN(TestRecognition)
#include "tst_recognition.moc"
