#include <QTest>

#include "link/Deadline.h"
#include "link/Transfer.h"
#include "messages/Messages.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"
#include "support/Outcome.h"
#include "support/TransferData.h"

using Reason = Error::Reason;

using namespace TransferData;

class TransferTest : public QObject
{
    Q_OBJECT

private slots:
    void deadline_data();
    void deadline();
    void sendByte_data();
    void sendByte();
    void delay_data();
    void delay();
    void refusal_data();
    void refusal();
    void opensWithChosenPortAndSettings_data();
    void opensWithChosenPortAndSettings();
    void downloadSendsExactBytes_data();
    void downloadSendsExactBytes();
    void downloadStopsOnSendFailure_data();
    void downloadStopsOnSendFailure();
    void writeStopsWhenThePortVanishes();
    void downloadWatchesTheLineToTheEnd_data();
    void downloadWatchesTheLineToTheEnd();
    void uploadWaits_data();
    void uploadWaits();
    void uploadOutcome_data();
    void uploadOutcome();
    void uploadStopsOnLinkFault();
    void messages();
};

void TransferTest::deadline_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<QList<quint32>>("readings");
    QTest::addColumn<QList<bool>>("passed");

    QTest::newRow("plain") << 100u << QList<quint32>{100, 2099, 2100, 2101}
                           << QList<bool>{false, false, true, true};
    QTest::newRow("counter wraps") << 0xFFFFFC00u << QList<quint32>{0xFFFFFFFFu, 0x3CFu, 0x3D0u}
                                   << QList<bool>{false, false, true};
    QTest::newRow("sign change") << 0x7FFFFC00u << QList<quint32>{0x800003CFu, 0x800003D0u}
                                 << QList<bool>{false, true};
    // A reading before the start restarts the measurement from there.
    QTest::newRow("counter goes back")
        << 5000u << QList<quint32>{5010, 10, 2009, 2010} << QList<bool>{false, false, false, true};
}

void TransferTest::deadline()
{
    QFETCH(quint32, start);
    QFETCH(QList<quint32>, readings);
    QFETCH(QList<bool>, passed);

    Deadline deadline(start, 2000);
    QList<bool> actual;
    for (const quint32 now : readings)
        actual << deadline.passedAt(now);
    QCOMPARE(actual, passed);
}

void TransferTest::sendByte_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<int>("drainAfterPolls");
    QTest::addColumn<bool>("neverDrain");
    QTest::addColumn<int>("faultAfterBytes");
    QTest::addColumn<Outcome>("expected");

    QTest::newRow("drains at once") << 0u << 0 << false << -1 << Outcome();
    QTest::newRow("drains after polls") << 0u << 300 << false << -1 << Outcome();
    QTest::newRow("never drains") << 0u << 0 << true << -1 << Outcome(Reason::SendTimedOut);
    QTest::newRow("device error") << 0u << 0 << false << 1 << Outcome(Reason::DeviceFailed);
    QTest::newRow("device error while draining")
        << 0u << 5 << false << 1 << Outcome(Reason::DeviceFailed);
}

void TransferTest::sendByte()
{
    QFETCH(quint32, start);
    QFETCH(int, drainAfterPolls);
    QFETCH(bool, neverDrain);
    QFETCH(int, faultAfterBytes);
    QFETCH(Outcome, expected);

    FakeTicks ticks(start);
    FakeComm comm(&ticks);
    comm.drainAfterPolls = drainAfterPolls;
    comm.neverDrain = neverDrain;
    comm.faultAfterBytes = faultAfterBytes;
    comm.setCommPort(1);
    QVERIFY(comm.setPortOpen(true));

    QCOMPARE(outcomeOf(Transfer::SendByte(comm, ticks, 0x5A)), expected);
    QCOMPARE(comm.written, QByteArray("\x5A"));
    const qint32 spent = elapsedTicks(start, ticks.now());
    if (expected == Reason::SendTimedOut) {
        QVERIFY2(spent >= Transfer::SendTimeoutMs, qPrintable(QString::number(spent)));
        QVERIFY2(spent < Transfer::SendTimeoutMs + 10, qPrintable(QString::number(spent)));
    } else {
        QVERIFY(spent < Transfer::SendTimeoutMs);
    }
}

