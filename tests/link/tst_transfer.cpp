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

// What every transfer stands on: its clock, sending a byte, waiting, and
// opening the chosen port or refusing to.
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

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"
