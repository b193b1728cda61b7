#pragma once

// Runs tq540ctl (the path in TQ540CTL) for a benchmark, its output thrown
// away, and measures it. Linux only.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringList>

extern char **environ;

struct CtlRun
{
    int exitStatus = -1; // -1 when it could not be started or did not exit
    double wallMs = 0;
    long peakKb = 0; // peak resident memory
};

inline CtlRun runCtl(const QStringList &arguments)
{
    std::vector<QByteArray> owned{QByteArrayLiteral(TQ540CTL)};
    for (const QString &argument : arguments)
        owned.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : owned)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    CtlRun run;
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wallMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    run.peakKb = usage.ru_maxrss;
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    return run;
}
