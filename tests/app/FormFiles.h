#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include "FormRig.h"

// Files for the window's Save and Load tests.
namespace FormFiles {

inline QByteArray sampleFile()
{
    QByteArray bytes(126, '\0');
    for (int k = 1; k <= 126; ++k)
        bytes[k - 1] = char((k * 37 + 11) & 0xFF);
    bytes[2 - 1] = 1;  // BaudRate "19200,n,8,1"
    bytes[4 - 1] = 18; // Char "Greek CP8859-7"
    bytes[6 - 1] = 9;  // Command "LogicControl"
    bytes[68 - 1] = 2; // Passthru "without ESC/POS command"
    bytes[69 - 1] = 0x41;
    bytes[72 - 1] = 0x01; // character 1: top dot of column 3
    bytes[70 - 1] = bytes[71 - 1] = bytes[73 - 1] = bytes[74 - 1] = 0;
    bytes[7 - 1] = 0x05;
    return bytes;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A window that no longer shows the defaults: typed cells, another
// list entry, line 2 in ASCII, the editor on character 2.
inline void changeEverything(FormRig &rig)
{
    rig.combo("Char")->setCurrentIndex(5);
    rig.cell("L1H", 1)->selectAll();
    QTest::keyClicks(rig.cell("L1H", 1), "99");
    rig.click("Op_L2A");
    QTest::keyClicks(rig.get<QLineEdit>("UDC_TEXT"), "30");
    rig.click("UDC_NEXT");
    QTest::mouseClick(rig.dot(2, 2), Qt::LeftButton);
}

} // namespace FormFiles
