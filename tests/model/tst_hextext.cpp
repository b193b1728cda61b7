#include <QTest>

#include "model/HexText.h"

class TestHexText : public QObject
{
    Q_OBJECT

private slots:
    void strToDec_data();
    void strToDec();
    void decodePair_data();
    void decodePair();
    void hexPair_data();
    void hexPair();
};

void TestHexText::strToDec_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("0") << "0" << 0;
    QTest::newRow("9") << "9" << 9;
    QTest::newRow("A") << "A" << 10;
    QTest::newRow("a") << "a" << 10;
    QTest::newRow("F") << "F" << 15;
    QTest::newRow("f") << "f" << 15;
    QTest::newRow("G") << "G" << 0;
    QTest::newRow("g") << "g" << 0;
    QTest::newRow("x") << "x" << 0;
    QTest::newRow("blank") << " " << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("before 0") << "/" << 0;
    QTest::newRow("after 9") << ":" << 0;
    QTest::newRow("before A") << "@" << 0;
    QTest::newRow("before a") << "`" << 0;
    QTest::newRow("fullwidth 1") << QString(QChar(0xFF11)) << 0;
    QTest::newRow("arabic-indic 3") << QString(QChar(0x0663)) << 0;
    QTest::newRow("superscript 2") << QString(QChar(0x00B2)) << 0;
    QTest::newRow("surrogate half") << QString(QChar(0xD83D)) << 0;
}

void TestHexText::strToDec()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(HexText::StrToDec(text)), value);
    // A digit is exactly what reads as a value of its own.
    if (text.size() == 1)
        QCOMPARE(HexText::digitValue(text.front()).has_value(), value != 0 || text == u"0");
}

void TestHexText::decodePair_data()
{
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("low");
    QTest::addColumn<int>("byte");

    QTest::newRow("7e") << "7"
                        << "e" << 0x7E;
    QTest::newRow("FF") << "F"
                        << "F" << 0xFF;
    QTest::newRow("G1") << "G"
                        << "1" << 0x01;
    QTest::newRow("1G") << "1"
                        << "G" << 0x10;
    QTest::newRow("zz") << "z"
                        << "z" << 0;
    QTest::newRow("missing low") << "4"
                                 << "" << 0x40;
    QTest::newRow("both missing") << ""
                                  << "" << 0;
}

void TestHexText::decodePair()
{
    QFETCH(QString, high);
    QFETCH(QString, low);
    QFETCH(int, byte);
    QCOMPARE(int(HexText::decodePair(high, low)), byte);
}

void TestHexText::hexPair_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("pair");
    QTest::addColumn<QString>("compact");

    QTest::newRow("00") << 0x00 << "00"
                        << "0";
    QTest::newRow("05") << 0x05 << "05"
                        << "5";
    QTest::newRow("0F") << 0x0F << "0F"
                        << "F";
    QTest::newRow("10") << 0x10 << "10"
                        << "10";
    QTest::newRow("7E") << 0x7E << "7E"
                        << "7E";
    QTest::newRow("AB") << 0xAB << "AB"
                        << "AB";
    QTest::newRow("FF") << 0xFF << "FF"
                        << "FF";
}

void TestHexText::hexPair()
{
    QFETCH(int, byte);
    QFETCH(QString, pair);
    QFETCH(QString, compact);
    QCOMPARE(HexText::hexPair(quint8(byte)), pair);
    QCOMPARE(HexText::hexCompact(quint8(byte)), compact);
}

QTEST_APPLESS_MAIN(TestHexText)
#include "tst_hextext.moc"
