// tq540ctl's results per display, as scripts read them, against simulated
// displays on pseudo-terminals.

#include <csignal>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "support/CtlProcess.h"
#include "support/SilentPty.h"
#include "support/SimProcess.h"

class TestCtlPorts : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void everyCommandGivesOneShape_data();
    void everyCommandGivesOneShape();
    void ctrlCPrintsEachPort();
    void testScreenReachesTheGlass();

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    static CtlResult ctl(const QStringList &arguments) { return runCtl(arguments); }

    QTemporaryDir m_dir;
};

void TestCtlPorts::everyCommandGivesOneShape_data()
{
    // %ok answers, %mute never answers, %ks holds KS310, %gone is no port,
    // %file a settings file; %ok-short is %ok without its /dev/.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("outcomes");  // by --port, in order; empty: any (ports)
    QTest::addColumn<QStringList>("ownFields"); // with a success
    QTest::addColumn<bool>("lineEach");         // the text is one line per port

    const auto row = [](const char *name, const QStringList &arguments, int status,
                        const QStringList &outcomes, const QStringList &fields, bool lineEach) {
        QTest::newRow(name) << arguments << status << outcomes << fields << lineEach;
    };
    row("download", {"download", "%file", "-p", "%ok-short", "-p", "%gone"}, 1, {"ok", "failed"},
        {"differences"}, true);
    row("upload", {"upload", "-p", "%ok"}, 0, {"ok"}, {"image"}, false);
    row("upload, no answer", {"upload", "-p", "%mute"}, 1, {"failed"}, {}, true);
    row("test", {"test", "-p", "%ok", "-p", "%ks", "-p", "%mute"}, 1, {"ok", "refused", "failed"},
        {"command", "command-position", "line1", "line2"}, true);
    row("find", {"find", "-p", "%ok", "-p", "%gone"}, 0, {"answered", "cannot open"},
        {"settings", "image"}, true);
    row("ports", {"ports"}, 0, {}, {"by-id"}, false);
}

void TestCtlPorts::everyCommandGivesOneShape()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, outcomes);
    QFETCH(QStringList, ownFields);
    QFETCH(bool, lineEach);

    SimProcess ok(QStringLiteral(TQ540SIM));
    SimProcess mute(QStringLiteral(TQ540SIM));
    SimProcess ks(QStringLiteral(TQ540SIM));
    QVERIFY(ok.start({"--quiet"}));
    QVERIFY(mute.start({"--quiet", "--no-answer"}));
    QVERIFY(ks.start({"--quiet", "--command", "KS310"}));
    QVERIFY(writeFile(path("file.vfd"), QByteArray(126, 0)));
    arguments.replaceInStrings("%ok-short", QString(ok.port()).remove("/dev/"))
        .replaceInStrings("%ok", ok.port())
        .replaceInStrings("%mute", mute.port())
        .replaceInStrings("%ks", ks.port())
        .replaceInStrings("%gone", path("gone"))
        .replaceInStrings("%file", path("file.vfd"));
    QStringList given;
    for (qsizetype k = 1; k < arguments.size(); ++k)
        if (arguments[k - 1] == "-p")
            given << arguments[k];

    const CtlResult json = ctl(arguments + QStringList{"--json"});
    QCOMPARE(json.status, status);
    const QJsonArray ports = QJsonDocument::fromJson(json.out.toUtf8())["ports"].toArray();
    if (!outcomes.isEmpty())
        QCOMPARE(ports.size(), outcomes.size());
    for (qsizetype k = 0; k < ports.size(); ++k) {
        const QJsonObject port = ports[k].toObject();
        // `device` is the path that was opened, never the key that tells
        // two names of one device apart.
        QVERIFY2(port["port"].isString() && port["device"].toString().startsWith('/') &&
                     port["outcome"].isString(),
                 qPrintable(json.out));
        if (outcomes.isEmpty())
            continue;
        QCOMPARE(port["port"].toString(), given[k]);
        const QString outcome = port["outcome"].toString();
        QCOMPARE(outcome, outcomes[k]);
        const bool success = outcome == "ok" || outcome == "answered";
        QCOMPARE(port.contains("message"), !success);
        for (const QString &field : ownFields)
            QVERIFY2(!success || port.contains(field), qPrintable(field + " in " + json.out));
    }

    const CtlResult text = ctl(arguments);
    QCOMPARE(text.status, status);
    if (!lineEach)
        return;
    const QStringList lines = text.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), given.size());
    for (qsizetype k = 0; k < lines.size(); ++k)
        QVERIFY2(lines[k].startsWith(given[k] + ": " + outcomes[k]), qPrintable(lines[k]));
}

