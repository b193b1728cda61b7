// tq540ctl as a script runs it, against simulated displays.

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "model/SettingsImage.h"
#include "support/CtlProcess.h"
#include "support/SilentPty.h"
#include "support/SimProcess.h"

namespace {

const QString A = QStringLiteral(".###./#...#/#...#/#####/#...#/#...#/#...#");

using Run = CtlResult;

Run ctl(const QStringList &arguments)
{
    return runCtl(arguments);
}

// Every kind of field set: lists at their last entries, codes the text
// cannot show, a record with bit 7 in a column, reserved bytes.
SettingsImage crafted()
{
    SettingsImage image;
    image.set(ImageLayout::DisplaySpeed, 1);
    image.set(ImageLayout::CharacterSet, 18);
    image.set(ImageLayout::CommandSet, 9);
    image.set(ImageLayout::Passthru, 2);
    const QByteArray line1 = QByteArray::fromHex("4869000120");
    for (int k = 0; k < line1.size(); ++k)
        image.set(ImageLayout::Line1 + k, quint8(line1[k]));
    const QByteArray line2 = "Caf\xE9";
    for (int k = 0; k < line2.size(); ++k)
        image.set(ImageLayout::Line2 + k, quint8(line2[k]));
    const QByteArray record = QByteArray::fromHex("417E8909097E");
    for (int k = 0; k < record.size(); ++k)
        image.set(ImageLayout::recordPosition(2) + k, quint8(record[k]));
    image.set(67, 0x12);
    image.set(123, 0xFF);
    return image;
}

} // namespace

class TestCtl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newThenDownloadSendsExactBytes();
    void uploadSavesWhatTheDisplayHolds();
    void verifyNamesWhatTheDisplayDidNotTake();
    void failingDisplayDoesNotStopOthers();
    void findReportsEachPort();
    void wrongValueWritesNothing_data();
    void wrongValueWritesNothing();
    void unusableFile_data();
    void unusableFile();
    void show();
    void diff();

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    QString file(const char *name, const SettingsImage &image)
    {
        const QString at = path(name);
        return writeFile(at, image.configBytes()) ? at : QString();
    }

    QTemporaryDir m_dir;
};

void TestCtl::init()
{
    QVERIFY(m_dir.isValid());
}

void TestCtl::newThenDownloadSendsExactBytes()
{
    const QString made = path("shop.vfd");
    const Run created = ctl({"new", "-o", made, "--char", "latvian", "--command", "9", "--passthru",
                             "With ESC/POS command", "--line1", "Shop 12", "--line2-hex", "41 42FF",
                             "--glyph", "2:0x41:" + A, "--display-baud", "19200"});
    QCOMPARE(created.status, 0);

    QByteArray expected(ImageLayout::ConfigLength, '\0');
    const auto put = [&expected](int index, const QByteArray &bytes) {
        expected.replace(index - ImageLayout::FirstConfig, bytes.size(), bytes);
    };
    put(ImageLayout::DisplaySpeed, "\x01");
    put(ImageLayout::CharacterSet, "\x0F");
    put(ImageLayout::CommandSet, "\x09");
    put(ImageLayout::Passthru, "\x01");
    put(ImageLayout::Line1, "Shop 12");
    put(ImageLayout::Line2, "AB\xFF");
    put(ImageLayout::recordPosition(2), QByteArray::fromHex("417E0909097E"));
    QCOMPARE(readFile(made), expected);

    const QString saved = path("display.vfd");
    SimProcess sim(QStringLiteral(TQ540SIM));
    QVERIFY(sim.start({"--once", "--save", saved}));
    // --once ends the simulator after the download: nobody is left to read it back.
    const Run run = ctl({"download", made, "--port", sim.port(), "--no-verify"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, sim.port() + ": ok: Download O.K ! Please restart !\n");
    QTRY_VERIFY(sim.output().contains("129 bytes received"));
    QCOMPARE(readFile(saved), expected);
}

void TestCtl::uploadSavesWhatTheDisplayHolds()
{
    const QString stored = file("stored.vfd", crafted());
    SimProcess sim(QStringLiteral(TQ540SIM));
    QVERIFY(sim.start({"--quiet", "--image", stored}));
    const QString copy = path("copy.vfd");
    const Run run = ctl({"upload", "--port", sim.port(), "-o", copy});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains("reserved[123]  0xFF\n"), qPrintable(run.out));
    QCOMPARE(readFile(copy), readFile(stored));
}

