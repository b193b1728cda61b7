// The cost of the glass: the Welcome page's preview after one keystroke,
// 1,000 screens of the simulated display drawn (and saved as --png does),
// and typing in a message cell with the preview shown against without it.
// Runs offscreen; prints microseconds of processor time.
//
//   bench_glass [keystrokes]   (default 2000)

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "app/Form1.h"
#include "app/WelcomePreview.h"
#include "app/WidgetPrompts.h"
#include "app/widgets/GlassView.h"
#include "commandsets/TestScreen.h"
#include "glass/GlassPicture.h"
#include "glass/GlassRenderer.h"
#include "link/SerialPortComm.h"
#include "link/TickCounter.h"
#include "screen/ScreenInterpreter.h"

namespace {

// Typing may take this much longer with the preview shown.
constexpr double Target = 1.1;
constexpr int Rounds = 5;

// This thread's processor time in nanoseconds: on a busy machine the wall
// clock also counts the time others ran.
qint64 cpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// One keystroke in a cell and the repaint it causes, on average.
double typingMicroseconds(QLineEdit *firstCell, int keystrokes)
{
    // Two texts in turn, so that every keystroke changes a cell.
    const QString texts[] = {QStringLiteral("THANK YOU, COME AGAI"),
                             QStringLiteral("thank you, come agai")};
    const qint64 start = cpuNanoseconds();
    for (int typed = 0, pass = 0; typed < keystrokes; ++pass) {
        firstCell->setFocus();
        firstCell->setCursorPosition(0);
        for (const QChar c : texts[pass % 2]) {
            QTest::keyClick(firstCell->window()->focusWidget(), c.toLatin1());
            QApplication::processEvents(); // the repaint, preview included
            if (++typed == keystrokes)
                break;
        }
    }
    return (cpuNanoseconds() - start) / 1000.0 / keystrokes;
}

// The preview after one changed cell: the cells worked out and drawn.
double previewMicroseconds(int renders)
{
    GlassRenderer renderer(3);
    QByteArray line1 = "*VFD DISPLAY TQ-540*";
    const QByteArray line2 = "**HAVE A NICE DAY AND THANK YOU**";
    renderer.render(GlassText::welcome(line1, line2, 0, {}).glass);
    const qint64 start = cpuNanoseconds();
    for (int k = 0; k < renders; ++k) {
        line1[k % 20] = char('A' + k % 26);
        renderer.render(GlassText::welcome(line1, line2, 0, {}).glass);
    }
    return (cpuNanoseconds() - start) / 1000.0 / renders;
}

// Screens a till writes (EPSON test screens with changing prices), each
// drawn as --png draws it; with `save`, also encoded as PNG in memory.
double screensMicroseconds(int screens, bool save)
{
    ScreenInterpreter display(1);
    GlassRenderer renderer(GlassPicture::FilePitch);
    qint64 drawing = 0;
    for (int k = 0; k < screens; ++k) {
        const TestScreen::Result screen = TestScreen::compose(
            1, QStringLiteral("ITEM %1").arg(k),
            QStringLiteral("TOTAL %1.%2").arg(k / 100).arg(k % 100, 2, 10, QLatin1Char('0')));
        display.feed(screen.bytes);
        const qint64 start = cpuNanoseconds();
        GlassText::Input input{{display.screen().rowBytes(0), display.screen().rowBytes(1)}, 0, {}};
        const QImage &picture = renderer.render(GlassText::resolve(input));
        if (save) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
        }
        drawing += cpuNanoseconds() - start;
    }
    return drawing / 1000.0 / screens;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(20, atoi(argv[1])) : 2000;

    std::printf("welcome preview, one cell changed: %.1f us per render\n",
                previewMicroseconds(2000));
    std::printf("1,000 screens of the simulated display: %.1f us per render, %.1f us with the "
                "PNG encoded\n",
                screensMicroseconds(1000, false), screensMicroseconds(1000, true));

    // Two windows, typed into in turn so that a busy machine slows both
    // alike: one with the preview, one where it is hidden and told nothing,
    // as if it were not there.
    SerialPortComm comm;
    SystemTickCounter ticks;
    WidgetPrompts prompts;
    Form1 shown(comm, ticks, prompts);
    Form1 bare(comm, ticks, prompts);
    QLineEdit *cells[2] = {};
    for (Form1 *window : {&shown, &bare}) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return 1;
        window->findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
        window->findChild<QRadioButton *>(QStringLiteral("Op_L1A"))->setChecked(true);
        cells[window == &bare] = window->findChild<QLineEdit *>(QStringLiteral("L1A(1)"));
    }
    bare.findChild<GlassView *>(QStringLiteral("WelcomePreview"))->hide();
    auto *preview = bare.findChild<WelcomePreview *>();
    Configuration &config = bare.configuration();
    for (QObject *sender : std::initializer_list<QObject *>{&config.line1(), &config.line2(),
                                                            &config.characters(), &config})
        QObject::disconnect(sender, nullptr, preview, nullptr);
    QApplication::processEvents();

    std::vector<double> with;
    std::vector<double> without;
    typingMicroseconds(cells[0], keystrokes / 4); // warm up
    typingMicroseconds(cells[1], keystrokes / 4);
    for (int round = 0; round < Rounds; ++round) {
        with.push_back(typingMicroseconds(cells[0], keystrokes));
        without.push_back(typingMicroseconds(cells[1], keystrokes));
    }

    // Both were typed into, or the figures say nothing.
    for (Form1 *window : {&shown, &bare}) {
        if (window->configuration().line1().bytes().left(5).toLower() != "thank") {
            std::fprintf(stderr, "the typing did not reach a window\n");
            return 1;
        }
    }
    const double ratio = median(with) / median(without);
    std::printf("typing in a message cell, median of %d rounds of %d keystrokes:\n"
                "  with the preview shown: %.1f us per keystroke\n"
                "  without it:             %.1f us per keystroke\n"
                "  ratio %.2f (target at most %.1f): %s\n",
                Rounds, keystrokes, median(with), median(without), ratio, Target,
                ratio <= Target ? "met" : "NOT met");
    return 0;
}
