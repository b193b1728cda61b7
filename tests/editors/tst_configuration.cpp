#include <QSignalSpy>
#include <QTest>

#include "ConfigurationBytes.h"
#include "editors/Configuration.h"
#include "model/OptionLists.h"

using Setting = DisplaySetting;
using View = MessageLine::View;

// The configuration's settings: the lists, the start-up and default states
// and how the window's controls are assembled into the image.
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

QTEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