void TestCtl::verifyNamesWhatTheDisplayDidNotTake()
{
    SimProcess sim(QStringLiteral(TQ540SIM));
    QVERIFY(sim.start({"--quiet", "--keep-image", "--image", file("old.vfd", crafted())}));
    SettingsImage sent = crafted();
    sent.set(ImageLayout::CommandSet, 1);
    sent.set(ImageLayout::Line1 + 1, 'o');
    sent.set(ImageLayout::Line1 + 2, 'p');
    sent.set(ImageLayout::recordPosition(9), 0x42);
    const Run run = ctl({"download", file("new.vfd", sent), "--port", sim.port()});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, sim.port() + ": differs: Download O.K ! Please restart ! The display holds "
                                   "something else in 4 fields: command, line1[2-3], glyph[9].\n");

    const Run json = ctl({"download", path("new.vfd"), "--port", sim.port(), "--json"});
    QCOMPARE(json.status, 1);
    const QJsonArray displays = QJsonDocument::fromJson(json.out.toUtf8())["ports"].toArray();
    QCOMPARE(displays.size(), 1);
    QCOMPARE(displays[0]["port"].toString(), sim.port());
    QCOMPARE(displays[0]["outcome"].toString(), QStringLiteral("differs"));
    QVERIFY(displays[0]["message"].toString().startsWith("Download O.K !"));
    QCOMPARE(displays[0]["differences"].toArray(),
             QJsonArray({"command", "line1[2-3]", "glyph[9]"}));
}

// Each display checked on its own: present, missing, answering wrongly,
// silent; none stops the others.
void TestCtl::failingDisplayDoesNotStopOthers()
{
    const QString image = file("all.vfd", crafted());
    SimProcess first(QStringLiteral(TQ540SIM));
    SimProcess garbled(QStringLiteral(TQ540SIM));
    SimProcess last(QStringLiteral(TQ540SIM));
    SilentPty silent;
    QVERIFY(!silent.port().isEmpty());
    QVERIFY(first.start({"--quiet", "--save", path("first.vfd")}));
    QVERIFY(garbled.start({"--quiet", "--wrong-lead", "0x55"}));
    QVERIFY(last.start({"--quiet", "--save", path("last.vfd")}));
    const QString missing = path("no-such-port");

    const Run run = ctl({"download", image, "-p", first.port(), "-p", missing, "-p", garbled.port(),
                         "-p", silent.port(), "-p", last.port()});
    QCOMPARE(run.status, 1);
    // One line a port, in their order; tst_messages has the words.
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    const QString sent = QStringLiteral(" Download O.K ! Please restart ! ");
    const QStringList begins = {
        first.port() + ": ok:" + sent + "Checked: ",
        missing + ": failed: " + missing + " can't be used: there is no such port",
        garbled.port() + ": unchecked:" + sent + "Not checked: the answer to a read-back",
        silent.port() + ": unchecked:" + sent + "Not checked: the display did not answer",
        last.port() + ": ok:" + sent + "Checked: ",
    };
    QCOMPARE(lines.size(), begins.size());
    for (int k = 0; k < lines.size(); ++k)
        QVERIFY2(lines[k].startsWith(begins[k]), qPrintable(lines[k]));
    QCOMPARE(readFile(path("first.vfd")), readFile(image));
    QCOMPARE(readFile(path("last.vfd")), readFile(image));
}

void TestCtl::findReportsEachPort()
{
    SimProcess plain(QStringLiteral(TQ540SIM));
    SimProcess shop(QStringLiteral(TQ540SIM));
    SilentPty silent;
    QVERIFY(!silent.port().isEmpty());
    QVERIFY(plain.start({"--quiet"}));
    QVERIFY(shop.start({"--quiet", "--image", file("shop.vfd", crafted())}));

    const Run run = ctl({"find", "-p", plain.port(), "-p", silent.port(), "-p", shop.port()});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.split('\n', Qt::SkipEmptyParts),
             QStringList({plain.port() + ": answered at 9600,n,8,1: command set EPSON (Default), "
                                         "character set USA/Eurpope  (Default), display baud "
                                         "9600,n,8,1 (Default)",
                          silent.port() + ": no answer: no answer at 9600 or 19200",
                          shop.port() + ": answered at 9600,n,8,1: command set LogicControl, "
                                        "character set Greek CP8859-7, display baud 19200,n,8,1"}));
}

