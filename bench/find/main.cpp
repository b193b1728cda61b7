// How long tq540ctl find takes over eight ports, one with a display and
// seven silent, against asking one silent port at both speeds: the ports
// are asked side by side, so the eight should cost little more than the
// one. Simulated displays on pseudo-terminals; Linux only.
//
// A pseudo-terminal carries bytes at any speed, so the display here answers
// at the first speed asked; the silent ports, which wait out both speeds,
// set the time either way.

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "link/Transfer.h"
#include "support/SimProcess.h"

extern char **environ;

namespace {

constexpr int Ports = 8;
constexpr int Runs = 3;
constexpr double Target = 1.2;

// Runs tq540ctl with its output thrown away; its wall time in ms, or a
// negative figure when it did not exit with `expected`.
double runCtl(const QStringList &arguments, int expected)
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
    if (spawned != 0)
        return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return WIFEXITED(status) && WEXITSTATUS(status) == expected ? ms : -1;
}

double mean(const std::vector<double> &figures)
{
    double sum = 0;
    for (const double f : figures)
        sum += f;
    return sum / static_cast<double>(figures.size());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::vector<std::unique_ptr<SimProcess>> sims;
    QStringList all;
    for (int k = 0; k < Ports; ++k) {
        sims.push_back(std::make_unique<SimProcess>(QStringLiteral(TQ540SIM)));
        QStringList options{QStringLiteral("--quiet")};
        if (k != 0)
            options << QStringLiteral("--no-answer");
        if (!sims.back()->start(options)) {
            std::fprintf(stderr, "bench_find: simulator %d did not start\n", k + 1);
            return 1;
        }
        all << QStringLiteral("--port") << sims.back()->port();
    }
    const QStringList silent = all.mid(2, 2);

    // Alternated, so that a slow moment of the machine hits both alike.
    std::vector<double> one;
    std::vector<double> eight;
    for (int run = 0; run < Runs; ++run) {
        const double oneMs = runCtl(QStringList{QStringLiteral("find")} + silent, 1);
        const double eightMs = runCtl(QStringList{QStringLiteral("find")} + all, 0);
        if (oneMs < 0 || eightMs < 0) {
            std::fprintf(stderr, "bench_find: find ended unexpectedly in run %d\n", run);
            return 1;
        }
        one.push_back(oneMs);
        eight.push_back(eightMs);
    }

    std::printf("tq540ctl find, %d runs each, simulated ports on pseudo-terminals (upload waits "
                "%d ms per speed)\n",
                Runs, Transfer::FirstByteWaitMs);
    std::printf("1 silent port:                 wall mean %7.1f ms (min %7.1f, max %7.1f)\n",
                mean(one), *std::min_element(one.begin(), one.end()),
                *std::max_element(one.begin(), one.end()));
    std::printf("%d ports, 1 display, %d silent: wall mean %7.1f ms (min %7.1f, max %7.1f)\n",
                Ports, Ports - 1, mean(eight), *std::min_element(eight.begin(), eight.end()),
                *std::max_element(eight.begin(), eight.end()));
    const double ratio = mean(eight) / mean(one);
    std::printf("ratio %d / 1: %.3f (target at most %.2f): %s\n", Ports, ratio, Target,
                ratio <= Target ? "met" : "NOT met");
    return 0;
}
