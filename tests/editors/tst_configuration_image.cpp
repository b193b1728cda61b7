#include <QSignalSpy>
#include <QTest>

#include "ConfigurationBytes.h"
#include "editors/Configuration.h"
#include "model/HexText.h"
#include "support/ConfigSnapshot.h"

using Setting = DisplaySetting;
using View = MessageLine::View;

// The configuration's image coming in and going back: uploads, files, the
// message lines' views over its bytes and taking a whole change back.
class TestConfigurationImage : public QObject
{
    Q_OBJECT

private slots:
    void viewSwitchKeepsBytes_data();
    void viewSwitchKeepsBytes();
    void uploadBounds_data();
    void uploadBounds();
    void uploadSpreads();
    void fileRefused_data();
    void fileRefused();
    void fileSpreads_data();
    void fileSpreads();
    void wholeChangeTakenBack_data();
    void wholeChangeTakenBack();
};

void TestConfigurationImage::viewSwitchKeepsBytes_data()
{
    QTest::addColumn<QByteArray>("line1");
    QTest::addColumn<QByteArray>("line2");

    const auto padded = [](const QByteArray &hex, int length) {
        const QByteArray bytes = QByteArray::fromHex(hex);
        return bytes + QByteArray(length - bytes.size(), '\0');
    };
    QTest::newRow("zero inside line 1") << padded("4142004344", 20) << padded("", 40);
    QTest::newRow("zeros before the text of line 2")
        << padded("", 20) << padded("00000048454C4C4F", 40);
    QTest::newRow("zeros at both ends and between")
        << padded("00410000420000000000000000000000000000FF", 20)
        << QByteArray(39, '\0') + QByteArray("\x7E");
    // Every byte value once, with a zero after every sixth, cut into lines.
    QByteArray all;
    for (int value = 1; value <= 0xFF; ++value) {
        all.append(char(value));
        if (value % 6 == 0)
            all.append('\0');
    }
    for (int part = 0; part * 60 < all.size(); ++part) {
        const QByteArray bytes = all.mid(part * 60, 60).leftJustified(60, '\0');
        QTest::newRow(qPrintable(QStringLiteral("every value, part %1").arg(part)))
            << bytes.left(20) << bytes.mid(20);
    }
}

void TestConfigurationImage::viewSwitchKeepsBytes()
{
    QFETCH(QByteArray, line1);
    QFETCH(QByteArray, line2);

    QByteArray file = validFile();
    file.replace(ImageLayout::Line1 - 1, 20, line1);
    file.replace(ImageLayout::Line2 - 1, 40, line2);
    Configuration config;
    config.startUp();
    QVERIFY(config.applyFile(file));
    for (MessageLine *line : {&config.line1(), &config.line2()})
        line->selectView(View::Ascii);
    for (MessageLine *line : {&config.line1(), &config.line2()})
        line->selectView(View::Hex);
    config.AssembleImage();
    QCOMPARE(imageRange(config.image(), ImageLayout::Line1, 20).toHex(' '), line1.toHex(' '));
    QCOMPARE(imageRange(config.image(), ImageLayout::Line2, 40).toHex(' '), line2.toHex(' '));
}

void TestConfigurationImage::uploadBounds_data()
{
    QTest::addColumn<Setting>("list");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("position");

    // The kept selections are the ones made before the upload: 1, 5, 3, 1.
    QTest::newRow("baud rate 0") << Setting::DisplaySpeed << 0 << 0;
    QTest::newRow("baud rate 2") << Setting::DisplaySpeed << 2 << 1;
    QTest::newRow("baud rate 3") << Setting::DisplaySpeed << 3 << 1;
    QTest::newRow("char 18") << Setting::CharacterSet << 18 << 18;
    QTest::newRow("char 19") << Setting::CharacterSet << 19 << 5;
    QTest::newRow("command 9") << Setting::CommandSet << 9 << 9;
    QTest::newRow("command 12") << Setting::CommandSet << 12 << 3;
    QTest::newRow("command 17") << Setting::CommandSet << 17 << 3;
    QTest::newRow("passthru 2") << Setting::Passthru << 2 << 2;
    QTest::newRow("passthru 3") << Setting::Passthru << 3 << 1;
    QTest::newRow("passthru FF") << Setting::Passthru << 0xFF << 1;
}

