#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// The simulated display (tq540sim) as a child process on a pseudo-terminal
// of its own; stopped, at the latest, when this object goes.
class SimProcess
{
public:
    explicit SimProcess(const QString &program) : m_program(program) {}
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts it and reads the port it prints first; false when that fails.
    bool start(const QStringList &arguments)
    {
        m_process.start(m_program, arguments);
        if (!m_process.waitForStarted(5000))
            return false;
        for (int waited = 0; !m_output.contains('\n') && waited < 50; ++waited) {
            m_process.waitForReadyRead(100);
            m_output += m_process.readAll();
        }
        const qsizetype end = m_output.indexOf('\n');
        if (!m_output.startsWith("port: ") || end < 0)
            return false;
        m_port = QString::fromLocal8Bit(m_output.mid(6, end - 6));
        return true;
    }

    QString port() const { return m_port; }

    // Waits for it to end by itself (--once); true when it ended well.
    bool finish()
    {
        const bool ended = m_process.waitForFinished(5000);
        m_output += m_process.readAll();
        return ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

    // Everything it printed so far.
    QByteArray output()
    {
        m_process.waitForReadyRead(50);
        m_output += m_process.readAll();
        return m_output;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(2000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

private:
    QString m_program;
    QProcess m_process;
    QString m_port;
    QByteArray m_output;
};

// Whole-file helpers for tests that look at what a program wrote.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
