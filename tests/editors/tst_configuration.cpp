#include <QSignalSpy>
#include <QTest>

#include "editors/Configuration.h"
#include "model/HexText.h"
#include "model/OptionLists.h"
#include "support/ConfigSnapshot.h"

using Setting = DisplaySetting;
using View = MessageLine::View;

namespace {

QByteArray imageRange(const SettingsImage &image, int first, int length)
{
    QByteArray bytes;
    for (int k = 0; k < length; ++k)
        bytes.append(char(image.at(first + k)));
    return bytes;
}

QByteArray validFile()
{
    QByteArray bytes(ImageLayout::ConfigLength, '\0');
    for (int k = 0; k < bytes.size(); ++k)
        bytes[k] = char(0x80 + k);
    bytes[ImageLayout::DisplaySpeed - 1] = 1;
    bytes[ImageLayout::CharacterSet - 1] = 18;
    bytes[ImageLayout::CommandSet - 1] = 9;
    bytes[ImageLayout::Passthru - 1] = 2;
    return bytes;
}

} // namespace

class TestConfiguration : public QObject
{
    Q_OBJECT

private slots:
    void optionLists_data();
    void optionLists();
    void listPositions_data();
    void listPositions();
    void positionByText_data();
    void positionByText();
    void startUp();
    void setAllDefault_data();
    void setAllDefault();
    void assembleDefaults();
    void assembleHexCells_data();
    void assembleHexCells();
    void assembleSwitchesAsciiToHex();
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

void TestConfiguration::optionLists_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    using namespace OptionLists;
    QTest::newRow("char 0") << charSets() << 19 << 0 << "USA/Eurpope  (Default)";
    QTest::newRow("char 15") << charSets() << 19 << 15 << "LATIVAIN";
    QTest::newRow("char 18") << charSets() << 19 << 18 << "Greek CP8859-7";
    QTest::newRow("command 1") << commandSets() << 10 << 1 << "EPSON (Default)";
    QTest::newRow("command 9") << commandSets() << 10 << 9 << "LogicControl";
    QTest::newRow("baud rate 0") << displaySpeeds() << 2 << 0 << "9600,n,8,1 (Default)";
    QTest::newRow("baud rate 1") << displaySpeeds() << 2 << 1 << "19200,n,8,1";
    QTest::newRow("passthru 0") << passthruModes() << 3 << 0 << "None     (Default)";
    QTest::newRow("passthru 2") << passthruModes() << 3 << 2 << "without ESC/POS command";
    QTest::newRow("comm 0") << commPorts() << 8 << 0 << "Com 1";
    QTest::newRow("comm 7") << commPorts() << 8 << 7 << "Com 8";
    QTest::newRow("link 0") << linkSettings() << 2 << 0 << "9600,n,8,1";
    QTest::newRow("link 1") << linkSettings() << 2 << 1 << "19200,n,8,1";
}

void TestConfiguration::optionLists()
{
    QFETCH(QStringList, list);
    QFETCH(int, size);
    QFETCH(int, index);
    QFETCH(QString, text);
    QCOMPARE(list.size(), size);
    QCOMPARE(list.at(index), text);
}

void TestConfiguration::listPositions_data()
{
    QTest::addColumn<Setting>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");

    QTest::newRow("baud rate") << Setting::DisplaySpeed << 2 << 2;
    QTest::newRow("char") << Setting::CharacterSet << 4 << 19;
    QTest::newRow("command") << Setting::CommandSet << 6 << 10;
    QTest::newRow("passthru") << Setting::Passthru << 68 << 3;
}

void TestConfiguration::listPositions()
{
    QFETCH(Setting, list);
    QFETCH(int, index);
    QFETCH(int, size);

    QCOMPARE(DisplaySettings::of(list).imageIndex, index);
    QCOMPARE(DisplaySettings::of(list).size(), size);

    Configuration config;
    QSignalSpy spy(&config, &Configuration::listPositionChanged);
    const int before = config.listPosition(list);
    QVERIFY(!config.setListPosition(list, -1));
    QVERIFY(!config.setListPosition(list, size));
    QVERIFY(!config.setListPosition(list, 255));
    QCOMPARE(config.listPosition(list), before);
    QCOMPARE(spy.count(), 0);

    QVERIFY(config.setListPosition(list, size - 1));
    QCOMPARE(spy.count(), before == size - 1 ? 0 : 1);

    // Every position goes into its byte and comes back from a file and an upload.
    for (int position = 0; position < size; ++position) {
        config.setListPosition(list, position);
        config.AssembleImage();
        QCOMPARE(int(config.image().at(index)), position);
        Configuration loaded;
        QVERIFY(loaded.applyFile(config.image().configBytes()));
        QCOMPARE(loaded.listPosition(list), position);
        Configuration received;
        received.applyUpload(config.image());
        QCOMPARE(received.listPosition(list), position);
    }
}