// Ctrl+C in the middle: what runs ends by itself, every display gets its
// line, and the status says the run was stopped.
void TestCtlPorts::ctrlCPrintsEachPort()
{
    SimProcess slow(QStringLiteral(TQ540SIM));
    SilentPty silent;
    QVERIFY(slow.start({"--quiet", "--first-byte-delay", "1200"}));
    QProcess process;
    process.start(QStringLiteral(TQ540CTL), {"test", "-p", slow.port(), "-p", silent.port()});
    QVERIFY(process.waitForStarted(5000));
    QTest::qWait(400);
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 130);
    const QStringList lines =
        QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith(slow.port() + ": ok: "), qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith(silent.port() + ": failed: "), qPrintable(lines[1]));
    QVERIFY(process.readAllStandardError().contains("Ctrl+C"));
}

// Two displays at once, one in the set it holds, one in the set the
// point-of-sale program uses; a set with no public description sends nothing.
void TestCtlPorts::testScreenReachesTheGlass()
{
    SimProcess held(QStringLiteral(TQ540SIM));
    SimProcess told(QStringLiteral(TQ540SIM));
    QVERIFY(held.start({"--quiet", "--command", "LogicControl", "--screen", path("held.txt")}));
    QVERIFY(told.start({"--quiet", "--command", "cd5220", "--screen", path("told.txt")}));

    const CtlResult fromDisplay = ctl({"test", "--port", held.port()});
    QCOMPARE(fromDisplay.status, 0);
    QCOMPARE(fromDisplay.out, held.port() + ": ok: test screen written in LogicControl, the "
                                            "command set the display holds\n");
    QTRY_COMPARE(readFile(path("held.txt")), QByteArray("TQ-540 LogicControl \n"
                                                        "9600,n,8,1 OK       \n"));

    const CtlResult fromOption = ctl({"test", "--port", told.port(), "--port", held.port(),
                                   "--command", "7", "--line1", "TOTAL", "--line2", "12.50"});
    QCOMPARE(fromOption.status, 0);
    QTRY_COMPARE(readFile(path("told.txt")), QByteArray("TOTAL               \n"
                                                        "12.50               \n"));
    // The same bytes in the wrong set do not make the text.
    QVERIFY(!readFile(path("held.txt")).startsWith("TOTAL "));

    const QByteArray before = readFile(path("told.txt"));
    const CtlResult refused = ctl({"test", "--port", told.port(), "--command", "KS310"});
    QCOMPARE(refused.status, 2);
    QVERIFY2(refused.err.contains("no public description of the KS310 command set"),
             qPrintable(refused.err));
    QVERIFY(refused.out.isEmpty());
    QCOMPARE(readFile(path("told.txt")), before);

    // A display that holds such a set is a display that failed, not a usage error.
    SimProcess ks310(QStringLiteral(TQ540SIM));
    QVERIFY(ks310.start({"--quiet", "--command", "KS310"}));
    const CtlResult held310 = ctl({"test", "--port", ks310.port(), "--port", told.port()});
    QCOMPARE(held310.status, 1);
    QVERIFY2(held310.out.startsWith(ks310.port() + ": refused: the display holds KS310: "),
             qPrintable(held310.out));
}

QTEST_GUILESS_MAIN(TestCtlPorts)
#include "tst_ctlports.moc"
