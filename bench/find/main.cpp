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
#include <memory>
#include <vector>

#include <QCoreApplication>

#include "link/Transfer.h"
#include "support/CtlRun.h"
#include "support/SimProcess.h"

namespace {

constexpr int Ports = 8;
constexpr int Runs = 3;
constexpr double Target = 1.2;

// tq540ctl's wall time in ms, or a negative figure when it did not exit
// with `expected`.
double timeCtl(const QStringList &arguments, int expected)
{
    const CtlRun run = runCtl(arguments);
    return run.exitStatus == expected ? run.wallMs : -1;
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
        const double oneMs = timeCtl(QStringList{QStringLiteral("find")} + silent, 1);
        const double eightMs = timeCtl(QStringList{QStringLiteral("find")} + all, 0);
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
