// How much time the software adds to each byte of a transfer, measured over
// a pseudo-terminal (no line time) against the simulated display.

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "link/SerialPortComm.h"
#include "link/Transfer.h"
#include "messages/Messages.h"
#include "model/SettingsImage.h"

namespace {

constexpr int Runs = 20;
constexpr int DownloadBytes = 129; // 0x1B 0xEF 0xAA and 126 image bytes
constexpr int UploadBytes = 2 + 127;
// One byte at 9600 baud: start bit, 8 data bits, stop bit.
constexpr double LineMsPerByte = 10.0 * 1000.0 / 9600.0;

struct Figures
{
    double mean = 0;
    double min = 0;
    double max = 0;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (const double v : ms)
        sum += v;
    return {sum / static_cast<double>(ms.size()), ms.front(), ms.back()};
}

void print(const char *what, const Figures &f, int bytes)
{
    const double perByte = f.mean / bytes;
    std::printf("%-28s mean %7.3f ms (min %7.3f, max %7.3f), %8.4f ms per byte = %6.2f %% of "
                "the line time\n",
                what, f.mean, f.min, f.max, perByte, 100.0 * perByte / LineMsPerByte);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    QProcess simulator;
    simulator.start(QStringLiteral(TQ540SIM), {QStringLiteral("--quiet")});
    if (!simulator.waitForStarted(5000) || !simulator.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_transfer: the simulator did not start\n");
        return 1;
    }
    const QByteArray line = simulator.readLine().trimmed();
    if (!line.startsWith("port: ")) {
        std::fprintf(stderr, "bench_transfer: unexpected simulator output: %s\n", line.constData());
        return 1;
    }
    const QString port = QString::fromLocal8Bit(line.mid(6));

    const Transfer::Target target{{0, port, port}, QStringLiteral("9600,n,8,1")};
    SettingsImage image;
    for (int k = 1; k < ImageLayout::Size; ++k)
        image.set(k, static_cast<quint8>(k));

    SerialPortComm comm;
    SystemTickCounter ticks;
    std::vector<double> downloads;
    std::vector<double> uploads;
    std::vector<double> pacing;
    QElapsedTimer clock;
    QByteArray bytes = QByteArray("\x1B\xEF\xAA") + image.configBytes();
    for (int run = 0; run < Runs; ++run) {
        // The byte loop alone: what SendByte adds to every byte, without
        // the fixed cost of opening and closing the port.
        comm.setPortName(port);
        if (!comm.setSettings(target.settings) || !comm.setPortOpen(true)) {
            std::fprintf(stderr, "bench_transfer: %s\n",
                         qPrintable(Messages::reason(comm.error())));
            return 1;
        }
        clock.start();
        for (const char byte : bytes) {
            if (!Transfer::SendByte(comm, ticks, static_cast<quint8>(byte))) {
                std::fprintf(stderr, "bench_transfer: a byte was not sent\n");
                return 1;
            }
        }
        pacing.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        comm.setPortOpen(false);
    }
    for (int run = 0; run < Runs; ++run) {
        clock.start();
        const Result<void> down = Transfer::download(comm, ticks, target, image);
        downloads.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        clock.start();
        const Result<SettingsImage> up = Transfer::upload(comm, ticks, target);
        uploads.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (!down || !up) {
            std::fprintf(stderr, "bench_transfer: run %d failed: %s\n", run,
                         qPrintable(Messages::sentence(down ? up.error() : down.error())));
            return 1;
        }
    }
    simulator.terminate();
    simulator.waitForFinished(2000);

    std::printf("pseudo-terminal %s, settings 9600,n,8,1 (a pty has no line time)\n",
                qPrintable(port));
    std::printf("line time of one byte at 9600 baud (10 bits): %.3f ms\n", LineMsPerByte);
    std::printf("%d runs of each\n", Runs);
    print("SendByte, 129 bytes:", summarise(pacing), DownloadBytes);
    print("download, open to close:", summarise(downloads), DownloadBytes);
    print("upload, open to close:", summarise(uploads), UploadBytes);
    const Figures down = summarise(downloads);
    std::printf("whole download without the closing %d ms pause: mean %.3f ms, max %.3f ms "
                "(on the line at 9600 baud it adds %.1f ms)\n",
                Transfer::ClosingPauseMs, down.mean, down.max, DownloadBytes * LineMsPerByte);
    std::printf("target: SendByte under 2 %% of the line time per byte; the whole transfers "
                "also carry opening and closing the port once\n");
    return 0;
}