void TestCtl::wrongValueWritesNothing_data()
{
    // %in is an existing file, %out a new one, %sim a simulated display.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    const auto row = [](const char *name, const QStringList &arguments, const char *named) {
        QTest::newRow(name) << arguments << QString::fromUtf8(named);
    };
    row("unknown entry", {"new", "-o", "%out", "--char", "ATLANTIS"}, "--char \"ATLANTIS\"");
    row("position past the list", {"edit", "%in", "--command", "10"}, "--command 10");
    row("speed of no entry", {"edit", "%in", "--display-baud", "38400"}, "1 \"19200,n,8,1\"");
    row("line too long", {"new", "-o", "%out", "--line1", "123456789012345678901"}, "--line1");
    row("character with no code", {"edit", "%in", "--line2", "Ω"}, "U+03A9");
    row("odd hex", {"new", "-o", "%out", "--line1-hex", "41 4"}, "\"4\"");
    row("hex junk", {"new", "-o", "%out", "--line2-hex", "4G"}, "\"G\"");
    row("code below range", {"new", "-o", "%out", "--glyph", "1:0x1F:" + A}, "0x1F");
    row("code above range", {"edit", "%in", "--glyph", "1:7F:" + A}, "7F");
    row("pattern shape", {"new", "-o", "%out", "--glyph", "1:0x41:#####/#####"}, "pattern");
    row("character 10", {"new", "-o", "%out", "--clear-glyph", "10"}, "\"10\"");
    row("character twice", {"edit", "%in", "--clear-glyph", "3", "--glyph", "3:0x41:" + A},
        "character 3");
    row("line twice", {"new", "-o", "%out", "--line1", "a", "--line1-hex", "41"}, "not both");
    row("port twice", {"download", "%in", "-p", "%sim", "--port", "%sim"}, "twice");
    row("port 9", {"download", "%in", "-p", "%sim", "-p", "9"}, "--port \"9\"");
    row("bad settings", {"download", "%in", "-p", "%sim", "--settings", "9600,x,8,1"},
        "9600,x,8,1");
    row("two uploads", {"upload", "-p", "%sim", "-p", "1", "-o", "%out"}, "one display");
    row("empty settings, download", {"download", "%in", "-p", "%sim", "--settings", ""},
        "--settings: an empty text");
    row("empty settings, upload", {"upload", "-p", "%sim", "--settings", ""},
        "--settings: an empty text");
    row("empty settings, test", {"test", "-p", "%sim", "--settings", ""},
        "--settings: an empty text");
    row("empty settings, listen", {"listen", "-p", "%sim", "--settings", ""},
        "--settings: an empty text");
    row("auto beside a port", {"test", "-p", "auto", "-p", "%sim"}, "--port auto");
    row("unknown option", {"new", "-o", "%out", "--colour", "red"}, "colour");
}

void TestCtl::wrongValueWritesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const QString in = file("in.vfd", crafted());
    const QString out = path("out.vfd");
    SimProcess sim(QStringLiteral(TQ540SIM));
    QVERIFY(sim.start({}));
    arguments.replaceInStrings("%in", in).replaceInStrings("%out", out);
    arguments.replaceInStrings("%sim", sim.port());

    const Run run = ctl(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(out));
    QCOMPARE(readFile(in), crafted().configBytes());
    QVERIFY2(!sim.output().contains("download") && !sim.output().contains("upload"),
             sim.output().constData());
}

void TestCtl::unusableFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing") << QStringList{"show", "%dir/none.vfd"} << "no such file";
    QTest::newRow("missing, json")
        << QStringList{"show", "%dir/none.vfd", "--json"} << "no such file";
    QTest::newRow("folder") << QStringList{"diff", "%dir", "%dir"} << "not a regular file";
    QTest::newRow("fifo") << QStringList{"download", "%dir/fifo", "-p", "%sim"}
                          << "not a regular file";
    QTest::newRow("short") << QStringList{"edit", "%dir/short.vfd", "-o", "%dir/out.vfd"}
                           << "holds 125 bytes";
    QTest::newRow("no list entry")
        << QStringList{"show", "%dir/command12.vfd"} << "command holds no entry";
    QTest::newRow("refused name") << QStringList{"new", "-o", "%dir/TQ-540.vfd"}
                                  << "KS310.vfd can't be saved";
    QTest::newRow("missing folder")
        << QStringList{"new", "-o", "%dir/none/out.vfd"} << "does not exist";
    QTest::newRow("output is a folder")
        << QStringList{"upload", "-p", "%sim", "-o", "%dir"} << "not a regular file";
}

