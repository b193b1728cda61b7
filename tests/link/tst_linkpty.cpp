// The transfers end to end: QSerialPort on a pseudo-terminal, with the
// simulated display on the other end.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "editors/Configuration.h"
#include "link/SerialPortComm.h"
#include "link/Transfer.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"
#include "support/ConfigSnapshot.h"
#include "support/Outcome.h"
#include "support/SimProcess.h"

using Reason = Error::Reason;

namespace {

// tq540sim as a child process, stopped at the latest with the test.
class Simulator : public SimProcess
{
public:
    Simulator() : SimProcess(QStringLiteral(TQ540SIM)) {}
};

Transfer::Target target(const QString &port, const QString &settings = "9600,n,8,1")
{
    return {PortChoice::fromComboText(OptionLists::commPorts(), port), settings};
}

// A display image with every field set, reserved bytes and records included.
SettingsImage storedImage()
{
    SettingsImage image;
    for (int k = 1; k < ImageLayout::Size; ++k)
        image.set(k, static_cast<quint8>(k * 3 + 1));
    image.set(ImageLayout::DisplaySpeed, 1);
    image.set(ImageLayout::CharacterSet, 18);
    image.set(ImageLayout::CommandSet, 9);
    image.set(ImageLayout::Passthru, 2);
    const quint8 codes[] = {0x00, 0x0F, 0x10, 0xFF};
    for (int k = 0; k < 4; ++k) {
        image.set(ImageLayout::Line1 + k, codes[k]);
        image.set(ImageLayout::Line2 + 36 + k, codes[k]);
    }
    return image;
}

} // namespace

class LinkPtyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void downloadFactoryDefaults();
    void downloadSwitchesAsciiToHex();
    void staleInputDiscarded();
    void downloadLosesTheLineAtTheEnd();
    void uploadSetsControls_data();
    void uploadSetsControls();
    void uploadMisbehaviour_data();
    void uploadMisbehaviour();
    void refusal_data();
    void refusal();
    void simulatorReadsOnlyRegularImages();

private:
    QTemporaryDir m_dir;
    SystemTickCounter m_ticks;
};

void LinkPtyTest::init()
{
    QVERIFY(m_dir.isValid());
}

void LinkPtyTest::downloadFactoryDefaults()
{
    const QString saved = m_dir.filePath(QStringLiteral("defaults.vfd"));
    Simulator sim;
    QVERIFY(sim.start({"--once", "--save", saved}));

    Configuration config;
    config.startUp();
    config.AssembleImage();
    SerialPortComm comm;
    const Result<void> result =
        Transfer::download(comm, m_ticks, target(sim.port()), config.image());
    QVERIFY2(result, qPrintable(messageOf(result)));
    QVERIFY(!comm.isPortOpen());
    QVERIFY(sim.finish());

    // Exactly 0x1B 0xEF 0xAA and 126 bytes reached the display.
    QVERIFY2(sim.output().contains("129 bytes"), sim.output().constData());
    const QByteArray image = readFile(saved);
    QCOMPARE(image.size(), 126);
    QByteArray expected(126, '\0');
    expected[ImageLayout::CommandSet - 1] = 1;
    expected.replace(ImageLayout::Line1 - 1, 20, "*VFD DISPLAY TQ-540*");
    expected.replace(ImageLayout::Line2 - 1, 33, "**HAVE A NICE DAY AND THANK YOU**");
    QCOMPARE(image, expected);
}

void LinkPtyTest::downloadSwitchesAsciiToHex()
{
    const QString saved = m_dir.filePath(QStringLiteral("ascii.vfd"));
    Simulator sim;
    QVERIFY(sim.start({"--once", "--quiet", "--save", saved}));

    Configuration config;
    config.startUp();
    config.line1().selectView(MessageLine::View::Ascii);
    QVERIFY(config.line1().setAsciiText(1, QStringLiteral("Z")));
    config.AssembleImage();
    QCOMPARE(config.line1().view(), MessageLine::View::Hex);
    QCOMPARE(config.line1().hexText(1), QStringLiteral("5A"));

    SerialPortComm comm;
    QVERIFY(Transfer::download(comm, m_ticks, target(sim.port()), config.image()));
    QVERIFY(sim.finish());
    QCOMPARE(readFile(saved).mid(ImageLayout::Line1 - 1, 20), QByteArray("ZVFD DISPLAY TQ-540*"));
}

