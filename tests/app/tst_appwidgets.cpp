#include <QAbstractItemView>
#include <QFont>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "app/widgets/AsciiCellValidator.h"
#include "app/widgets/DotButton.h"
#include "app/widgets/DotGrid.h"
#include "app/widgets/PortComboBox.h"
#include "app/widgets/WrapButton.h"
#include "link/PortChoice.h"
#include "model/OptionLists.h"

// The window's small widgets on their own.
class tst_AppWidgets : public QObject
{
    Q_OBJECT

private slots:
    void dotShowsItsState_data();
    void dotShowsItsState();
    void focusShowsOnLitAndDarkDots_data();
    void focusShowsOnLitAndDarkDots();
    void dotGridIsOneTabStopWithArrowKeys();
    void asciiValidator_data();
    void asciiValidator();
    void portListShowsDetectedPorts();
    void wrapButtonKeepsItsCaption();
};

void tst_AppWidgets::dotShowsItsState_data()
{
    QTest::addColumn<bool>("lit");
    QTest::newRow("dark") << false;
    QTest::newRow("lit") << true;
}

void tst_AppWidgets::dotShowsItsState()
{
    QFETCH(bool, lit);
    DotButton dot;
    dot.resize(25, 25);
    dot.setChecked(lit);
    const QColor expected = dot.palette().color(lit ? QPalette::WindowText : QPalette::Button);
    QCOMPARE(dot.fillColor(), expected);
    // What is painted, not only what is claimed: the middle of the dot.
    const QImage painted = dot.grab().toImage();
    QCOMPARE(painted.pixelColor(12, 12).rgb(), expected.rgb());
    // Lit and dark must be told apart on screen.
    QVERIFY(dot.palette().color(QPalette::WindowText) != dot.palette().color(QPalette::Button));
}

void tst_AppWidgets::focusShowsOnLitAndDarkDots_data()
{
    dotShowsItsState_data();
}

void tst_AppWidgets::focusShowsOnLitAndDarkDots()
{
    QFETCH(bool, lit);
    DotButton dot;
    dot.resize(25, 25);
    dot.setChecked(lit);
    dot.show();
    QVERIFY(QTest::qWaitForWindowActive(&dot));
    dot.setFocus();
    QVERIFY(dot.hasFocus());
    const QImage painted = dot.grab().toImage();
    // A ring in the highlight colour, and inside it one that stands out
    // from the fill.
    QCOMPARE(painted.pixelColor(1, 12).rgb(), dot.palette().color(QPalette::Highlight).rgb());
    const QColor inner = painted.pixelColor(3, 12);
    QVERIFY(qAbs(inner.lightness() - dot.fillColor().lightness()) > 100);
}

void tst_AppWidgets::dotGridIsOneTabStopWithArrowKeys()
{
    QWidget window;
    auto *before = new QPushButton(QStringLiteral("before"), &window);
    auto *grid = new DotGrid(5, 7, 32, 25, &window);
    grid->move(0, 40);
    auto *after = new QPushButton(QStringLiteral("after"), &window);
    after->move(200, 0);
    QSignalSpy toggled(grid, &DotGrid::dotToggled);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();

    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), grid->dot(1, 0));
    // Right and Down move across and down; the edges hold.
    for (Qt::Key key :
         {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up})
        QTest::keyClick(QApplication::focusWidget(), key);
    QCOMPARE(QApplication::focusWidget(), grid->dot(2, 0));
    for (int k = 0; k < 9; ++k)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), grid->dot(2, 6));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(grid->dot(2, 6)->isChecked());
    QCOMPARE(toggled.size(), 1);
    QCOMPARE(toggled[0], (QVariantList{2, 6, true}));

    // One Tab leaves the grid; Shift+Tab comes back to the same dot.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), grid->dot(2, 6));
}

void tst_AppWidgets::asciiValidator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("A") << "A" << true;
    QTest::newRow("tilde") << "~" << true;
    QTest::newRow("y diaeresis") << QString(QChar(0xFF)) << true;
    QTest::newRow("two characters") << "AB" << false;
    QTest::newRow("Greek alpha") << QString(QChar(0x03B1)) << false;
    QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80") << false;
}

void tst_AppWidgets::asciiValidator()
{
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    AsciiCellValidator validator;
    int pos = 0;
    QCOMPARE(validator.validate(text, pos),
             acceptable ? QValidator::Acceptable : QValidator::Invalid);
}

namespace {
// Ports that a test plugs in and pulls out.
class FakeEnumerator final : public PortEnumerator
{
public:
    explicit FakeEnumerator(const QList<DetectedPort> *ports) : m_ports(ports) {}
    QList<DetectedPort> ports() const override { return *m_ports; }

private:
    const QList<DetectedPort> *m_ports;
};
} // namespace

void tst_AppWidgets::portListShowsDetectedPorts()
{
    const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    QList<DetectedPort> plugged = {{"/dev/ttyUSB0", "FT232R USB UART"}, {byId, ""}};
    PortComboBox box;
    box.setPortEnumerator(std::make_unique<FakeEnumerator>(&plugged));
    box.addItems(OptionLists::commPorts());
    box.setEditText("/dev/typed");
    box.show();

    box.showPopup();
    QCOMPARE(box.count(), 10);
    QCOMPARE(box.itemText(7), QStringLiteral("Com 8"));
    QCOMPARE(box.itemText(8), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(box.itemData(8, Qt::AccessibleTextRole).toString(),
             QStringLiteral("/dev/ttyUSB0  FT232R USB UART"));
    QCOMPARE(box.currentText(), QStringLiteral("/dev/typed"));
    QCOMPARE(box.toolTip(), QStringLiteral("Serial ports found:\n/dev/ttyUSB0 - FT232R USB UART\n") + byId);
    QVERIFY(box.view()->width() >= box.fontMetrics().horizontalAdvance(byId));
    box.hidePopup();

    box.setCurrentIndex(8);
    QCOMPARE(PortChoice::fromComboText(OptionLists::commPorts(), box.currentText()).device(),
             QStringLiteral("/dev/ttyUSB0"));

    // Pulled out and another plugged in: the list follows, the box keeps its text.
    plugged = {{"/dev/ttyACM0", "USB serial"}};
    box.showPopup();
    QCOMPARE(box.count(), 9);
    QCOMPARE(box.itemText(8), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(box.currentText(), QStringLiteral("/dev/ttyUSB0"));
    box.hidePopup();

    plugged.clear();
    box.showPopup();
    QCOMPARE(box.count(), 8);
    QCOMPARE(box.toolTip(), QStringLiteral("No serial port found"));
    box.hidePopup();
}

void tst_AppWidgets::wrapButtonKeepsItsCaption()
{
    WrapButton button(QStringLiteral("Get Setting From VFD"));
    // In the window's font: in a system's smaller default font (Wine's) the
    // caption fits on one line.
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPointSizeF(10.5);
    windowFont.setBold(true);
    button.setFont(windowFont);
    button.resize(129, 49);
    QCOMPARE(button.text(), QStringLiteral("Get Setting From VFD"));
    // The caption is painted: dark text pixels on both lines of the button.
    const QImage painted = button.grab().toImage();
    const auto darkPixels = [&](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 4; x < painted.width() - 4; ++x)
                count += painted.pixelColor(x, y).lightness() < 100;
        return count;
    };
    const int middle = painted.height() / 2;
    QVERIFY(darkPixels(4, middle) > 20);
    QVERIFY(darkPixels(middle, painted.height() - 4) > 20);
}

QTEST_MAIN(tst_AppWidgets)
#include "tst_appwidgets.moc"
