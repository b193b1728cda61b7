#include <QTest>

#include "link/Transfer.h"
#include "messages/Messages.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"
#include "support/Outcome.h"
#include "support/TransferData.h"

using Reason = Error::Reason;

using namespace TransferData;

// Uploads: how long they wait for the display, what its reply means, and
// the words for the outcome.
class TransferUploadTest : public QObject
{
    Q_OBJECT

private slots:
    void uploadWaits_data();
    void uploadWaits();
    void uploadOutcome_data();
    void uploadOutcome();
    void uploadStopsOnLinkFault();
    void messages();
};

void TransferUploadTest::uploadWaits_data()
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

void TransferUploadTest::uploadWaits()
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

void TransferUploadTest::uploadOutcome_data()
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

void TransferUploadTest::uploadOutcome()
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

void TransferUploadTest::uploadStopsOnLinkFault()
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

void TransferUploadTest::messages()
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

QTEST_GUILESS_MAIN(TransferUploadTest)
#include "tst_transfer_upload.moc"