void TestCtl::unusableFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    QVERIFY(::mkfifo(qPrintable(path("fifo")), 0600) == 0);
    QVERIFY(writeFile(path("short.vfd"), QByteArray(125, '\0')));
    SettingsImage command12;
    command12.set(ImageLayout::CommandSet, 12);
    file("command12.vfd", command12);
    SimProcess sim(QStringLiteral(TQ540SIM));
    QVERIFY(sim.start({}));
    arguments.replaceInStrings("%dir", m_dir.path()).replaceInStrings("%sim", sim.port());

    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System);
    const Run run = ctl(arguments);
    QCOMPARE(run.status, 3);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // A JSON reader gets the failure as JSON.
    if (arguments.contains("--json")) {
        const QJsonObject failure = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(failure.value("outcome").toString(), QString("failed"));
        QCOMPARE(failure.value("status").toInt(), 3);
        QVERIFY(failure.value("message").toString().contains(message));
    }
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System), before);
    QVERIFY2(!sim.output().contains("download") && !sim.output().contains("upload"),
             sim.output().constData());
    QFile::remove(path("fifo"));
}

void TestCtl::show()
{
    const QString stored = file("stored.vfd", crafted());
    const Run text = ctl({"show", stored});
    QCOMPARE(text.status, 0);
    const QStringList lines = text.out.split('\n');
    const QStringList expected = {"display-baud   1 \"19200,n,8,1\"",
                                  "char           18 \"Greek CP8859-7\"",
                                  "command        9 \"LogicControl\"",
                                  "passthru       2 \"without ESC/POS command\"",
                                  "line1          \"Hi\u2400\u2401 \"",
                                  "line2          \"Café\"",
                                  "glyph[2]       code 0x41",
                                  "               #####",
                                  "reserved[67]   0x12"};
    for (const QString &line : expected)
        QVERIFY2(lines.contains(line), qPrintable(line + "\n" + text.out));
    QVERIFY(!text.out.contains("glyph[1]"));

    const Run json = ctl({"show", "--json", stored});
    QCOMPARE(json.status, 0);
    const QJsonObject view = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(view["char"]["text"].toString(), QStringLiteral("Greek CP8859-7"));
    QCOMPARE(view["line1"]["hex"].toString().left(15), QStringLiteral("48 69 00 01 20 "));
    const QJsonArray glyphs = view["glyphs"].toArray();
    QCOMPARE(glyphs.size(), 1);
    QCOMPARE(glyphs[0]["number"].toInt(), 2);
    QCOMPARE(glyphs[0]["pattern"].toString(), A);
    QCOMPARE(glyphs[0]["columns"].toString(), QStringLiteral("7E 89 09 09 7E"));
    QCOMPARE(view["reserved"].toArray().size(), 2);
}

void TestCtl::diff()
{
    SettingsImage other = crafted();
    other.set(ImageLayout::CharacterSet, 1);
    other.set(ImageLayout::Line1 + 1, 'o');
    other.set(ImageLayout::recordPosition(2) + 2, 0x09); // only bit 7 goes
    other.set(123, 0);
    const QString a = file("a.vfd", crafted());
    const QString b = file("b.vfd", other);

    const Run text = ctl({"diff", a, b});
    QCOMPARE(text.status, 1);
    QCOMPARE(text.out, "char: 18 \"Greek CP8859-7\" -> 1 \"FRANCE\"\n"
                       "line1[2]: 69 \"i\" -> 6F \"o\"\n"
                       "glyph[2]: 0x41:" +
                           A + " (columns 7E 89 09 09 7E) -> 0x41:" + A +
                           " (columns 7E 09 09 09 7E)\n"
                           "reserved[123]: 0xFF -> 0x00\n");

    const Run json = ctl({"diff", "--json", a, b});
    QCOMPARE(json.status, 1);
    QStringList fields;
    for (const QJsonValue difference :
         QJsonDocument::fromJson(json.out.toUtf8())["differences"].toArray())
        fields << difference["field"].toString();
    QCOMPARE(fields, QStringList({"char", "line1[2]", "glyph[2]", "reserved[123]"}));

    const Run same = ctl({"diff", a, a});
    QCOMPARE(same.status, 0);
    QVERIFY(same.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestCtl)
#include "tst_ctl.moc"
