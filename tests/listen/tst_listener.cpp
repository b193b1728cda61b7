// Listening on a port: bounded in time and size, never a byte written, a
// lost line ends it with what came before.

#include <QTest>

#include "listen/Listener.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"

namespace {

PortChoice port()
{
    return PortChoice::fromComboText({}, QStringLiteral("/dev/ttyUSB0"));
}

} // namespace

class TestListener : public QObject
{
    Q_OBJECT

private slots:
    void ending_data();
    void ending();
    void unusablePortStaysClosed();
};

void TestListener::ending_data()
{
    QTest::addColumn<QList<QByteArray>>("arrivals"); // one per poll
    QTest::addColumn<bool>("dropLine");              // after the arrivals
    QTest::addColumn<int>("end");
    QTest::addColumn<qsizetype>("captured");

    const QByteArray half(Listener::CaptureLimit / 2 + 1, 'x');
    QTest::newRow("time up") << QList<QByteArray>{"abc", "", "de"} << false
                             << int(Listener::End::TimeUp) << qsizetype(5);
    QTest::newRow("a flood stops at the limit")
        << QList<QByteArray>{half, half, "more"} << false << int(Listener::End::Full)
        << Listener::CaptureLimit;
    QTest::newRow("line lost keeps what came")
        << QList<QByteArray>{"abc", "def"} << true << int(Listener::End::LineLost) << qsizetype(6);
}

void TestListener::ending()
{
    QFETCH(QList<QByteArray>, arrivals);
    QFETCH(bool, dropLine);
    QFETCH(int, end);
    QFETCH(qsizetype, captured);

    FakeTicks ticks(0xFFFFF000u, 0); // near the counter's wrap
    FakeComm comm(&ticks);
    Listener listener(comm, ticks);
    QVERIFY(listener.start(port(), QStringLiteral("9600,n,8,1"), 2));
    QCOMPARE(listener.msLeft(), 2000);
    bool listening = true;
    for (const QByteArray &bytes : arrivals) {
        comm.receive(bytes);
        listening = listener.poll();
        ticks.advance(500);
    }
    if (dropLine)
        comm.dropLine();
    for (int polls = 0; listening && polls < 10; ++polls) {
        listening = listener.poll();
        ticks.advance(500);
    }
    QVERIFY(!listening);
    QCOMPARE(int(listener.end()), end);
    QCOMPARE(listener.capture().size(), captured);
    QCOMPARE(listener.msLeft(), 0);
    QVERIFY(comm.written.isEmpty());
    QVERIFY(!comm.isPortOpen());
}

void TestListener::unusablePortStaysClosed()
{
    FakeTicks ticks;
    FakeComm comm(&ticks);
    comm.refuseOpen = true;
    Listener listener(comm, ticks);
    const Result<void> started = listener.start(port(), QStringLiteral("9600,n,8,1"), 5);
    QVERIFY(!started);
    QCOMPARE(started.error().reason, Error::Reason::OpenFailed);
    QVERIFY(!listener.poll());
    QVERIFY(!comm.isPortOpen());
}

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
