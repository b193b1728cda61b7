// Parts of tq540ctl below its commands.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <set>

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include "Cli.h"
#include "LinkOptions.h"
#include "Parallel.h"
#include "PerPort.h"
#include "PortsCommand.h"

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

    // An argument is a name or a text. A name of bytes that are not UTF-8
    // is refused as a name; a text is refused as a text; a leading byte
    // order mark is a character, kept, and left to the text's own checks.
    void arguments_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QString>("asName"); // the refusal's words; empty: taken as given
        QTest::addColumn<QString>("asText");
        QTest::newRow("ascii") << QByteArray("shop.vfd") << ""
                               << "";
        QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9.vfd") << ""
                               << "";
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBFTOTAL") << ""
                                         << "";
        QTest::newRow("latin-1 byte") << QByteArray("bad\xFF.vfd") << "Rename the file"
                                      << "--line1 \"bad\\xff.vfd\" is not UTF-8 text";
        QTest::newRow("lone continuation") << QByteArray("out\x80") << "Rename the file"
                                           << "is not UTF-8 text; give the text in UTF-8";
        QTest::newRow("cut sequence") << QByteArray("out\xE2\x82") << "\\xe2\\x82"
                                      << "\\xe2\\x82";
    }
    void arguments()
    {
        QFETCH(QByteArray, argument);
        QFETCH(QString, asName);
        QFETCH(QString, asText);
        const char *argv[] = {"tq540ctl", "test", argument.constData(), "--line1",
                              argument.constData()};
        Cli::CommandLine line(QStringLiteral("test"), QString(), QString());
        line.addOption({QStringLiteral("line1")}, QString(), QStringLiteral("text"));
        QVERIFY(line.parse(Cli::arguments(5, argv).mid(1)));
        const auto refusal = [](const auto &use) {
            try {
                use();
            } catch (const Cli::Failure &failure) {
                return failure.status == Cli::Usage ? failure.message : QStringLiteral("status");
            }
            return QString();
        };
        const QString name =
            refusal([&] { QCOMPARE(line.positionals(1).front().toUtf8(), argument); });
        QVERIFY2(asName.isEmpty() ? name.isEmpty() : name.contains(asName), qPrintable(name));
        const QString text =
            refusal([&] { QCOMPARE(line.textValue(QStringLiteral("line1")).toUtf8(), argument); });
        QVERIFY2(asText.isEmpty() ? text.isEmpty() : text.contains(asText), qPrintable(text));
        QVERIFY2(!text.contains("Rename"), qPrintable(text));
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

    // Ctrl+C: the work that has begun ends by itself, the rest is not
    // begun, and each display has its result.
    void ctrlCLeavesNoDisplayWithoutResult()
    {
        const int count = Parallel::MostAtOnce + 8;
        QList<PerPort::Display> displays;
        for (int k = 0; k < count; ++k)
            displays << PerPort::Display{QString::number(k), {}};
        std::atomic<int> begun{0};
        bool stopped = false;
        const QList<PerPort::Result> results = PerPort::collect(
            displays, Displays::Progress::Hidden,
            [&](const PerPort::Port &port) {
                ++begun;
                if (port.display().given == u"0")
                    std::raise(SIGINT);
                // Nothing ends before Ctrl+C came.
                const QDeadlineTimer bound(5000);
                while (!PerPort::stopRequested() && !bound.hasExpired())
                    QThread::msleep(1);
                return PerPort::Result{.outcome = QStringLiteral("ok"), .success = true};
            },
            &stopped);
        QVERIFY(stopped);
        QCOMPARE(results.size(), count);
        QCOMPARE(int(std::count_if(results.begin(), results.end(),
                                   [](const PerPort::Result &r) { return r.success; })),
                 begun.load());
        QVERIFY(begun <= Parallel::MostAtOnce);
        for (const PerPort::Result &result : results)
            QVERIFY(result.success || result.outcome == u"stopped");
    }

    // A Failure thrown by one port's work is that port's result, with its
    // status, and the other ports go on.
    void failureIsThePortsResult()
    {
        const QList<PerPort::Display> displays{{QStringLiteral("a"), {}},
                                               {QStringLiteral("b"), {}}};
        const QList<PerPort::Result> results =
            PerPort::collect(displays, Displays::Progress::Hidden, [](const PerPort::Port &port) {
                if (port.display().given == u"a")
                    Cli::fileError(QStringLiteral("a.vfd: cannot be saved"));
                return PerPort::Result{.outcome = QStringLiteral("ok"), .success = true};
            });
        QCOMPARE(results[0].status, int(Cli::FileError));
        QCOMPARE(results[0].message, QStringLiteral("a.vfd: cannot be saved"));
        QVERIFY(!results[0].success);
        QVERIFY(results[1].success);
    }

    // --port auto: the only display that answered, at its speed unless
    // --settings says otherwise; none or several are refused with the list.
    void autoPort_data()
    {
        QTest::addColumn<QStringList>("answered"); // per port: the speed, or empty: no answer
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("chosen"); // "device settings", or the words of the refusal
        QTest::newRow("one") << QStringList{"", "19200,n,8,1"} << ""
                             << "/dev/b 19200,n,8,1";
        QTest::newRow("one, settings given") << QStringList{"9600,n,8,1", ""} << "9600,e,7,1"
                                             << "/dev/a 9600,e,7,1";
        QTest::newRow("none") << QStringList{"", ""} << ""
                              << "/dev/a: no answer\n  /dev/b: no answer";
        QTest::newRow("no ports") << QStringList{} << ""
                                  << "the system reports no serial ports";
        QTest::newRow("two") << QStringList{"9600,n,8,1", "9600,n,8,1"} << ""
                             << "2 displays answered";
    }
    void autoPort()
    {
        QFETCH(QStringList, answered);
        QFETCH(QString, settings);
        QFETCH(QString, chosen);
        QList<FindResult> results;
        for (qsizetype k = 0; k < answered.size(); ++k) {
            FindResult result;
            result.port = result.device = QStringLiteral("/dev/") + QChar(char16_t(u'a' + k));
            result.outcome = answered[k].isEmpty() ? FindResult::NoAnswer : FindResult::Answered;
            result.settings = answered[k];
            results << result;
        }
        try {
            const PerPort::Display display = Commands::onlyDisplay(results, settings);
            QCOMPARE(display.given, QStringLiteral("auto"));
            QCOMPARE(display.target.port.device() + ' ' + display.target.settings, chosen);
        } catch (const Cli::Failure &failure) {
            QCOMPARE(failure.status, int(Cli::Failed));
            QVERIFY2(failure.message.contains(chosen), qPrintable(failure.message));
        }
    }

    // The names that stay: links to the device, none to another.
    void stableNames()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QDir root(dir.path());
        QVERIFY(root.mkdir("by-id"));
        QVERIFY(writeFile(root.filePath("ttyUSB0")) && writeFile(root.filePath("ttyUSB1")));
        QVERIFY(QFile::link(root.filePath("ttyUSB0"), root.filePath("by-id/usb-FTDI_A-if00")));
        QVERIFY(QFile::link(root.filePath("ttyUSB1"), root.filePath("by-id/usb-FTDI_B-if00")));
        QVERIFY(QFile::link("../ttyUSB0", root.filePath("by-id/usb-Other-if00")));
        QCOMPARE(Commands::stableNames(root.filePath("ttyUSB0"), root.filePath("by-id")),
                 QStringList({root.filePath("by-id/usb-FTDI_A-if00"),
                              root.filePath("by-id/usb-Other-if00")}));
        QCOMPARE(Commands::stableNames(root.filePath("ttyS0"), root.filePath("by-id")),
                 QStringList());
    }

private:
    static bool writeFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    }
};

QTEST_GUILESS_MAIN(CtlUnitsTest)
#include "tst_ctlunits.moc"