void LinkPtyTest::staleInputDiscarded()
{
    // A stray 0xAA waiting before the request would pass the lead-byte check
    // and shift the image by one, unless the upload discards it.
    const SettingsImage image = storedImage();
    const QString start = m_dir.filePath(QStringLiteral("start.vfd"));
    QVERIFY(writeFile(start, image.configBytes()));
    {
        Simulator sim;
        QVERIFY(sim.start({"--stale", "3", "--stale-byte", "0xAA", "--quiet", "--image", start}));
        SerialPortComm comm;
        const Result<SettingsImage> up = Transfer::upload(comm, m_ticks, target(sim.port()));
        QVERIFY2(up, qPrintable(messageOf(up)));
        QCOMPARE(up->configBytes(), image.configBytes());
    }

    const QString saved = m_dir.filePath(QStringLiteral("stale.vfd"));
    Simulator sim;
    QVERIFY(sim.start({"--stale", "7", "--once", "--quiet", "--save", saved}));
    SerialPortComm comm;
    QVERIFY(Transfer::download(comm, m_ticks, target(sim.port()), image));
    // The download ends when the bytes are sent; the file is there once the
    // simulator has taken them in.
    QVERIFY(sim.finish());
    QCOMPARE(readFile(saved), image.configBytes());
}

void LinkPtyTest::downloadLosesTheLineAtTheEnd()
{
    // The display hangs up as the last byte comes: the port took every byte
    // long before, and that is no success.
    Simulator sim;
    QVERIFY(sim.start({"--quiet", "--drop-after", "129"}));
    SerialPortComm comm;
    const Result<void> result =
        Transfer::download(comm, m_ticks, target(sim.port()), storedImage());
    QVERIFY(!result);
    const QString message = messageOf(result);
    QVERIFY2(message.startsWith(QStringLiteral("The download to %1 ").arg(sim.port())),
             qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("the line to the display was lost")),
             qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("download again.")), qPrintable(message));
    QVERIFY(!comm.isPortOpen());
}

void LinkPtyTest::uploadSetsControls_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("extraArguments");
    // Positions expected, in the order of the DisplaySettings table.
    QTest::addColumn<QList<int>>("positions");

    QTest::newRow("every control") << 0 << 0 << QStringList() << QList<int>{1, 18, 9, 2};
    QTest::newRow("command 12 is no position")
        << ImageLayout::CommandSet << 12 << QStringList() << QList<int>{1, 18, 1, 2};
    QTest::newRow("baud 3 is no position")
        << ImageLayout::DisplaySpeed << 3 << QStringList() << QList<int>{0, 18, 9, 2};
    QTest::newRow("char 19 is over the bound")
        << ImageLayout::CharacterSet << 19 << QStringList() << QList<int>{1, 0, 9, 2};
    QTest::newRow("passthru 3 is no position")
        << ImageLayout::Passthru << 3 << QStringList() << QList<int>{1, 18, 9, 0};
    QTest::newRow("more than 127 bytes")
        << 0 << 0 << QStringList{"--extra", "9"} << QList<int>{1, 18, 9, 2};
}

void LinkPtyTest::uploadSetsControls()
{
    QFETCH(int, index);
    QFETCH(int, value);
    QFETCH(QStringList, extraArguments);
    QFETCH(QList<int>, positions);

    SettingsImage stored = storedImage();
    if (index > 0)
        stored.set(index, static_cast<quint8>(value));
    const QString file = m_dir.filePath(QStringLiteral("stored.vfd"));
    QVERIFY(writeFile(file, stored.configBytes()));

    Simulator sim;
    QVERIFY(sim.start(QStringList{"--quiet", "--image", file} + extraArguments));

    Configuration config;
    config.startUp();
    config.line1().selectView(MessageLine::View::Ascii);

    SerialPortComm comm;
    const Result<SettingsImage> result = Transfer::upload(comm, m_ticks, target(sim.port()));
    QVERIFY2(result, qPrintable(messageOf(result)));
    QVERIFY(!comm.isPortOpen());
    config.applyUpload(*result);

    QList<int> actual;
    for (const DisplaySettingInfo &setting : DisplaySettings::Table)
        actual << config.listPosition(setting.setting);
    QCOMPARE(actual, positions);
    // Reserved bytes and records arrive whole, the lead byte at index 0.
    SettingsImage expected = stored;
    expected.set(ImageLayout::ReplyLead, 0xAA);
    QCOMPARE(config.image(), expected);

    QCOMPARE(config.line1().view(), MessageLine::View::Hex);
    QCOMPARE(config.line2().view(), MessageLine::View::Hex);
    const QStringList texts = {"00", "0F", "10", "FF"};
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(config.line1().hexText(1 + k), texts[k]);
        QCOMPARE(config.line2().hexText(37 + k), texts[k]);
    }
    for (int cell = 5; cell <= 20; ++cell)
        QCOMPARE(config.line1().hexText(cell),
                 QStringLiteral("%1").arg(stored.at(6 + cell), 2, 16, QLatin1Char('0')).toUpper());
}

