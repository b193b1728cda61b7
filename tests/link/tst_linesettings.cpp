#include <QTest>

#include "link/LineSettings.h"

using Parity = LineSettings::Parity;
using StopBits = LineSettings::StopBits;

class LineSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void valid_data();
    void valid();
    void invalid_data();
    void invalid();
};

void LineSettingsTest::valid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("baud");
    QTest::addColumn<Parity>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<StopBits>("stopBits");

    QTest::newRow("9600,n,8,1") << "9600,n,8,1" << 9600 << Parity::None << 8 << StopBits::One;
    QTest::newRow("19200,n,8,1") << "19200,n,8,1" << 19200 << Parity::None << 8 << StopBits::One;
    QTest::newRow("even, upper case") << "4800,E,7,2" << 4800 << Parity::Even << 7 << StopBits::Two;
    QTest::newRow("odd") << "1200,o,5,1" << 1200 << Parity::Odd << 5 << StopBits::One;
#if defined(Q_OS_WIN)
    QTest::newRow("one and a half stop bits")
        << "1200,n,8,1.5" << 1200 << Parity::None << 8 << StopBits::OneAndHalf;
#endif
    QTest::newRow("mark") << "300,M,6,1" << 300 << Parity::Mark << 6 << StopBits::One;
    QTest::newRow("space") << "115200,s,8,2" << 115200 << Parity::Space << 8 << StopBits::Two;
    QTest::newRow("blanks around parts")
        << "  9600 , n ,8,  1 " << 9600 << Parity::None << 8 << StopBits::One;
    QTest::newRow("odd speed") << "12345,n,8,1" << 12345 << Parity::None << 8 << StopBits::One;
}

void LineSettingsTest::valid()
{
    QFETCH(QString, text);
    QFETCH(int, baud);
    QFETCH(Parity, parity);
    QFETCH(int, dataBits);
    QFETCH(StopBits, stopBits);

    const std::optional<LineSettings> parsed = LineSettings::parse(text);
    QVERIFY(parsed);
    QCOMPARE(*parsed, (LineSettings{baud, parity, dataBits, stopBits}));
}

void LineSettingsTest::invalid_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("unknown parity") << "9600,x,8,1";
    QTest::newRow("parity word") << "9600,none,8,1";
    QTest::newRow("data bits 4") << "9600,n,4,1";
    QTest::newRow("data bits 9") << "9600,n,9,1";
    QTest::newRow("stop bits 3") << "9600,n,8,3";
    QTest::newRow("stop bits 0") << "9600,n,8,0";
    QTest::newRow("stop bits 1.0") << "9600,n,8,1.0";
#if !defined(Q_OS_WIN)
    // The serial layer here cannot set them; the line would use one.
    QTest::newRow("stop bits 1.5") << "9600,n,8,1.5";
#endif
    QTest::newRow("speed 0") << "0,n,8,1";
    QTest::newRow("negative speed") << "-9600,n,8,1";
    QTest::newRow("signed speed") << "+9600,n,8,1";
    QTest::newRow("speed text") << "fast,n,8,1";
    QTest::newRow("speed too big") << "99999999999,n,8,1";
    QTest::newRow("three parts") << "9600,n,8";
    QTest::newRow("five parts") << "9600,n,8,1,1";
    QTest::newRow("empty part") << "9600,,8,1";
    QTest::newRow("semicolons") << "9600;n;8;1";
    QTest::newRow("blank inside speed") << "96 00,n,8,1";
}

void LineSettingsTest::invalid()
{
    QFETCH(QString, text);
    QVERIFY(!LineSettings::parse(text));
}

QTEST_GUILESS_MAIN(LineSettingsTest)
#include "tst_linesettings.moc"