void TestConfiguration::positionByText_data()
{
    QTest::addColumn<Setting>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("exact with suffix") << Setting::CharacterSet << "USA/Eurpope  (Default)" << 0;
    QTest::newRow("suffix left off") << Setting::Passthru << "none" << 0;
    QTest::newRow("other case, blanks") << Setting::CommandSet << "  epson (default) " << 1;
    QTest::newRow("no suffix entry") << Setting::CommandSet << "logiccontrol" << 9;
    QTest::newRow("baud without suffix") << Setting::DisplaySpeed << "9600,n,8,1" << 0;
    QTest::newRow("entry of another list") << Setting::CharacterSet << "EPSON" << -1;
    QTest::newRow("part of an entry") << Setting::CharacterSet << "DENMARK" << -1;
    QTest::newRow("suffix alone") << Setting::Passthru << "(Default)" << -1;
    QTest::newRow("speed alone") << Setting::DisplaySpeed << "19200" << 1;
    QTest::newRow("corrected spelling") << Setting::CharacterSet << " usa/europe" << 0;
    QTest::newRow("corrected, last entry") << Setting::CharacterSet << "Greek ISO 8859-7" << 18;
    QTest::newRow("list's own misspelling") << Setting::CharacterSet << "lativain" << 15;
    QTest::newRow("alias of another list") << Setting::CommandSet << "9600" << -1;
}

void TestConfiguration::positionByText()
{
    QFETCH(Setting, list);
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(DisplaySettings::of(list).positionOf(text), position);
}

void TestConfiguration::startUp()
{
    Configuration config;
    config.startUp();

    QCOMPARE(config.listPosition(Setting::DisplaySpeed), 0);
    QCOMPARE(config.listPosition(Setting::CharacterSet), 0);
    QCOMPARE(config.listPosition(Setting::CommandSet), 1);
    QCOMPARE(config.listPosition(Setting::Passthru), 0);
    QCOMPARE(config.line1().view(), View::Hex);
    QCOMPARE(config.line2().view(), View::Hex);
    const QStringList start{"2A", "56", "46", "44"};
    for (int cell = 1; cell <= 4; ++cell)
        QCOMPARE(config.line1().hexText(cell), start.at(cell - 1));
    QCOMPARE(config.line1().hexText(20), QStringLiteral("2A"));
    QCOMPARE(config.line2().hexText(33), QStringLiteral("2A"));
    for (int cell = 34; cell <= 40; ++cell)
        QVERIFY(config.line2().hexText(cell).isEmpty());
    QCOMPARE(config.characters().number(), 1);
    QVERIFY(config.characters().startUpCaption());
    QCOMPARE(config.image(), SettingsImage());
}

void TestConfiguration::setAllDefault_data()
{
    QTest::addColumn<View>("view");
    QTest::newRow("from hex") << View::Hex;
    QTest::newRow("from ascii") << View::Ascii;
}

void TestConfiguration::setAllDefault()
{
    QFETCH(View, view);

    Configuration config;
    config.startUp();
    for (int index = 1; index < ImageLayout::Size; ++index)
        config.image().set(index, 0x5A);
    config.setListPosition(Setting::CharacterSet, 7);
    config.setListPosition(Setting::Passthru, 2);
    config.line1().selectView(view);
    config.line2().selectView(view);
    if (view == View::Hex) {
        config.line1().setHexText(1, QStringLiteral("41"));
        config.line2().setHexText(40, QStringLiteral("42"));
    } else {
        config.line1().setAsciiText(1, QStringLiteral("x"));
        config.line2().setAsciiText(40, QStringLiteral("y"));
    }
    config.characters().stepNext();
    config.characters().setCodeText(QStringLiteral("41"));
    config.characters().toggleDot(1, 1);

    QSignalSpy lists(&config, &Configuration::listPositionChanged);
    config.SetAllDefault();

    QCOMPARE(lists.count(), 2);
    QCOMPARE(config.listPosition(Setting::CharacterSet), 0);
    QCOMPARE(config.listPosition(Setting::Passthru), 0);
    QCOMPARE(config.listPosition(Setting::CommandSet), 1);
    const QString line1 = OptionLists::defaultLine1();
    const QString line2 = OptionLists::defaultLine2();
    QCOMPARE(line1.size(), 20);
    QCOMPARE(line2.size(), 33);
    QCOMPARE(config.line1().view(), View::Ascii);
    QCOMPARE(config.line2().view(), View::Ascii);
    for (int cell = 1; cell <= 40; ++cell) {
        if (cell <= 20) {
            QCOMPARE(config.line1().asciiText(cell), line1.mid(cell - 1, 1));
            QVERIFY(config.line1().hexText(cell).isEmpty());
        }
        QCOMPARE(config.line2().asciiText(cell), line2.mid(cell - 1, 1));
        QVERIFY(config.line2().hexText(cell).isEmpty());
    }
    for (int index = 1; index < ImageLayout::Size; ++index) {
        const bool area = index >= 69 && index <= 122;
        QCOMPARE(int(config.image().at(index)), area ? 0 : 0x5A);
    }
    CharacterEditor &editor = config.characters();
    QCOMPARE(editor.number(), 1);
    QVERIFY(editor.startUpCaption());
    QVERIFY(editor.codeText().isEmpty());
    QVERIFY(!editor.isLit(1, 1));
}

