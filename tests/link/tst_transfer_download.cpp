#include <QTest>

#include "link/Transfer.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"
#include "support/Outcome.h"
#include "support/TransferData.h"

using namespace TransferData;

// Downloads and other writes: the exact bytes, stopping on a failure, and
// watching the line until the last byte has left.
class TransferDownloadTest : public QObject
{
    Q_OBJECT

private slots:
    void downloadSendsExactBytes_data();
    void downloadSendsExactBytes();
    void downloadStopsOnSendFailure_data();
    void downloadStopsOnSendFailure();
    void writeStopsWhenThePortVanishes();
    void downloadWatchesTheLineToTheEnd_data();
    void downloadWatchesTheLineToTheEnd();
};

void TransferDownloadTest::downloadSendsExactBytes_data()
{
    QTest::addColumn<QByteArray>("stale");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("quiet line") << QByteArray() << QByteArray();
    QTest::newRow("stale input") << QByteArray("\xAA\x01junk", 6) << QByteArray();
    QTest::newRow("display chatters after") << QByteArray() << QByteArray("ok?");
}

void TransferDownloadTest::downloadSendsExactBytes()
{
    QFETCH(QByteArray, stale);
    QFETCH(QByteArray, answer);

    FakeTicks ticks;
    FakeComm port(&ticks);
    port.staleInput = stale;
    port.requestLength = 129;
    if (!answer.isEmpty())
        port.reply = {{0, answer}};
    port.drainAfterPolls = 3;

    const SettingsImage image = patternImage();
    QVERIFY(Transfer::download(port, ticks, target(QStringLiteral("Com 4")), image));

    const QByteArray expected = QByteArray("\x1B\xEF\xAA") + image.configBytes();
    QCOMPARE(expected.size(), 129);
    QCOMPARE(port.written, expected);
    QVERIFY(!port.isPortOpen());
    QCOMPARE(port.inBufferCount(), 0);

    // Stale bytes go before the first byte is sent: right after opening.
    const qsizetype open = port.calls.indexOf(QStringLiteral("Open"));
    if (!stale.isEmpty())
        QCOMPARE(port.calls.value(open + 1), QStringLiteral("Input"));
    QCOMPARE(port.calls.count(QStringLiteral("Input")),
             int(!stale.isEmpty()) + int(!answer.isEmpty()));
}

void TransferDownloadTest::downloadStopsOnSendFailure_data()
{
    QTest::addColumn<int>("faultAfterBytes");
    QTest::addColumn<bool>("neverDrain");
    QTest::addColumn<int>("expectedWritten");
    QTest::addColumn<QString>("expectedReason");

    QTest::newRow("adapter pulled mid-image") << 57 << false << 57 << "scripted failure";
    QTest::newRow("fails on the last byte") << 129 << false << 129 << "scripted failure";
    QTest::newRow("output never drains") << -1 << true << 1 << "within 2 seconds";
}

void TransferDownloadTest::downloadStopsOnSendFailure()
{
    QFETCH(int, faultAfterBytes);
    QFETCH(bool, neverDrain);
    QFETCH(int, expectedWritten);
    QFETCH(QString, expectedReason);

    FakeTicks ticks;
    FakeComm port(&ticks);
    port.faultAfterBytes = faultAfterBytes;
    port.neverDrain = neverDrain;

    const Result<void> result =
        Transfer::download(port, ticks, target(QStringLiteral("Com 2")), patternImage());
    QVERIFY(!result);
    const QString message = messageOf(result);
    QVERIFY2(message.startsWith(QStringLiteral("The download to Com 2 stopped after %1 of "
                                               "129 bytes")
                                    .arg(expectedWritten - 1)),
             qPrintable(message));
    QVERIFY2(message.contains(expectedReason), qPrintable(message));
    QCOMPARE(port.written.size(), expectedWritten);
    QVERIFY(!port.isPortOpen());
    QCOMPARE(port.calls.count(QStringLiteral("Close")), 1);
}