void TestConfigurationImage::uploadBounds()
{
    QFETCH(Setting, list);
    QFETCH(int, value);
    QFETCH(int, position);

    Configuration config;
    config.startUp();
    config.setListPosition(Setting::DisplaySpeed, 1);
    config.setListPosition(Setting::CharacterSet, 5);
    config.setListPosition(Setting::CommandSet, 3);
    config.setListPosition(Setting::Passthru, 1);

    SettingsImage reply;
    reply.set(0, 0xAA);
    reply.set(2, 1);
    reply.set(4, 5);
    reply.set(6, 3);
    reply.set(68, 1);
    reply.set(DisplaySettings::of(list).imageIndex, quint8(value));
    config.applyUpload(reply);

    QCOMPARE(config.listPosition(list), position);
    QCOMPARE(config.image(), reply);
}

void TestConfigurationImage::uploadSpreads()
{
    Configuration config;
    config.startUp();
    config.line1().selectView(View::Ascii);
    // A drawing on character 3 that was never stored.
    CharacterEditor &editor = config.characters();
    editor.stepNext();
    editor.stepNext();
    editor.setCodeText(QStringLiteral("7E"));
    editor.toggleDot(5, 5);

    SettingsImage reply;
    reply.set(0, 0xAA);
    const QByteArray line1 = QByteArray::fromHex("000F10FF") + QByteArray(16, 'x');
    for (int k = 0; k < 20; ++k)
        reply.set(7 + k, quint8(line1.at(k)));
    reply.set(66, 0x41);
    reply.set(ImageLayout::recordPosition(3), 0x42);
    reply.set(ImageLayout::recordPosition(3) + 2, 0x01);
    for (int index : ImageLayout::Reserved)
        reply.set(index, 0xEE);
    config.applyUpload(reply);

    QCOMPARE(config.image(), reply);
    QCOMPARE(config.line1().view(), View::Hex);
    const QStringList start{"00", "0F", "10", "FF", "78"};
    for (int cell = 1; cell <= 20; ++cell) {
        QCOMPARE(config.line1().hexText(cell), start.at(qMin(cell, 5) - 1));
        QVERIFY(config.line1().asciiText(cell).isEmpty());
    }
    QCOMPARE(config.line2().hexText(1), QStringLiteral("00"));
    QCOMPARE(config.line2().hexText(40), QStringLiteral("41"));

    QCOMPARE(editor.number(), 3);
    QVERIFY(!editor.startUpCaption());
    QCOMPARE(editor.codeText(), QStringLiteral("42"));
    QVERIFY(editor.isLit(2, 0));
    QVERIFY(!editor.isLit(5, 5));
}

void TestConfigurationImage::fileRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = validFile();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("125 bytes") << good.left(125);
    QByteArray bad = good;
    bad[ImageLayout::CommandSet - 1] = 10;
    QTest::newRow("byte 6 = 10") << bad;
    bad = good;
    bad[ImageLayout::DisplaySpeed - 1] = 2;
    QTest::newRow("byte 2 = 2") << bad;
    bad = good;
    bad[ImageLayout::CharacterSet - 1] = 19;
    QTest::newRow("byte 4 = 19") << bad;
    bad = good;
    bad[ImageLayout::Passthru - 1] = char(0xFF);
    QTest::newRow("byte 68 = FF") << bad;
}

void TestConfigurationImage::fileRefused()
{
    QFETCH(QByteArray, bytes);

    Configuration config;
    config.startUp();
    config.line2().selectView(View::Ascii);
    config.characters().stepNext();
    config.characters().setCodeText(QStringLiteral("41"));
    config.characters().toggleDot(2, 2);
    config.image().set(100, 0x99);
    const QStringList before = configSnapshot(config);

    QSignalSpy lists(&config, &Configuration::listPositionChanged);
    QSignalSpy cells(&config.line1(), &MessageLine::cellTextChanged);
    QSignalSpy editor(&config.characters(), &CharacterEditor::changed);
    QVERIFY(!Configuration::isLoadable(bytes));
    QVERIFY(!config.applyFile(bytes));
    QCOMPARE(configSnapshot(config), before);
    QCOMPARE(lists.count() + cells.count() + editor.count(), 0);
}

void TestConfigurationImage::fileSpreads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("126 bytes") << validFile();
    QTest::newRow("longer file") << validFile() + QByteArray(10, char(0x77));
}

