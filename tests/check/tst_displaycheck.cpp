#include <QSignalSpy>
#include <QTest>

#include "check/DisplayCheck.h"
#include "editors/Configuration.h"
#include "model/ImageCodec.h"
#include "model/OptionLists.h"
#include "support/FakeComm.h"
#include "support/FakeTicks.h"

namespace {

constexpr int Epson = 1;
constexpr int Cd5220 = 7;

Transfer::Target comOne(const QString &settings = QStringLiteral("9600,n,8,1"))
{
    return {PortChoice::fromComboText(OptionLists::commPorts(), QStringLiteral("Com 1")), settings};
}

struct Rig
{
    FakeTicks ticks;
    FakeComm comm{&ticks};
    Configuration config;
    DisplayCheck check{config, comm, ticks};

    Rig() { config.startUp(); }
    void displayHolds(const SettingsImage &image)
    {
        comm.reply = {{0, QByteArray(1, '\xAA') + image.configBytes()}};
    }
};

} // namespace

class DisplayCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void portsToAsk();
    void compareNamesEachField_data();
    void compareNamesEachField();
    void compareLeavesTheWindowAlone();
    void compareReportsAFailure();
    void sendTest_data();
    void sendTest();
    void defaultTextFollowsTheSet();
    void speedNote_data();
    void speedNote();
    void speedNoteDescribesTheLastDisplay_data();
    void speedNoteDescribesTheLastDisplay();
};

// The list's entries, then the system's ports, then the typed one; a
// device reached two ways is asked once.
void DisplayCheckTest::portsToAsk()
{
    const QStringList listed = {"Com 1", "Com 2"};
    const QList<DetectedPort> detected = {{systemPortName(2), "on board"},
                                          {"/dev/ttyUSB0", "FT232R USB UART"}};
    QStringList asked;
    for (const PortChoice &port : DisplayCheck::portsToAsk(listed, detected, " /dev/ttyACM0 "))
        asked << port.shownText;
    QCOMPARE(asked, (QStringList{"Com 1", "Com 2", "/dev/ttyUSB0", "/dev/ttyACM0"}));
    QCOMPARE(DisplayCheck::portsToAsk(listed, {}, "Com 2").size(), 2);
}

void DisplayCheckTest::compareNamesEachField_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("named");

    QTest::newRow("the same") << 0 << 0 << QStringList{};
    QTest::newRow("a setting") << ImageLayout::CommandSet << Cd5220
                               << QStringList{"Command Mode: EPSON (Default) / display: CD5220"};
    QTest::newRow("no entry") << ImageLayout::CharacterSet << 0x63
                              << QStringList{"Character Type: USA/Eurpope  (Default) / display: byte 99"};
    QTest::newRow("a cell") << ImageLayout::Line1 + 2 << 0x42
                            << QStringList{"Welcome Msg 1, cell 3: 46 / 42"};
    QTest::newRow("line 2") << ImageLayout::Line2 + 39 << 0x01
                            << QStringList{"Welcome Msg 2, cell 40: 00 / 01"};
    QTest::newRow("a character") << ImageLayout::recordPosition(2) + 3 << 0x1F
                                 << QStringList{"User Defined Character 2"};
    QTest::newRow("reserved") << 67 << 0x5A << QStringList{"Reserved byte 67: 00 / 5A"};
}

void DisplayCheckTest::compareNamesEachField()
{
    QFETCH(int, index);
    QFETCH(int, value);
    QFETCH(QStringList, named);

    Rig rig;
    rig.config.SetAllDefault(); // line 1 reads "*VFD DISPLAY TQ-540*"
    SettingsImage display = rig.config.assembledImage();
    if (index > 0)
        display.set(index, static_cast<quint8>(value));
    rig.displayHolds(display);

    const Result<QStringList> found = rig.check.compare(comOne());
    QVERIFY(found.ok());
    QCOMPARE(*found, named);
    QCOMPARE(rig.check.comparison().mid(named.isEmpty() ? 0 : 1),
             named.isEmpty() ? QStringList{"The display holds exactly the window's settings."}
                             : named);
}

// The window's lines in their ASCII view are compared as their bytes and stay in it.
void DisplayCheckTest::compareLeavesTheWindowAlone()
{
    Rig rig;
    rig.config.SetAllDefault();
    QCOMPARE(rig.config.line1().view(), MessageLine::View::Ascii);
    const SettingsImage before = rig.config.image();
    SettingsImage display = rig.config.assembledImage();
    rig.displayHolds(display);

    QVERIFY(rig.check.compare(comOne()).ok());
    QCOMPARE(rig.config.line1().view(), MessageLine::View::Ascii);
    QCOMPARE(rig.config.line1().asciiText(1), QStringLiteral("*"));
    QCOMPARE(rig.config.image(), before);
    // What a download would send is what was compared.
    rig.config.AssembleImage();
    QCOMPARE(rig.config.image().configBytes(), display.configBytes());
}

void DisplayCheckTest::compareReportsAFailure()
{
    Rig rig; // nothing answers
    const Result<QStringList> found = rig.check.compare(comOne());
    QVERIFY(!found.ok());
    QCOMPARE(found.error().reason, Error::Reason::NoAnswer);
    QCOMPARE(rig.check.comparison().size(), 1);
    QVERIFY(!rig.check.comparison().first().isEmpty());
}

