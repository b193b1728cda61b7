// Start-up time and peak memory of the window, beside a bare Qt window with
// one button built the same way. Each sample is a fresh process: the parent
// re-launches this program as a child that shows one window (offscreen) and
// reports once its first paint has happened.
//
//   bench_startup [runs]            print the comparison (default 15 runs)
//   bench_startup --child form1|bare

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "app/Form1.h"
#include "app/WidgetPrompts.h"
#include "link/SerialPortComm.h"
#include "link/TickCounter.h"

namespace {

constexpr int ChildTimeoutMs = 30000;
// The window may take this much longer, and this much more memory, than the
// bare one.
constexpr double Target = 1.1;

// Peak resident set size of this process in kB, from the kernel's VmHWM.
long peakResidentKb()
{
    // /proc files report no size, so read them whole rather than by atEnd().
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Reports, once, after the watched window's first paint has been handled.
class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Let the rest of this paint pass (the children) finish first.
            QTimer::singleShot(0, qApp, [] {
                std::printf("painted %ld\n", peakResidentKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int runChild(int argc, char *argv[], const QByteArray &kind)
{
    QApplication app(argc, argv);
    FirstPaint watcher;

    std::unique_ptr<SerialPortComm> comm;
    std::unique_ptr<SystemTickCounter> ticks;
    std::unique_ptr<WidgetPrompts> prompts;
    std::unique_ptr<QWidget> window;
    if (kind == "form1") {
        comm = std::make_unique<SerialPortComm>();
        ticks = std::make_unique<SystemTickCounter>();
        prompts = std::make_unique<WidgetPrompts>();
        window = std::make_unique<Form1>(*comm, *ticks, *prompts);
        prompts->setParentWidget(window.get());
    } else {
        window = std::make_unique<QWidget>();
        window->setWindowTitle(QStringLiteral("bare"));
        window->setFixedSize(631, 631);
        auto *button = new QPushButton(QStringLiteral("Button"), window.get());
        button->setGeometry(16, 584, 169, 41);
    }
    window->installEventFilter(&watcher);
    window->show();
    return app.exec();
}

struct Sample
{
    double ms = 0;
    long peakKb = -1;
};

bool runOnce(const QString &program, const QString &kind, Sample &sample)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);

    QElapsedTimer clock;
    clock.start();
    child.start(program, {QStringLiteral("--child"), kind});
    QByteArray output;
    while (!output.contains('\n')) {
        if (!child.waitForReadyRead(ChildTimeoutMs)) {
            child.kill();
            child.waitForFinished(ChildTimeoutMs);
            return false;
        }
        output += child.readAllStandardOutput();
    }
    sample.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const QList<QByteArray> words = output.trimmed().split(' ');
    sample.peakKb = words.value(1).toLong();
    if (!child.waitForFinished(ChildTimeoutMs))
        child.kill();
    return words.value(0) == "painted";
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv, argv[2]);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 15;
    const QString program = QCoreApplication::applicationFilePath();

    std::vector<double> times[2];
    std::vector<long> peaks[2];
    const QString kinds[2] = {QStringLiteral("form1"), QStringLiteral("bare")};
    // One warm-up of each, so that the first sample does not pay for cold caches.
    for (const QString &kind : kinds) {
        Sample ignored;
        runOnce(program, kind, ignored);
    }
    // Interleaved, so that a change in machine load hits both alike.
    for (int run = 0; run < runs; ++run) {
        for (int k = 0; k < 2; ++k) {
            Sample sample;
            if (!runOnce(program, kinds[k], sample)) {
                std::fprintf(stderr, "the %s child did not report its first paint\n",
                             qPrintable(kinds[k]));
                return 1;
            }
            times[k].push_back(sample.ms);
            peaks[k].push_back(sample.peakKb);
        }
    }

    const double ours = median(times[0]);
    const double bare = median(times[1]);
    const long ourPeak = median(peaks[0]);
    const long barePeak = median(peaks[1]);
    std::printf("start-up to first paint (offscreen), median of %d runs\n", runs);
    std::printf("  %-28s %8.1f ms   peak RSS %7ld kB\n", "TQ-540 window (Form1)", ours, ourPeak);
    std::printf("  %-28s %8.1f ms   peak RSS %7ld kB\n", "bare Qt window, one button", bare,
                barePeak);
    const auto verdict = [](double ratio) { return ratio <= Target ? "met" : "NOT MET"; };
    const double timeRatio = ours / bare;
    const double memoryRatio = double(ourPeak) / double(barePeak);
    std::printf("  time ratio   %.2f (target: within %.2f) %s\n", timeRatio, Target,
                verdict(timeRatio));
    std::printf("  memory ratio %.2f (target: within %.2f) %s\n", memoryRatio, Target,
                verdict(memoryRatio));
    return 0;
}