void TestConfigurationImage::fileSpreads()
{
    QFETCH(QByteArray, bytes);

    Configuration config;
    config.startUp();
    SettingsImage reply;
    reply.set(0, 0xAA);
    config.applyUpload(reply);
    config.line2().selectView(View::Ascii);
    for (int k = 0; k < 4; ++k)
        config.characters().stepNext();

    QVERIFY(Configuration::isLoadable(bytes));
    QVERIFY(config.applyFile(bytes));

    QCOMPARE(config.image().configBytes(), bytes.left(126));
    QCOMPARE(int(config.image().at(0)), 0xAA);
    QCOMPARE(config.listPosition(Setting::DisplaySpeed), 1);
    QCOMPARE(config.listPosition(Setting::CharacterSet), 18);
    QCOMPARE(config.listPosition(Setting::CommandSet), 9);
    QCOMPARE(config.listPosition(Setting::Passthru), 2);
    for (MessageLine *line : {&config.line1(), &config.line2()}) {
        QCOMPARE(line->view(), View::Hex);
        const int first = line == &config.line1() ? 7 : 27;
        for (int cell = 1; cell <= line->cellCount(); ++cell) {
            QCOMPARE(line->hexText(cell), HexText::hexPair(config.image().at(first - 1 + cell)));
            QVERIFY(line->asciiText(cell).isEmpty());
        }
    }
    CharacterEditor &editor = config.characters();
    QCOMPARE(editor.number(), 1);
    QVERIFY(editor.startUpCaption());
    // Record 1 is bytes 0xC4..0xC9 of the pattern: code C4, bits 7 dropped.
    QCOMPARE(editor.codeText(), QStringLiteral("C4"));
    QVERIFY(editor.isLit(1, 0) && !editor.isLit(1, 1) && editor.isLit(1, 2));

    // What was loaded is what the next save writes.
    config.AssembleImage();
    QCOMPARE(config.image().configBytes(), bytes.left(126));
}

void TestConfigurationImage::wholeChangeTakenBack_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("Set All Default") << 0;
    QTest::newRow("load") << 1;
    QTest::newRow("applied upload") << 2;
    QTest::newRow("clear line 1") << 3;
    QTest::newRow("clear line 2") << 4;
}

void TestConfigurationImage::wholeChangeTakenBack()
{
    QFETCH(int, change);

    // Something of every kind that a whole change replaces.
    Configuration config;
    config.startUp();
    config.setListPosition(Setting::CommandSet, 4);
    config.line1().setHexText(3, QStringLiteral("4"));
    config.line2().selectView(View::Ascii);
    config.line2().setAsciiText(2, QStringLiteral("Q"));
    config.image().set(ImageLayout::Reserved.back(), 0x5A);
    config.image().set(ImageLayout::recordPosition(2), 0x41);
    config.characters().stepNext();
    config.characters().toggleDot(3, 3);
    const Configuration::Snapshot before = config.snapshot();
    const QStringList shownBefore = configSnapshot(config);

    SettingsImage reply;
    reply.set(0, 0xAA);
    switch (change) {
    case 0:
        config.SetAllDefault();
        break;
    case 1:
        QVERIFY(config.applyFile(validFile()));
        break;
    case 2:
        config.applyUpload(reply);
        break;
    default:
        (change == 3 ? config.line1() : config.line2()).clear();
        break;
    }
    const Configuration::Snapshot after = config.snapshot();
    const QStringList shownAfter = configSnapshot(config);
    QVERIFY(shownAfter != shownBefore);

    // Undo, then redo, each twice over: a snapshot can be put back again.
    for (int round = 0; round < 2; ++round) {
        QSignalSpy views(&config.line2(), &MessageLine::viewChanged);
        config.restore(before);
        QCOMPARE(configSnapshot(config), shownBefore);
        QCOMPARE(config.line2().view(), View::Ascii);
        config.restore(after);
        QCOMPARE(configSnapshot(config), shownAfter);
        QCOMPARE(views.count(), config.line2().view() == View::Ascii ? 0 : 2);
    }
    // What the next save writes is what was there.
    config.restore(before);
    config.AssembleImage();
    QCOMPARE(int(config.image().at(ImageLayout::Line1 + 2)), 0x40);
    QCOMPARE(int(config.image().at(ImageLayout::Reserved.back())), 0x5A);
}

QTEST_MAIN(TestConfigurationImage)
#include "tst_configuration_image.moc"
