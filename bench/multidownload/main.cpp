// How long tq540ctl takes to write one settings file into eight displays at
// once against one display, with eight simulated displays on
// pseudo-terminals, and how much memory it needs. Linux only.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "editors/Configuration.h"
#include "files/SettingsFile.h"
#include "link/Transfer.h"
#include "support/CtlRun.h"
#include "support/SimProcess.h"

namespace {

constexpr int Displays = 8;
constexpr int Runs = 5;
constexpr double Target = 1.25;

struct Figure
{
    double wallMs = 0;
    long peakKb = 0; // peak resident memory of tq540ctl
};

// tq540ctl's wall time and peak memory; false when it did not exit with 0.
bool measureCtl(const QStringList &arguments, Figure *figure)
{
    const CtlRun run = runCtl(arguments);
    figure->wallMs = run.wallMs;
    figure->peakKb = run.peakKb;
    return run.exitStatus == 0;
}

struct Summary
{
    double mean = 0;
    double min = 0;
    double max = 0;
    long peakKb = 0;
};

Summary summarise(const std::vector<Figure> &figures)
{
    Summary s{0, figures.front().wallMs, figures.front().wallMs, 0};
    for (const Figure &f : figures) {
        s.mean += f.wallMs / static_cast<double>(figures.size());
        s.min = std::min(s.min, f.wallMs);
        s.max = std::max(s.max, f.wallMs);
        s.peakKb = std::max(s.peakKb, f.peakKb);
    }
    return s;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shop.vfd"));
    Configuration config;
    config.SetAllDefault();
    config.AssembleImage();
    if (!dir.isValid() || !SettingsFile::write(file, config.image().configBytes())) {
        std::fprintf(stderr, "bench_multidownload: cannot write %s\n", qPrintable(file));
        return 1;
    }

    std::vector<std::unique_ptr<SimProcess>> sims;
    QStringList all;
    for (int k = 0; k < Displays; ++k) {
        sims.push_back(std::make_unique<SimProcess>(QStringLiteral(TQ540SIM)));
        if (!sims.back()->start({QStringLiteral("--quiet")})) {
            std::fprintf(stderr, "bench_multidownload: simulator %d did not start\n", k + 1);
            return 1;
        }
        all << QStringLiteral("--port") << sims.back()->port();
    }
    QStringList one = all.mid(0, 2);

    // Alternated, so that a slow moment of the machine hits both alike.
    std::vector<Figure> single;
    std::vector<Figure> eight;
    for (int run = 0; run < Runs; ++run) {
        for (const auto &[ports, figures] : {std::pair{&one, &single}, std::pair{&all, &eight}}) {
            Figure figure;
            if (!measureCtl(QStringList{QStringLiteral("download"), file} + *ports, &figure)) {
                std::fprintf(stderr, "bench_multidownload: a download failed in run %d\n", run);
                return 1;
            }
            figures->push_back(figure);
        }
    }

    const Summary s1 = summarise(single);
    const Summary s8 = summarise(eight);
    std::printf("tq540ctl download of one file, %d runs each, simulated displays on "
                "pseudo-terminals (no line time; closing pause %d ms included)\n",
                Runs, Transfer::ClosingPauseMs);
    std::printf("1 display:  wall mean %7.1f ms (min %7.1f, max %7.1f), peak RSS %ld KiB\n",
                s1.mean, s1.min, s1.max, s1.peakKb);
    std::printf("%d displays: wall mean %7.1f ms (min %7.1f, max %7.1f), peak RSS %ld KiB\n",
                Displays, s8.mean, s8.min, s8.max, s8.peakKb);
    const double ratio = s8.mean / s1.mean;
    std::printf("ratio %d / 1: %.3f (target at most %.2f): %s\n", Displays, ratio, Target,
                ratio <= Target ? "met" : "NOT met");
    return 0;
}
