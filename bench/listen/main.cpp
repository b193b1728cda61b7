// How fast a capture is ranked against every command set, beside the rate
// a till's line can deliver at 19200 baud (8N1: 1,920 bytes a second).

#include <cstdio>
#include <ctime>

#include <QElapsedTimer>

#include "commandsets/CommandSets.h"
#include "listen/LineSpeed.h"
#include "listen/Listener.h"
#include "listen/Recognition.h"
#include "listen/TillTraffic.h"

namespace {

constexpr double LineBytesPerSecond = 19200.0 / 10;

QByteArray capture(int commandSet)
{
    QByteArray bytes = TillTraffic::startUp(commandSet);
    for (int n = 0; bytes.size() < Listener::CaptureLimit; ++n)
        bytes += TillTraffic::sale(commandSet, n);
    return bytes.left(Listener::CaptureLimit);
}

void measure(const char *what, const QByteArray &bytes)
{
    // Wall time counts other programs on a busy machine; processor time
    // does not, and ranking runs on one core.
    QElapsedTimer clock;
    clock.start();
    const std::clock_t processorStart = std::clock();
    constexpr int Rounds = 3;
    for (int round = 0; round < Rounds; ++round)
        (void)Recognizer::recognize(bytes);
    const double wall = double(clock.nsecsElapsed()) / 1e9 / Rounds;
    const double processor = double(std::clock() - processorStart) / CLOCKS_PER_SEC / Rounds;
    const double mbPerSecond = double(bytes.size()) / processor / 1e6;
    std::printf("%-36s %7.2f MB/s  %6.0f x the 19200 line  (wall clock: %.2f MB/s)\n", what,
                mbPerSecond, mbPerSecond * 1e6 / LineBytesPerSecond,
                double(bytes.size()) / wall / 1e6);
}

} // namespace

int main()
{
    std::printf("ranking %lld bytes against every described set (target: 1000 x the line)\n",
                static_cast<long long>(Listener::CaptureLimit));
    measure("EPSON till", capture(CommandSets::Epson));
    measure("CD5220 till", capture(CommandSets::Cd5220));
    measure("AEDEX till", capture(CommandSets::Aedex));
    measure("EPSON till heard at the wrong speed",
            LineSpeed::reframe(capture(CommandSets::Epson), 9600, 19200)
                .bytes.left(Listener::CaptureLimit));
    return 0;
}