void TransferTest::delay_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("step");
    QTest::addColumn<qint32>("ms");

    QTest::newRow("1000 ms") << 0u << 1u << 1000;
    QTest::newRow("1000 ms, coarse ticks") << 5u << 16u << 1000;
    QTest::newRow("across the wrap") << 0xFFFFFF00u << 1u << 1000;
    QTest::newRow("ends right at the wrap") << 0xFFFFFC18u << 1u << 1000;
    QTest::newRow("across the sign change") << 0x7FFFFF00u << 3u << 1000;
    QTest::newRow("zero") << 0u << 1u << 0;
}

void TransferTest::delay()
{
    QFETCH(quint32, start);
    QFETCH(quint32, step);
    QFETCH(qint32, ms);

    FakeTicks ticks(start, step);
    int events = 0;
    Transfer::Delay(ticks, ms, [&] { ++events; });

    const qint32 spent = elapsedTicks(start, ticks.now());
    QVERIFY2(spent >= ms, qPrintable(QString::number(spent)));
    QVERIFY2(spent <= ms + 4 * static_cast<qint32>(step), qPrintable(QString::number(spent)));
    // Events are handled on every pass, at least once.
    QVERIFY(events >= 1);
    QVERIFY(events >= ms / (3 * static_cast<qint32>(step)));
}

void TransferTest::refusal_data()
{
    QTest::addColumn<QString>("comm");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("refuseSettings");
    QTest::addColumn<bool>("refuseOpen");
    QTest::addColumn<QString>("expectedStart");

    QTest::newRow("no port, empty text") << ""
                                         << "9600,n,8,1" << false << false << "No port is selected";
    QTest::newRow("no port, blanks") << "   "
                                     << "9600,n,8,1" << false << false << "No port is selected";
    QTest::newRow("settings refused") << "Com 2"
                                      << "9600,x,8,1" << true << false << "Com 2 can't be used: ";
    QTest::newRow("open refused") << "Com 5"
                                  << "9600,n,8,1" << false << true << "Com 5 can't be used: ";
    QTest::newRow("typed device refused")
        << "/dev/ttyUSB7"
        << "9600,n,8,1" << false << true << "/dev/ttyUSB7 can't be used: ";
}

void TransferTest::refusal()
{
    QFETCH(QString, comm);
    QFETCH(QString, settings);
    QFETCH(bool, refuseSettings);
    QFETCH(bool, refuseOpen);
    QFETCH(QString, expectedStart);

    for (const bool isDownload : {true, false}) {
        FakeTicks ticks;
        FakeComm port(&ticks);
        port.refuseSettings = refuseSettings;
        port.refuseOpen = refuseOpen;
        port.failureReason = QStringLiteral("the system's reason");
        port.reply = {{0, validReply(SettingsImage())}};

        const Result<void> result =
            isDownload
                ? Transfer::download(port, ticks, target(comm, settings), patternImage())
                : Result<void>(Transfer::upload(port, ticks, target(comm, settings)).error());
        QVERIFY(!result);
        QCOMPARE(result.error().stage, Error::Stage::Opening);
        const QString message = messageOf(result);
        QVERIFY2(message.startsWith(expectedStart), qPrintable(message));
        // A refused port comes with the system's reason.
        if (refuseSettings || refuseOpen)
            QVERIFY2(message.contains(port.failureReason), qPrintable(message));
        QVERIFY(!message.contains(Messages::downloadOk()));
        QVERIFY(!port.isPortOpen());
        QCOMPARE(port.opens, 0);
        QVERIFY(port.written.isEmpty());
    }
}

void TransferTest::opensWithChosenPortAndSettings_data()
{
    QTest::addColumn<QString>("comm");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("expectedCalls");

    QTest::newRow("Com 3 at 19200")
        << "Com 3"
        << "19200,n,8,1" << QStringList{"CommPort=3", "PortName=", "Settings=19200,n,8,1", "Open"};
    QTest::newRow("typed settings kept as typed")
        << "Com 8"
        << " 4800 , E ,7, 2"
        << QStringList{"CommPort=8", "PortName=", "Settings= 4800 , E ,7, 2", "Open"};
    QTest::newRow("typed device name")
        << "/dev/ttyUSB0"
        << "9600,n,8,1"
        << QStringList{"CommPort=0", "PortName=/dev/ttyUSB0", "Settings=9600,n,8,1", "Open"};
    QTest::newRow("near miss of an entry is a device")
        << "com 3"
        << "9600,n,8,1"
        << QStringList{"CommPort=0", "PortName=com 3", "Settings=9600,n,8,1", "Open"};
}