void LinkPtyTest::uploadMisbehaviour_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Outcome>("expected");
    QTest::addColumn<QString>("expectedMessage");

    QTest::newRow("no answer") << QStringList{"--no-answer"} << Outcome(Reason::NoAnswer)
                               << "%1 can't be open !!";
    QTest::newRow("first byte too late") << QStringList{"--first-byte-delay", "2600"}
                                         << Outcome(Reason::NoAnswer) << "%1 can't be open !!";
    QTest::newRow("first byte late but in time")
        << QStringList{"--first-byte-delay", "1500"} << Outcome() << "Upload O.K!";
    QTest::newRow("wrong lead") << QStringList{"--wrong-lead", "0x55"}
                                << Outcome(Reason::WrongLeadByte) << "Receive Check bit Error !!";
    QTest::newRow("short reply")
        << QStringList{"--short", "57"} << Outcome(Reason::ShortReply)
        << "Incomplete reply from the display: 57 of 127 bytes came. Nothing was changed.";
    QTest::newRow("line dropped")
        << QStringList{"--drop-after", "1"} << Outcome(Reason::LineLost)
        << "The upload from %1 stopped and the port was closed: the line to the display was lost. "
           "Nothing was changed.";
}

void LinkPtyTest::uploadMisbehaviour()
{
    QFETCH(QStringList, arguments);
    QFETCH(Outcome, expected);
    QFETCH(QString, expectedMessage);

    const QString file = m_dir.filePath(QStringLiteral("stored.vfd"));
    QVERIFY(writeFile(file, storedImage().configBytes()));
    Simulator sim;
    QVERIFY(sim.start(QStringList{"--quiet", "--image", file} + arguments));

    Configuration config;
    config.startUp();
    config.image().set(ImageLayout::Reserved.front(), 0x42);
    config.image().set(ImageLayout::Characters, 0x41);
    const QStringList before = configSnapshot(config);

    SerialPortComm comm;
    const Result<SettingsImage> result = Transfer::upload(comm, m_ticks, target(sim.port()));
    QCOMPARE(outcomeOf(result), expected);
    const QString message = result ? Messages::uploadOk() : messageOf(result);
    QVERIFY2(message.startsWith(QString(expectedMessage).replace("%1", sim.port())),
             qPrintable(message));
    QVERIFY(!comm.isPortOpen());
    if (result)
        config.applyUpload(*result);
    else
        QCOMPARE(configSnapshot(config), before);
}

void LinkPtyTest::refusal_data()
{
    QTest::addColumn<QString>("port"); // empty: the simulator's
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expectedReason");

    QTest::newRow("missing ttyS99") << "/dev/ttyS99"
                                    << "9600,n,8,1"
                                    << "there is no such port";
    QTest::newRow("missing device") << "/dev/nonexistent"
                                    << "9600,n,8,1"
                                    << "there is no such port";
    // Refused in plain words, not as the system's failed terminal request.
    for (const char *notSerial : {"/dev/null", "@file", "@fifo", "@folder"})
        QTest::addRow("%s", notSerial) << notSerial << "9600,n,8,1" << "is not a serial port";
    QTest::newRow("bad settings") << ""
                                  << "9600,x,8,1"
                                  << "\"9600,x,8,1\" are not valid";
    QTest::newRow("no port") << " "
                             << "9600,n,8,1"
                             << "";
}

void LinkPtyTest::refusal()
{
    QFETCH(QString, port);
    QFETCH(QString, settings);
    QFETCH(QString, expectedReason);

    Simulator sim;
    QVERIFY(sim.start({"--quiet"}));
    if (port.isEmpty())
        port = sim.port();
    // "@kind": a file of that kind in a folder of the test's own.
    QTemporaryDir dir;
    if (port.startsWith(u'@')) {
        const QString kind = port.mid(1);
        port = dir.filePath(kind);
        if (kind == u"fifo")
            QVERIFY(::mkfifo(QFile::encodeName(port).constData(), 0600) == 0);
        else if (kind == u"file")
            QVERIFY(QFile(port).open(QIODevice::WriteOnly));
        else
            QVERIFY(QDir().mkdir(port));
    }

    SerialPortComm comm;
    const Result<void> down =
        Transfer::download(comm, m_ticks, target(port, settings), storedImage());
    QVERIFY(!down);
    QVERIFY(!comm.isPortOpen());
    const Result<SettingsImage> up = Transfer::upload(comm, m_ticks, target(port, settings));
    QVERIFY(!up);
    QCOMPARE(up.error().stage, Error::Stage::Opening);
    QVERIFY(!comm.isPortOpen());

    for (const QString &message : {messageOf(down), messageOf(up)}) {
        if (expectedReason.isEmpty()) {
            QVERIFY2(message.startsWith(QStringLiteral("No port is selected")),
                     qPrintable(message));
        } else {
            QVERIFY2(message.startsWith(port + QStringLiteral(" can't be used: ")),
                     qPrintable(message));
            QVERIFY2(message.contains(expectedReason), qPrintable(message));
        }
    }
}

// The simulator reads --image as every reader does: a pipe neither holds it
// before it prints its port nor is taken for an image.
void LinkPtyTest::simulatorReadsOnlyRegularImages()
{
    const QString fifo = m_dir.filePath("image.vfd");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QProcess sim;
    sim.start(QStringLiteral(TQ540SIM), {"--image", fifo});
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(!sim.readAllStandardOutput().contains("port:"));
    QVERIFY(sim.readAllStandardError().contains("not a regular file"));
}

QTEST_GUILESS_MAIN(LinkPtyTest)
#include "tst_linkpty.moc"
