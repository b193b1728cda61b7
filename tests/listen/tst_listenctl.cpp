// tq540ctl listen as a technician runs it, against a simulated till.

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "listen/TillTraffic.h"
#include "support/SimProcess.h"

class TestListenCtl : public QObject
{
    Q_OBJECT

private slots:
    void namesTheSetAndTheSpeed();
    void usageErrorsListenToNothing_data();
    void usageErrorsListenToNothing();
};

// A till at 19200 baud: at 9600 the port hears garbage, at 19200 CD5220.
void TestListenCtl::namesTheSetAndTheSpeed()
{
    QTemporaryDir dir;
    SimProcess till(QStringLiteral(TQ540SIM));
    QVERIFY(till.start({"--till", "CD5220", "--speed", "19200", "--every", "300", "--quiet"}));
    const QString saved = dir.filePath(QStringLiteral("till.bin"));
    const QString picture = dir.filePath(QStringLiteral("glass.png"));

    QProcess listen;
    listen.start(QStringLiteral(TQ540CTL),
                 {"listen", "--port", till.port(), "--seconds", "2", "--both-speeds", "--json",
                  "--save", saved, "--png", picture});
    QVERIFY(listen.waitForFinished(20000));
    QCOMPARE(listen.exitCode(), 0);
    QVERIFY(listen.readAllStandardError().isEmpty());
    const QJsonObject result =
        QJsonDocument::fromJson(listen.readAllStandardOutput())[u"ports"][0].toObject();
    QCOMPARE(result[u"port"].toString(), till.port());
    QCOMPARE(result[u"outcome"].toString(), QStringLiteral("named"));

    QCOMPARE(result[u"speed"].toString(), QStringLiteral("19200,n,8,1"));
    QCOMPARE(result[u"commandSet"].toString(), QStringLiteral("CD5220"));
    const QJsonArray listens = result[u"listens"].toArray();
    QCOMPARE(listens.size(), 2);
    QCOMPARE(listens[0][u"verdict"].toString(), QStringLiteral("none-fits"));
    QCOMPARE(listens[1][u"verdict"].toString(), QStringLiteral("named"));
    // The glass shows one of the till's sales.
    const QString upper = result[u"rows"][0].toString();
    bool isSale = false;
    for (int n = 0; n < 20 && !isSale; ++n)
        isSale = upper == TillTraffic::saleRow(n, 0);
    QVERIFY2(isSale, qPrintable(upper));
    QCOMPARE(QFileInfo(saved).size(), result[u"bytes"].toInteger());
    QVERIFY(readFile(picture).startsWith("\x89PNG"));
}

void TestListenCtl::usageErrorsListenToNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString port = QStringLiteral("/dev/tq540-no-such-port");
    QTest::newRow("no port") << QStringList{"listen"} << "listen needs --port";
    QTest::newRow("no seconds") << QStringList{"listen", "--port", port, "--seconds", "0"}
                                << "--seconds needs a number from 1 to 600";
    QTest::newRow("too long") << QStringList{"listen", "--port", port, "--seconds", "601"}
                              << "--seconds needs a number from 1 to 600";
    QTest::newRow("both ways to a speed")
        << QStringList{"listen", "--port", port, "--settings", "9600,n,8,1", "--both-speeds"}
        << "give --settings or --both-speeds, not both";
    QTest::newRow("settings that do not parse")
        << QStringList{"listen", "--port", port, "--settings", "fast"} << "--settings";
}

// Refused before any port is opened: exit status 2 and the reason.
void TestListenCtl::usageErrorsListenToNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    QProcess listen;
    listen.start(QStringLiteral(TQ540CTL), arguments);
    QVERIFY(listen.waitForFinished(10000));
    QCOMPARE(listen.exitCode(), 2);
    QVERIFY(listen.readAllStandardOutput().isEmpty());
    const QString error = QString::fromUtf8(listen.readAllStandardError());
    QVERIFY2(error.contains(message), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestListenCtl)
#include "tst_listenctl.moc"