void TransferTest::opensWithChosenPortAndSettings()
{
    QFETCH(QString, comm);
    QFETCH(QString, settings);
    QFETCH(QStringList, expectedCalls);

    FakeTicks ticks;
    FakeComm port(&ticks);
    QVERIFY(Transfer::download(port, ticks, target(comm, settings), SettingsImage()));
    QCOMPARE(port.calls.mid(0, 4), expectedCalls);
    QCOMPARE(port.calls.last(), QStringLiteral("Close"));

    FakeComm again(&ticks);
    again.reply = {{0, validReply(SettingsImage())}};
    QVERIFY(Transfer::upload(again, ticks, target(comm, settings)));
    QCOMPARE(again.calls.mid(0, 4), expectedCalls);
}

void TransferTest::downloadSendsExactBytes_data()
{
    QTest::addColumn<QByteArray>("stale");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("quiet line") << QByteArray() << QByteArray();
    QTest::newRow("stale input") << QByteArray("\xAA\x01junk", 6) << QByteArray();
    QTest::newRow("display chatters after") << QByteArray() << QByteArray("ok?");
}

void TransferTest::downloadSendsExactBytes()
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

void TransferTest::downloadStopsOnSendFailure_data()
{
    QTest::addColumn<int>("faultAfterBytes");
    QTest::addColumn<bool>("neverDrain");
    QTest::addColumn<int>("expectedWritten");
    QTest::addColumn<QString>("expectedReason");

    QTest::newRow("adapter pulled mid-image") << 57 << false << 57 << "scripted failure";
    QTest::newRow("fails on the last byte") << 129 << false << 129 << "scripted failure";
    QTest::newRow("output never drains") << -1 << true << 1 << "within 2 seconds";
}

void TransferTest::downloadStopsOnSendFailure()
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
void TransferTest::writeStopsWhenThePortVanishes()
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

void TransferTest::downloadWatchesTheLineToTheEnd_data()
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

void TransferTest::downloadWatchesTheLineToTheEnd()
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

void TransferTest::uploadWaits_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<QList<FakeComm::Chunk>>("reply");
    QTest::addColumn<Outcome>("expected");
    QTest::addColumn<int>("minSpent");
    QTest::addColumn<int>("maxSpent");

    const QByteArray full = validReply(patternImage());
    const QByteArray head = full.left(1);
    const QByteArray rest = full.mid(1);
    const Outcome ok;

    QTest::newRow("at once") << 0u << QList<FakeComm::Chunk>{{0, full}} << ok << 0 << 50;
    QTest::newRow("first byte just before 2000 ms")
        << 0u << QList<FakeComm::Chunk>{{1995, head}, {1995 + 2990, rest}} << ok << 4985 << 5000;
    QTest::newRow("first byte too late")
        << 0u << QList<FakeComm::Chunk>{{2030, full}} << Outcome(Reason::NoAnswer) << 2000 << 2020;
    QTest::newRow("no answer") << 0u << QList<FakeComm::Chunk>{} << Outcome(Reason::NoAnswer)
                               << 2000 << 2020;
    QTest::newRow("rest too late") << 0u << QList<FakeComm::Chunk>{{10, head}, {10 + 3050, rest}}
                                   << Outcome(Reason::ShortReply) << 3000 << 3030;
    QTest::newRow("both waits across the wrap")
        << 0xFFFFF800u << QList<FakeComm::Chunk>{{1995, head}, {1995 + 2990, rest}} << ok << 4985
        << 5000;
}

void TransferTest::uploadWaits()
{
    QFETCH(quint32, start);
    QFETCH(QList<FakeComm::Chunk>, reply);
    QFETCH(Outcome, expected);
    QFETCH(int, minSpent);
    QFETCH(int, maxSpent);

    FakeTicks ticks(start);
    FakeComm port(&ticks);
    port.reply = reply;
    QCOMPARE(outcomeOf(Transfer::upload(port, ticks, target())), expected);
    const qint32 spent = elapsedTicks(start, ticks.now());
    QVERIFY2(spent >= minSpent && spent <= maxSpent, qPrintable(QString::number(spent)));
    QVERIFY(!port.isPortOpen());
}

