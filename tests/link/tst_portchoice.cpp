#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "link/PortChoice.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {
const QStringList Ports = {"Com 1", "Com 2", "Com 3", "Com 4", "Com 5", "Com 6", "Com 7", "Com 8"};
}

class PortChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void fromComboText_data();
    void fromComboText();
    void systemPortName_data();
    void systemPortName();
    void deviceKey_data();
    void deviceKey();
};

void PortChoiceTest::fromComboText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");

    QTest::newRow("first entry") << "Com 1" << 1 << "";
    QTest::newRow("third entry") << "Com 3" << 3 << "";
    QTest::newRow("last entry") << "Com 8" << 8 << "";
    QTest::newRow("empty") << "" << 0 << "";
    QTest::newRow("blanks") << "   " << 0 << "";
    QTest::newRow("usb adapter") << "/dev/ttyUSB0" << 0 << "/dev/ttyUSB0";
    QTest::newRow("by id") << "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0" << 0
                           << "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0";
    QTest::newRow("windows name") << "COM12" << 0 << "COM12";
    QTest::newRow("trimmed device") << "  /dev/ttyACM0 " << 0 << "/dev/ttyACM0";
    QTest::newRow("entry in other case") << "com 3" << 0 << "com 3";
    QTest::newRow("entry beyond the list") << "Com 9" << 0 << "Com 9";
}

void PortChoiceTest::fromComboText()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, device);

    const PortChoice choice = PortChoice::fromComboText(Ports, text);
    QCOMPARE(choice.number, number);
    QCOMPARE(choice.deviceName, device);
    QCOMPARE(choice.shownText, text);
}

void PortChoiceTest::systemPortName_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");

#if defined(Q_OS_WIN)
    QTest::newRow("1") << 1 << "COM1";
    QTest::newRow("8") << 8 << "COM8";
#elif defined(Q_OS_LINUX)
    QTest::newRow("1") << 1 << "/dev/ttyS0";
    QTest::newRow("3") << 3 << "/dev/ttyS2";
    QTest::newRow("8") << 8 << "/dev/ttyS7";
#else
    QTest::newRow("1") << 1 << "";
#endif
    QTest::newRow("none") << 0 << "";
    QTest::newRow("negative") << -1 << "";
}

void PortChoiceTest::systemPortName()
{
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(::systemPortName(number), expected);
}

QTEST_GUILESS_MAIN(PortChoiceTest)
#include "tst_portchoice.moc"

// Two names for one device give one key, so that no port is opened twice.
void PortChoiceTest::deviceKey_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("same");

#if defined(Q_OS_WIN)
    QTest::newRow("case") << "COM3"
                          << "com3" << true;
    QTest::newRow("device namespace") << "\\\\.\\COM12"
                                      << "COM12" << true;
    QTest::newRow("entry and its device") << "Com 1"
                                          << "COM1" << true;
    QTest::newRow("other port") << "COM3"
                                << "COM4" << false;
#else
    QTest::newRow("bare name and path") << "pts/3"
                                        << "/dev/pts/3" << true;
    QTest::newRow("link and its target") << "@link"
                                         << "@target" << true;
    QTest::newRow("hard link and its target") << "@hard"
                                              << "@target" << true;
    QTest::newRow("dot segments") << "/dev/../dev/ttyS0"
                                  << "/dev/ttyS0" << true;
    QTest::newRow("other port") << "/dev/ttyS0"
                                << "/dev/ttyS1" << false;
#if defined(Q_OS_LINUX)
    QTest::newRow("entry and its device") << "Com 1"
                                          << "ttyS0" << true;
#endif
#endif
}

void PortChoiceTest::deviceKey()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, same);
    // "@name" stands for a file in a folder of the test's own.
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("target")).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(dir.filePath("target"), dir.filePath("link")));
#if defined(Q_OS_UNIX)
    // A second name for the same file, as a bind mount gives a device.
    QCOMPARE(::link(QFile::encodeName(dir.filePath("target")).constData(),
                    QFile::encodeName(dir.filePath("hard")).constData()),
             0);
#endif
    const auto key = [&](QString text) {
        if (text.startsWith(u'@'))
            text = dir.filePath(text.mid(1));
        return PortChoice::fromComboText(Ports, text).deviceKey();
    };
    QCOMPARE(key(first) == key(second), same);
}
