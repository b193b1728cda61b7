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
};

// A till at 19200 baud: at 9600 the port hears garbage, at 19200 CD5220.
void TestListenCtl::namesTheSetAndTheSpeed()
{
    QTemporaryDir dir;
    SimProcess till(QStringLiteral(TQ540SIM));
    QVERIFY(till.start({"--till", "CD5220", "--speed", "19200", "--every", "300", "--quiet"}));
    const QString saved = dir.filePath(QStringLiteral("till.bin"));

    QProcess listen;
    listen.start(QStringLiteral(TQ540CTL), {"listen", "--port", till.port(), "--seconds", "2",
                                            "--both-speeds", "--json", "--save", saved});
    QVERIFY(listen.waitForFinished(20000));
    QCOMPARE(listen.exitCode(), 0);
    QVERIFY(listen.readAllStandardError().isEmpty());
    const QJsonObject result = QJsonDocument::fromJson(listen.readAllStandardOutput()).object();

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
}

QTEST_GUILESS_MAIN(TestListenCtl)
#include "tst_listenctl.moc"