void TransferTest::uploadOutcome_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<Outcome>("expected");
    QTest::addColumn<QString>("expectedMessage");
    QTest::addColumn<int>("expectedReceived");

    const QByteArray full = validReply(patternImage());
    QByteArray wrongLead = full;
    wrongLead[0] = '\x55';
    const Outcome checkBit(Reason::WrongLeadByte);
    const Outcome shortReply(Reason::ShortReply);

    QTest::newRow("ok") << full << Outcome() << "Upload O.K!" << 127;
    QTest::newRow("wrong lead") << wrongLead << checkBit << "Receive Check bit Error !!" << 127;
    QTest::newRow("short")
        << full.left(57) << shortReply
        << "Incomplete reply from the display: 57 of 127 bytes came. Nothing was changed." << 57;
    QTest::newRow("lead byte only")
        << full.left(1) << shortReply
        << "Incomplete reply from the display: 1 of 127 bytes came. Nothing was changed." << 1;
    QTest::newRow("short with wrong lead")
        << wrongLead.left(40) << checkBit << "Receive Check bit Error !!" << 40;
    QTest::newRow("more than 127")
        << full + QByteArray("\x01\x02\x03") << Outcome() << "Upload O.K!" << 130;
}

void TransferTest::uploadOutcome()
{
    QFETCH(QByteArray, reply);
    QFETCH(Outcome, expected);
    QFETCH(QString, expectedMessage);
    QFETCH(int, expectedReceived);

    FakeTicks ticks;
    FakeComm port(&ticks);
    port.reply = {{5, reply}};
    const Result<SettingsImage> result =
        Transfer::upload(port, ticks, target(QStringLiteral("Com 6")));

    QCOMPARE(outcomeOf(result), expected);
    // What to try next may follow; tst_messages has its words.
    const QString message = result ? Messages::uploadOk() : messageOf(result);
    QVERIFY2(message.startsWith(expectedMessage), qPrintable(message));
    if (!result)
        QCOMPARE(result.error().count, expectedReceived);
    QCOMPARE(port.written, QByteArray("\x1B\xEE"));
    QVERIFY(!port.isPortOpen());
    // The request goes out first; the reply is read once, whole.
    QCOMPARE(port.calls.count(QStringLiteral("Input")), 1);
    QCOMPARE(port.calls.last(), QStringLiteral("Close"));
    if (result) {
        SettingsImage wanted = patternImage();
        wanted.set(ImageLayout::ReplyLead, 0xAA);
        QCOMPARE(*result, wanted);
    }
}

void TransferTest::uploadStopsOnLinkFault()
{
    for (const int faultAfter : {1, 2}) {
        FakeTicks ticks;
        FakeComm port(&ticks);
        port.faultAfterBytes = faultAfter;
        port.failureReason = QStringLiteral("the adapter is gone");
        port.reply = {{0, validReply(patternImage())}};
        const Result<SettingsImage> result =
            Transfer::upload(port, ticks, target(QStringLiteral("Com 7")));
        QVERIFY(!result);
        QCOMPARE(result.error().stage, Error::Stage::Uploading);
        const QString message = messageOf(result);
        QVERIFY2(message.startsWith(QStringLiteral("The upload from Com 7 stopped")),
                 qPrintable(message));
        QVERIFY(message.contains(port.failureReason));
        QVERIFY(!port.isPortOpen());
        QCOMPARE(port.written.size(), faultAfter);
    }
}

void TransferTest::messages()
{
    QCOMPARE(Messages::downloadOk(), QStringLiteral("Download O.K ! Please restart !"));
    QCOMPARE(Messages::uploadOk(), QStringLiteral("Upload O.K!"));

    FakeTicks ticks;
    FakeComm port(&ticks);
    const Result<SettingsImage> result =
        Transfer::upload(port, ticks, target(QStringLiteral("Com 3"), QStringLiteral("19200,n,8,1")));
    // What to try next follows; tst_messages has its words.
    QVERIFY2(messageOf(result).startsWith(QStringLiteral("Com 3 can't be open !!\nThe display did "
                                                         "not answer within 2 seconds at "
                                                         "19200,n,8,1. ")),
             qPrintable(messageOf(result)));
}

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