// Bytes other than a download (a test screen) fail as plainly, in their own words.
void TransferDownloadTest::writeStopsWhenThePortVanishes()
{
    FakeTicks ticks;
    FakeComm port(&ticks);
    port.faultAfterBytes = 10;
    const QByteArray screen(41, 'T');

    const Result<void> result = Transfer::write(port, ticks, target(QStringLiteral("Com 2")), screen);
    QVERIFY(!result);
    QVERIFY2(messageOf(result).startsWith(
                 QStringLiteral("Writing to Com 2 stopped after 9 of 41 bytes and the port was closed")),
             qPrintable(messageOf(result)));
    QCOMPARE(port.written, screen.left(10));
    QCOMPARE(port.calls.count(QStringLiteral("Close")), 1);
}

void TransferDownloadTest::downloadWatchesTheLineToTheEnd_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("faultAfterMs"); // after the last byte was queued
    QTest::addColumn<bool>("lineNeverDrains");
    QTest::addColumn<bool>("lineCannotTell");
    QTest::addColumn<QString>("expectedReason"); // empty: the download succeeds
    QTest::addColumn<int>("minSpent");
    QTest::addColumn<int>("maxSpent");

    const QString fast = QStringLiteral("9600,n,8,1");
    const QString slow = QStringLiteral("1200,n,8,1");
    const QString lost = QStringLiteral("line lost");
    QTest::newRow("quiet line") << fast << -1 << false << false << "" << 129 << 400;
    // 129 bytes take 1075 ms at 1200 baud: the download lasts that long.
    QTest::newRow("slow line") << slow << -1 << false << false << "" << 1075 << 1400;
    QTest::newRow("lost right after the last byte")
        << fast << 3 << false << false << lost << 129 << 400;
    QTest::newRow("lost while the last bytes drain")
        << slow << 300 << false << false << lost << 129 << 1400;
    QTest::newRow("lost after the bytes left")
        << fast << 1000 << false << false << "" << 129 << 400;
    QTest::newRow("never drains") << fast << -1 << true << false
                                  << "did not send its last 129 bytes" << 129 << 500;
    // Unknown queue: the line time of the whole download is watched.
    QTest::newRow("system cannot tell") << fast << -1 << false << true << "" << 129 + 235 << 600;
    QTest::newRow("cannot tell, lost at the end")
        << fast << 50 << false << true << lost << 129 << 600;
}

void TransferDownloadTest::downloadWatchesTheLineToTheEnd()
{
    QFETCH(QString, settings);
    QFETCH(int, faultAfterMs);
    QFETCH(bool, lineNeverDrains);
    QFETCH(bool, lineCannotTell);
    QFETCH(QString, expectedReason);
    QFETCH(int, minSpent);
    QFETCH(int, maxSpent);

    FakeTicks ticks(0xFFFFFF00u);
    FakeComm port(&ticks);
    port.requestLength = 129;
    port.faultAfterMs = faultAfterMs;
    port.lineNeverDrains = lineNeverDrains;
    port.lineCannotTell = lineCannotTell;
    port.failureReason = QStringLiteral("line lost");

    const Result<void> result =
        Transfer::download(port, ticks, target(QStringLiteral("Com 2"), settings), patternImage());
    const QString message = messageOf(result);
    const qint32 spent = elapsedTicks(0xFFFFFF00u, ticks.now());
    QVERIFY2(spent >= minSpent && spent <= maxSpent, qPrintable(QString::number(spent)));
    QCOMPARE(port.written.size(), 129);
    QVERIFY(!port.isPortOpen());
    QCOMPARE(port.calls.count(QStringLiteral("Close")), 1);
    if (expectedReason.isEmpty()) {
        QVERIFY2(result, qPrintable(message));
        return;
    }
    QVERIFY(!result);
    QVERIFY2(message.startsWith(QStringLiteral("The download to Com 2 ")), qPrintable(message));
    QVERIFY2(message.contains(expectedReason), qPrintable(message));
}

QTEST_GUILESS_MAIN(TransferDownloadTest)
#include "tst_transfer_download.moc"
