// Which bytes the simulated display takes as a setup exchange and which go
// to its screen.

#include <QTest>

#include "DisplaySimulator.h"
#include "commandsets/CommandSets.h"

using Event = DisplaySimulator::Event;

class TestDisplaySimulator : public QObject
{
    Q_OBJECT

private slots:
    void routing_data();
    void routing();
    void downloadSwitchesTheSet();
    void cutExchangeEndsAfterQuiet_data();
    void cutExchangeEndsAfterQuiet();
};

void TestDisplaySimulator::routing_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<int>("uploads");

    const auto row = [](const char *name, int set, const QByteArray &bytes, const char *row1,
                        int uploads = 0) {
        QTest::newRow(name) << set << bytes << QString::fromLatin1(row1).leftJustified(20)
                            << uploads;
    };
    row("text", CommandSets::Epson, "AB", "AB");
    row("ESC @ reaches the screen", CommandSets::Epson, "XY\x1B\x40Z", "Z");
    row("upload request is no text", CommandSets::Epson,
        "A\x1B\xEE"
        "B",
        "AB", 1);
    row("ESC ESC then a request", CommandSets::Epson, "A\x1B\x1B\xEE", "A", 1);
    row("CD5220 string mode", CommandSets::Cd5220, "\x0C\x1BQAHI\r", "HI");
    row("UTC/P line", CommandSets::UtcEnhanced, "\x1BuAOK\r", "OK");
    row("KS310 shows data only", CommandSets::KS310, "A\x1B@", "A?@");
}

void TestDisplaySimulator::routing()
{
    QFETCH(int, set);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, row1);
    QFETCH(int, uploads);

    DisplaySimulator display;
    SettingsImage image;
    image.set(ImageLayout::CommandSet, quint8(set));
    display.setImage(image);
    int requested = 0;
    for (const char byte : bytes)
        requested += display.feed(quint8(byte)) == Event::UploadRequested;
    QCOMPARE(display.screen().rowText(0), row1);
    QCOMPARE(requested, uploads);
}

// The image's byte 6 decides how what follows a download is read, and the
// download's own bytes never reach the screen.
void TestDisplaySimulator::downloadSwitchesTheSet()
{
    DisplaySimulator display;
    QByteArray download("\x1B\xEF\xAA", 3);
    QByteArray config(ImageLayout::ConfigLength, 'A');
    config[ImageLayout::CommandSet - ImageLayout::FirstConfig] = char(CommandSets::Aedex);
    download += config;
    for (const char byte : download + "!#1HELLO\r")
        display.feed(quint8(byte));
    QCOMPARE(display.screen().commandSet(), int(CommandSets::Aedex));
    QCOMPARE(display.screen().rowText(0), QStringLiteral("HELLO").leftJustified(20));
    QVERIFY(!display.screen().hasUnknown());
}

// A download cut short is given up after a bounded quiet time: what comes
// next is screen text or a request again, never the rest of an image.
void TestDisplaySimulator::cutExchangeEndsAfterQuiet_data()
{
    QTest::addColumn<int>("sent"); // bytes of the download before the quiet
    QTest::addColumn<int>("quietMs");
    QTest::addColumn<bool>("givenUp");
    const int limit = DisplaySimulator::ExchangeQuietMs;
    QTest::newRow("after ESC EF") << 2 << limit << true;
    QTest::newRow("after 20 image bytes") << 23 << limit << true;
    QTest::newRow("a short pause") << 23 << limit - 1 << false;
}

void TestDisplaySimulator::cutExchangeEndsAfterQuiet()
{
    QFETCH(int, sent);
    QFETCH(int, quietMs);
    QFETCH(bool, givenUp);
    DisplaySimulator display;
    SettingsImage epson;
    epson.set(ImageLayout::CommandSet, CommandSets::Epson);
    display.setImage(epson);
    QByteArray download("\x1B\xEF\xAA", 3);
    download += QByteArray(ImageLayout::ConfigLength, char(CommandSets::Epson));
    for (const char byte : download.left(sent))
        QCOMPARE(display.feed(quint8(byte)), Event::None);
    QCOMPARE(display.exchangeBytes(), sent);

    QCOMPARE(display.lineQuiet(quietMs), givenUp ? Event::CutShort : Event::None);
    const QByteArray next = QByteArray("HELLO") + "\x1B\xEE";
    QList<Event> events;
    for (const char byte : next)
        events << display.feed(quint8(byte));
    QCOMPARE(events.last() == Event::UploadRequested, givenUp);
    QCOMPARE(display.screen().rowText(0).startsWith("HELLO"), givenUp);
    QCOMPARE(display.image().configBytes(), epson.configBytes());
}

QTEST_GUILESS_MAIN(TestDisplaySimulator)
#include "tst_displaysimulator.moc"
