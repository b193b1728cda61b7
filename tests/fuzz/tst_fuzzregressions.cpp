// The fuzz checks over the starting corpus and over every input that ever made
// a fuzz target fail, in the ordinary test run.

#include <QDir>
#include <QFile>
#include <QTest>

#include "FuzzChecks.h"

using Check = QString (*)(QByteArrayView);

class FuzzRegressionTest : public QObject
{
    Q_OBJECT

private slots:
    void inputs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("target");
        int rows = 0;
        for (const QString &target : {QStringLiteral("settingsfile"), QStringLiteral("upload"),
                                      QStringLiteral("typing")}) {
            for (const QString &folder :
                 {QStringLiteral("corpus"), QStringLiteral("regressions")}) {
                const QDir dir(QStringLiteral(FUZZ_DIR "/%1/%2").arg(folder, target));
                for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name)) {
                    QTest::addRow("%s/%s/%s", qPrintable(folder), qPrintable(target),
                                  qPrintable(file.fileName()))
                        << file.filePath() << target;
                    ++rows;
                }
            }
        }
        QVERIFY(rows > 0);
    }
    void inputs()
    {
        QFETCH(QString, path);
        QFETCH(QString, target);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const Check check = target == QLatin1String("upload")   ? FuzzChecks::uploadReply
                            : target == QLatin1String("typing") ? FuzzChecks::lineTyping
                                                                : FuzzChecks::settingsFileLoad;
        const QString wrong = check(file.readAll());
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
};

QTEST_GUILESS_MAIN(FuzzRegressionTest)
#include "tst_fuzzregressions.moc"