void DisplayCheckTest::sendTest_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<bool>("sent");

    QTest::newRow("EPSON") << Epson << "HELLO" << true;
    QTest::newRow("CD5220") << Cd5220 << "HELLO" << true;
    QTest::newRow("KS310 refused") << 0 << "HELLO" << false;
    QTest::newRow("DSP800 refused") << 6 << "HELLO" << false;
    QTest::newRow("a text the set refuses") << Epson << "\x1b" << false;
}

// The bytes on the line are the set's test screen, and the preview is what
// the screen model makes of them.
void DisplayCheckTest::sendTest()
{
    QFETCH(int, set);
    QFETCH(QString, line1);
    QFETCH(bool, sent);

    Rig rig;
    QVERIFY(rig.config.setListPosition(DisplaySetting::CommandSet, set));
    rig.check.setLines(line1, QStringLiteral("WORLD"));

    const QString failure = rig.check.sendTest(comOne());
    QCOMPARE(failure.isEmpty(), sent);
    QCOMPARE(rig.check.refusal(), failure);
    QCOMPARE(rig.comm.written,
             sent ? TestScreen::compose(set, line1, QStringLiteral("WORLD")).bytes : QByteArray());
    QCOMPARE(rig.comm.isPortOpen(), false);
    const QStringList shown = rig.check.preview();
    QCOMPARE(shown.size(), 2);
    if (sent)
        QCOMPARE(shown, (QStringList{line1.leftJustified(20), QStringLiteral("WORLD").leftJustified(20)}));
}

void DisplayCheckTest::defaultTextFollowsTheSet()
{
    Rig rig;
    QCOMPARE(rig.check.line1(), TestScreen::defaultLine1(Epson));
    QVERIFY(rig.config.setListPosition(DisplaySetting::CommandSet, Cd5220));
    QCOMPARE(rig.check.line1(), TestScreen::defaultLine1(Cd5220));
    rig.check.setLines(QStringLiteral("MINE"), rig.check.line2());
    QVERIFY(rig.config.setListPosition(DisplaySetting::CommandSet, Epson));
    QCOMPARE(rig.check.line1(), QStringLiteral("MINE"));
}

void DisplayCheckTest::speedNote_data()
{
    QTest::addColumn<int>("displaySpeed");
    QTest::addColumn<QString>("linkThen");
    QTest::addColumn<QString>("linkNow");
    QTest::addColumn<bool>("told");

    QTest::newRow("same speed") << 0 << "9600,n,8,1" << "9600,n,8,1" << false;
    QTest::newRow("display faster") << 1 << "9600,n,8,1" << "9600,n,8,1" << true;
    QTest::newRow("link followed") << 1 << "9600,n,8,1" << "19200,n,8,1" << false;
    QTest::newRow("link moved away") << 0 << "9600,n,8,1" << "19200,n,8,1" << true;
    QTest::newRow("link unreadable") << 0 << "9600,n,8,1" << "fast" << true;
}

void DisplayCheckTest::speedNote()
{
    QFETCH(int, displaySpeed);
    QFETCH(QString, linkThen);
    QFETCH(QString, linkNow);
    QFETCH(bool, told);

    Rig rig;
    QSignalSpy changed(&rig.check, &DisplayCheck::speedNoteChanged);
    rig.check.setLinkSettings(QStringLiteral("9600,n,8,1"));
    QVERIFY(rig.check.speedNote().isEmpty()); // nothing downloaded yet
    QVERIFY(rig.config.setListPosition(DisplaySetting::DisplaySpeed, displaySpeed));
    rig.check.noteDownload(linkThen);
    rig.check.setLinkSettings(linkNow);
    QCOMPARE(!rig.check.speedNote().isEmpty(), told);
    if (told) {
        QVERIFY(rig.check.speedNote().contains(
            OptionLists::linkSettings().at(displaySpeed)));
        QCOMPARE(changed.last().first().toString(), rig.check.speedNote());
    }
}

// Each step is a download of the window's speed or a read of a display
// holding a speed, all on "9600,n,8,1"; the note speaks of the last one.
void DisplayCheckTest::speedNoteDescribesTheLastDisplay_data()
{
    QTest::addColumn<QStringList>("steps"); // "download N" or "read N", N a speed's position
    QTest::addColumn<QString>("told");      // the speed in the note; empty: no note
    QTest::newRow("read after a faster download") << QStringList{"download 1", "read 0"} << "";
    QTest::newRow("read of a display set faster") << QStringList{"read 1"} << "19200,n,8,1";
    QTest::newRow("download after a faster read") << QStringList{"read 1", "download 0"} << "";
    QTest::newRow("read of a display at an unknown speed")
        << QStringList{"download 1", "read 9"} << "";
}

void DisplayCheckTest::speedNoteDescribesTheLastDisplay()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, told);
    Rig rig; // "Buad Rate" never changed: the steps tell the link
    for (const QString &step : steps) {
        const int speed = step.section(' ', 1).toInt();
        if (step.startsWith("download")) {
            QVERIFY(rig.config.setListPosition(DisplaySetting::DisplaySpeed, speed));
            rig.check.noteDownload(QStringLiteral("9600,n,8,1"));
        } else {
            SettingsImage display = rig.config.assembledImage();
            display.set(ImageLayout::DisplaySpeed, quint8(speed));
            rig.displayHolds(display);
            QVERIFY(rig.check.compare(comOne()));
        }
    }
    QCOMPARE(rig.check.speedNote().isEmpty(), told.isEmpty());
    if (!told.isEmpty())
        QCOMPARE(rig.check.speedNote(),
                 QStringLiteral("After its restart the display listens at %1; \"Buad Rate\" is "
                                "9600,n,8,1.")
                     .arg(told));
}

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "tst_displaycheck.moc"