void TestConfiguration::assembleDefaults()
{
    Configuration config;
    config.startUp();
    for (int index : ImageLayout::Reserved)
        config.image().set(index, quint8(index));
    for (int index = ImageLayout::Characters; index < ImageLayout::CharactersEnd; ++index)
        config.image().set(index, 0x33);
    const SettingsImage before = config.image();

    config.AssembleImage();
    const SettingsImage &image = config.image();
    QCOMPARE(imageRange(image, 7, 20), OptionLists::defaultLine1().toLatin1());
    QCOMPARE(imageRange(image, 27, 33), OptionLists::defaultLine2().toLatin1());
    QCOMPARE(imageRange(image, 60, 7), QByteArray(7, '\0'));
    QCOMPARE(int(image.at(2)), 0);
    QCOMPARE(int(image.at(4)), 0);
    QCOMPARE(int(image.at(6)), 1);
    QCOMPARE(int(image.at(68)), 0);
    for (int index : ImageLayout::Reserved)
        QCOMPARE(image.at(index), before.at(index));
    QCOMPARE(imageRange(image, 69, 54), imageRange(before, 69, 54));
    QCOMPARE(config.line1().view(), View::Hex);
}

void TestConfiguration::assembleHexCells_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("start");

    QTest::newRow("filled at the start") << QStringList{"41", "42", "43"} << QByteArray("ABC");
    QTest::newRow("empty cell keeps its place")
        << QStringList{"41", "42", "", "43"} << QByteArray::fromHex("41420043");
    QTest::newRow("single digit, then 12") << QStringList{"4", "12"} << QByteArray::fromHex("4012");
}

void TestConfiguration::assembleHexCells()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, start);

    Configuration config;
    config.startUp();
    config.line1().clear();
    for (int i = 0; i < cells.size(); ++i)
        config.line1().setHexText(i + 1, cells.at(i));
    config.AssembleImage();
    const QByteArray expected = start + QByteArray(20 - start.size(), '\0');
    QCOMPARE(imageRange(config.image(), 7, 20), expected);
    QCOMPARE(imageRange(config.image(), 27, 2), QByteArray("**"));
}

void TestConfiguration::assembleSwitchesAsciiToHex()
{
    Configuration config;
    config.startUp();
    config.line2().selectView(View::Ascii);
    config.line2().clear();
    config.line2().setAsciiText(1, QStringLiteral("O"));
    config.line2().setAsciiText(2, QStringLiteral("K"));
    config.line2().setAsciiText(40, QString(QChar(0xFF)));

    config.AssembleImage();
    QCOMPARE(config.line2().view(), View::Hex);
    QCOMPARE(config.line2().hexText(1), QStringLiteral("4F"));
    // The empty cells between stand for zero bytes and keep "ÿ" in cell 40.
    QCOMPARE(config.line2().hexText(3), QStringLiteral("00"));
    QByteArray expected(40, '\0');
    expected[0] = 'O';
    expected[1] = 'K';
    expected[39] = char(0xFF);
    QCOMPARE(imageRange(config.image(), 27, 40), expected);
}

void TestConfiguration::viewSwitchKeepsBytes_data()
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

void TestConfiguration::viewSwitchKeepsBytes()
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

void TestConfiguration::uploadBounds_data()
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

void TestConfiguration::uploadBounds()
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

void TestConfiguration::uploadSpreads()
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

void TestConfiguration::fileRefused_data()
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

void TestConfiguration::fileRefused()
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

void TestConfiguration::fileSpreads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("126 bytes") << validFile();
    QTest::newRow("longer file") << validFile() + QByteArray(10, char(0x77));
}

void TestConfiguration::fileSpreads()
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

void TestConfiguration::wholeChangeTakenBack_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("Set All Default") << 0;
    QTest::newRow("load") << 1;
    QTest::newRow("applied upload") << 2;
    QTest::newRow("clear line 1") << 3;
    QTest::newRow("clear line 2") << 4;
}

void TestConfiguration::wholeChangeTakenBack()
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

QTEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
