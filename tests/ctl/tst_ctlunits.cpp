// Parts of tq540ctl below its commands.

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>

#include <QTemporaryFile>
#include <QTest>

#include "Cli.h"
#include "Parallel.h"

class CtlUnitsTest : public QObject
{
    Q_OBJECT

private slots:
    // Every item is done once, on at most `limit` threads, also when the
    // system starts fewer threads than asked or none.
    void boundedWork_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("threadsTheSystemGives"); // -1: as many as asked
        QTest::newRow("more items than threads") << 40 << 4 << -1;
        QTest::newRow("fewer items than threads") << 3 << 32 << -1;
        QTest::newRow("no thread starts") << 40 << 32 << 0;
        QTest::newRow("two threads start") << 40 << 32 << 2;
    }
    void boundedWork()
    {
        QFETCH(int, items);
        QFETCH(int, limit);
        QFETCH(int, threadsTheSystemGives);
        int started = 0;
        const Parallel::StartThread start = [&](std::function<void()> body) {
            if (threadsTheSystemGives >= 0 && started >= threadsTheSystemGives)
                return std::unique_ptr<QThread>();
            ++started;
            return Parallel::startThread(std::move(body));
        };
        std::mutex lock;
        std::multiset<int> done;
        std::atomic<int> running{0};
        std::atomic<int> most{0};
        Parallel::forEach(
            items, limit,
            [&](int item) {
                const int now = ++running;
                for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
                }
                QThread::yieldCurrentThread();
                --running;
                const std::lock_guard<std::mutex> guard(lock);
                done.insert(item);
            },
            start);
        QCOMPARE(int(done.size()), items);
        for (int item = 0; item < items; ++item)
            QCOMPARE(int(done.count(item)), 1);
        QVERIFY(started <= limit);
        QVERIFY(most <= qMax(1, qMin(limit, items)));
    }

    // A name the system gives as bytes that are not UTF-8 is refused rather
    // than read or written under another name.
    void arguments_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<bool>("taken");
        QTest::newRow("ascii") << QByteArray("shop.vfd") << true;
        QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9.vfd") << true;
        QTest::newRow("latin-1 byte") << QByteArray("bad\xFF.vfd") << false;
        QTest::newRow("lone continuation") << QByteArray("out\x80.vfd") << false;
        QTest::newRow("cut sequence") << QByteArray("out\xE2\x82.vfd") << false;
    }
    void arguments()
    {
        QFETCH(QByteArray, argument);
        QFETCH(bool, taken);
        const char *argv[] = {"tq540ctl", "show", argument.constData()};
        try {
            const QStringList list = Cli::arguments(3, argv);
            QVERIFY(taken);
            QCOMPARE(list.at(2).toUtf8(), argument);
        } catch (const Cli::Failure &failure) {
            QVERIFY2(!taken, qPrintable(failure.message));
            QCOMPARE(failure.status, int(Cli::Usage));
            QVERIFY2(failure.message.contains("\\x"), qPrintable(failure.message));
        }
    }

    // Output that did not reach its reader is no success.
    void unwrittenOutputFails_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("expected");
        QTest::newRow("written") << "" << int(Cli::Done) << int(Cli::Done);
        QTest::newRow("full device") << "/dev/full" << int(Cli::Done) << int(Cli::FileError);
        QTest::newRow("full device after a failure")
            << "/dev/full" << int(Cli::Failed) << int(Cli::Failed);
    }
    void unwrittenOutputFails()
    {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(int, expected);
        QTemporaryFile temporary;
        QVERIFY(temporary.open());
        const QString target = path.isEmpty() ? temporary.fileName() : path;
        std::FILE *stream = std::fopen(QFile::encodeName(target).constData(), "w");
        if (!stream)
            QSKIP("this system has no such device");
        std::fputs("{ \"a\": 1 }\n", stream);
        QCOMPARE(Cli::finishOutput(stream, status), expected);
        std::fclose(stream);
    }
};

QTEST_GUILESS_MAIN(CtlUnitsTest)
#include "tst_ctlunits.moc"
