#include <QTest>

#include "model/CodePage.h"
#include "model/HexText.h"

class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeRoundTrips();
    void characters_data();
    void characters();
    void refused_data();
    void refused();
};

void TestCodePage::everyCodeRoundTrips()
{
    QSet<QChar> seen;
    for (int code = 1; code <= 0xFF; ++code) {
        const QString text = CodePage::textForCode(quint8(code));
        QCOMPARE(text.size(), 1);
        QVERIFY2(!seen.contains(text.front()), qPrintable(HexText::hexPair(quint8(code))));
        seen.insert(text.front());
        QVERIFY(CodePage::hasCode(text.front()));
        const auto back = CodePage::codeForText(text);
        QVERIFY(back.has_value());
        QCOMPARE(HexText::hexPair(*back), HexText::hexPair(quint8(code)));
    }
    QCOMPARE(CodePage::textForCode(0), QString());
    QCOMPARE(CodePage::codeForText(QString()), std::optional<quint8>(0));
}

void TestCodePage::characters_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("character");

    QTest::newRow("blank") << 0x20 << 0x20;
    QTest::newRow("A") << 0x41 << 0x41;
    QTest::newRow("tilde") << 0x7E << 0x7E;
    QTest::newRow("nbsp") << 0xA0 << 0xA0;
    QTest::newRow("e acute") << 0xE9 << 0xE9;
    QTest::newRow("y diaeresis") << 0xFF << 0xFF;
    QTest::newRow("01") << 0x01 << 0x2401;
    QTest::newRow("0A") << 0x0A << 0x240A;
    QTest::newRow("1F") << 0x1F << 0x241F;
    QTest::newRow("7F") << 0x7F << 0x2421;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("81") << 0x81 << 0x2422;
    QTest::newRow("8D") << 0x8D << 0x2423;
    QTest::newRow("8F") << 0x8F << 0x2424;
    QTest::newRow("90") << 0x90 << 0x2425;
    QTest::newRow("9D") << 0x9D << 0x2426;
    QTest::newRow("9F") << 0x9F << 0x0178;
}

void TestCodePage::characters()
{
    QFETCH(int, code);
    QFETCH(int, character);
    QCOMPARE(CodePage::textForCode(quint8(code)), QString(QChar(character)));
}

void TestCodePage::refused_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("two characters") << "AB";
    QTest::newRow("NUL") << QString(QChar(0));
    QTest::newRow("C1 control") << QString(QChar(0x80));
    QTest::newRow("A macron") << QString(QChar(0x0100));
    QTest::newRow("CJK") << QString(QChar(0x4E2D));
    QTest::newRow("NUL picture") << QString(QChar(0x2400));
    QTest::newRow("SP picture") << QString(QChar(0x2420));
    QTest::newRow("lone surrogate") << QString(QChar(0xD83D));
    QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9F\x98\x80");
}

void TestCodePage::refused()
{
    QFETCH(QString, text);
    QVERIFY(!CodePage::codeForText(text).has_value());
    if (text.size() == 1)
        QVERIFY(!CodePage::hasCode(text.front()));
}

QTEST_APPLESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
