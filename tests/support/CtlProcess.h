#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// tq540ctl run as a script runs it: its exit status and both outputs.
struct CtlResult
{
    int status = -1; // -1: crashed or did not end
    QString out;
    QString err;
};

inline CtlResult runCtl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TQ540CTL), arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(2000);
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
