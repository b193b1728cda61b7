#include <QTest>

#include "link/Transfer.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"
#include "support/Outcome.h"
#include "support/TransferData.h"

using Kind = Transfer::DownloadCheck::Kind;
using Reason = Error::Reason;

Q_DECLARE_METATYPE(Transfer::DownloadCheck::Kind)

using namespace TransferData;

namespace {

Transfer::Target onCom2(const QString &settings = QStringLiteral("9600,n,8,1"))
{
    return target(QStringLiteral("Com 2"), settings);
}

} // namespace

class CheckedDownloadTest : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data();
    void readBack();
    void skippedAsksNothing();
    void cutShortCountsWhatLeft_data();
    void cutShortCountsWhatLeft();
};

void CheckedDownloadTest::readBack_data()
{
    QTest::addColumn<QList<FakeComm::Chunk>>("reply");
    QTest::addColumn<int>("faultAfterBytes");
    QTest::addColumn<Kind>("expected");
    QTest::addColumn<Outcome>("expectedReason");
    QTest::addColumn<int>("expectedDiffering");

    const SettingsImage sent = patternImage();
    const QByteArray same = validReply(sent);
    SettingsImage other = sent;
    other.set(ImageLayout::CommandSet, 3);
    other.set(ImageLayout::Line1 + 2, 0x42);
    other.set(ImageLayout::Line2, 0x43);
    QByteArray wrongLead = same;
    wrongLead[0] = '\x55';
    const auto at = [](const QByteArray &bytes) { return QList<FakeComm::Chunk>{{5, bytes}}; };

    QTest::newRow("display present") << at(same) << -1 << Kind::Checked << Outcome() << 0;
    QTest::newRow("display absent")
        << QList<FakeComm::Chunk>{} << -1 << Kind::NoAnswer << Outcome(Reason::NoAnswer) << 0;
    QTest::newRow("holds something else")
        << at(validReply(other)) << -1 << Kind::Differs << Outcome() << 3;
    // Whatever the bytes after it, a wrong lead byte or a short reply
    // confirms nothing.
    QTest::newRow("wrong lead byte, rest the same")
        << at(wrongLead) << -1 << Kind::WrongReply << Outcome(Reason::WrongLeadByte) << 0;
    QTest::newRow("short reply, all it has the same")
        << at(same.left(100)) << -1 << Kind::WrongReply << Outcome(Reason::ShortReply) << 0;
    QTest::newRow("garbage at the other speed")
        << at(QByteArray(40, '\xF8')) << -1 << Kind::WrongReply << Outcome(Reason::WrongLeadByte)
        << 0;
    QTest::newRow("line lost asking")
        << at(same) << 130 << Kind::LinkFailed << Outcome(Reason::DeviceFailed) << 0;
}

// After the 129 bytes the display is asked, on the open port, what it holds;
// then the port closes, then the pause runs.
void CheckedDownloadTest::readBack()
{
    QFETCH(QList<FakeComm::Chunk>, reply);
    QFETCH(int, faultAfterBytes);
    QFETCH(Kind, expected);
    QFETCH(Outcome, expectedReason);
    QFETCH(int, expectedDiffering);

    FakeTicks ticks;
    FakeComm port(&ticks);
    port.requestLength = 131;
    port.reply = reply;
    port.faultAfterBytes = faultAfterBytes;
    const SettingsImage image = patternImage();

    QStringList callsWhenPausing;
    const Result<Transfer::DownloadCheck> result = Transfer::downloadCheckThenPause(
        port, ticks, onCom2(), image, Transfer::ReadBack::Ask, [&] {
            if (callsWhenPausing.isEmpty())
                callsWhenPausing = port.calls;
        });

    QVERIFY(result);
    QCOMPARE(result->kind, expected);
    QCOMPARE(result->confirmed(), expected == Kind::Checked);
    QCOMPARE(result->differing.size(), expectedDiffering);
    if (expected == Kind::Checked || expected == Kind::Differs)
        QCOMPARE(Outcome(), expectedReason);
    else
        QCOMPARE(Outcome(result->error.reason), expectedReason);

    const QByteArray request = QByteArray("\x1B\xEF\xAA") + image.configBytes() + "\x1B\xEE";
    QCOMPARE(port.written, request.left(faultAfterBytes < 0 ? request.size() : faultAfterBytes));
    // One opening for both exchanges, closed before the pause begins.
    QCOMPARE(port.opens, 1);
    QCOMPARE(callsWhenPausing.count(QStringLiteral("Close")), 1);
    QCOMPARE(callsWhenPausing.last(), QStringLiteral("Close"));
    QVERIFY(!port.isPortOpen());
}

void CheckedDownloadTest::skippedAsksNothing()
{
    FakeTicks ticks;
    FakeComm port(&ticks);
    const SettingsImage image = patternImage();
    const Result<Transfer::DownloadCheck> result = Transfer::downloadCheckThenPause(
        port, ticks, onCom2(), image, Transfer::ReadBack::Skip, nullptr);
    QVERIFY(result);
    QCOMPARE(result->kind, Kind::Skipped);
    QVERIFY(!result->confirmed());
    QCOMPARE(port.written, QByteArray("\x1B\xEF\xAA") + image.configBytes());
}

void CheckedDownloadTest::cutShortCountsWhatLeft_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("faultAfterMs");
    QTest::addColumn<bool>("lineNeverDrains");
    QTest::addColumn<int>("fewestLeft"); // bytes that had left the port
    QTest::addColumn<int>("mostLeft");

    QTest::newRow("none had left") << "9600,n,8,1" << 50 << true << 0 << 0;
    // 1200 baud: a byte takes 8.3 ms, so some left, many did not.
    QTest::newRow("cut midway") << "1200,n,8,1" << 300 << false << 1 << 128;
}

// A line lost while the last bytes drain tells how many had left, not
// "all were sent".
void CheckedDownloadTest::cutShortCountsWhatLeft()
{
    QFETCH(QString, settings);
    QFETCH(int, faultAfterMs);
    QFETCH(bool, lineNeverDrains);
    QFETCH(int, fewestLeft);
    QFETCH(int, mostLeft);

    FakeTicks ticks;
    FakeComm port(&ticks);
    port.requestLength = 129;
    port.faultAfterMs = faultAfterMs;
    port.lineNeverDrains = lineNeverDrains;
    const Result<Transfer::DownloadCheck> result = Transfer::downloadCheckThenPause(
        port, ticks, onCom2(settings), patternImage(), Transfer::ReadBack::Ask, nullptr);
    QVERIFY(!result);
    QCOMPARE(result.error().stage, Error::Stage::Draining);
    QCOMPARE(result.error().total, 129);
    const int left = result.error().total - result.error().count;
    QVERIFY2(left >= fewestLeft && left <= mostLeft, qPrintable(QString::number(left)));
    QVERIFY(!port.isPortOpen());
}

QTEST_GUILESS_MAIN(CheckedDownloadTest)
#include "tst_checkeddownload.moc"
