// The ports of the Windows list of serial ports, as the window and tq540ctl
// list them.

#include <QTest>

#include "check/PortEnumerator.h"

class DeviceMapTest : public QObject
{
    Q_OBJECT

private slots:
    void ports_data()
    {
        QTest::addColumn<QStringList>("entries"); // driver device=port
        QTest::addColumn<QStringList>("devices");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("by number, not by text")
            << QStringList{"\\Device\\VCP0=COM10", "\\Device\\Serial1=COM2", "\\Device\\Serial0=COM1"}
            << QStringList{"COM1", "COM2", "COM10"};
        QTest::newRow("blank and odd names")
            << QStringList{"\\Device\\X=", "\\Device\\Y=CNCA0", "\\Device\\Z= COM3 "}
            << QStringList{"COM3", "CNCA0"};
    }
    void ports()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, devices);
        QList<DeviceMapEntry> map;
        for (const QString &entry : entries)
            map.append({entry.section(u'=', 0, 0), entry.section(u'=', 1)});
        const QList<DetectedPort> found = portsOfDeviceMap(map);
        QStringList foundDevices;
        for (const DetectedPort &port : found)
            foundDevices << port.device;
        QCOMPARE(foundDevices, devices);
        // The driver's device says what kind of port it is.
        if (!found.isEmpty())
            QVERIFY(found.front().description.startsWith(u"\\Device\\"));
    }
};

QTEST_GUILESS_MAIN(DeviceMapTest)
#include "tst_devicemap.moc"
