#include <QTest>

#include "model/ImageCodec.h"

using ImageCodec::Fields;

namespace {

const QString A = QStringLiteral(".###./#...#/#...#/#####/#...#/#...#/#...#");

using Changes = QList<QPair<int, int>>; // image index, new value

// Every kind of field set: settings at their last entries, codes a text
// cannot show, a record with bit 7 in a column, reserved bytes.
SettingsImage crafted()
{
    SettingsImage image;
    const auto put = [&image](int first, const QByteArray &bytes) {
        for (int k = 0; k < bytes.size(); ++k)
            image.set(first + k, quint8(bytes[k]));
    };
    put(ImageLayout::DisplaySpeed, QByteArray::fromHex("0100120009"));
    put(ImageLayout::Passthru, QByteArray::fromHex("02"));
    put(ImageLayout::Line1, QByteArray::fromHex("4869000120"));
    put(ImageLayout::Line2, "Caf\xE9");
    put(ImageLayout::recordPosition(2), QByteArray::fromHex("417E8909097E"));
    put(67, "\x12");
    put(123, "\xFF");
    return image;
}

SettingsImage changed(SettingsImage image, const Changes &changes)
{
    for (const auto &[index, value] : changes)
        image.set(index, quint8(value));
    return image;
}

} // namespace

class TestImageCodec : public QObject
{
    Q_OBJECT

private slots:
    void everyByteIsOneField();
    void fieldNames_data();
    void fieldNames();
    void decodeTyped();
    void lineText_data();
    void lineText();
    void pattern_data();
    void pattern();
    void glyphRecord();
    void differences_data();
    void differences();
};

void TestImageCodec::everyByteIsOneField()
{
    QCOMPARE(QList<int>(ImageLayout::Reserved.begin(), ImageLayout::Reserved.end()),
             QList<int>({1, 3, 5, 67, 123, 124, 125, 126}));
    const Fields zero = ImageCodec::decode(SettingsImage());
    for (int index = ImageLayout::FirstConfig; index < ImageLayout::Size; ++index) {
        SettingsImage image;
        image.set(index, 0x80);
        const Fields fields = ImageCodec::decode(image);
        QCOMPARE(ImageCodec::differences(zero, fields).size(), 1);

        SettingsImage written;
        written.set(ImageLayout::ReplyLead, 0xAA);
        ImageCodec::encode(fields, written);
        image.set(ImageLayout::ReplyLead, 0xAA);
        QCOMPARE(written, image);
    }
}

void TestImageCodec::fieldNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");

    QTest::newRow("speed") << 2 << "display-baud";
    QTest::newRow("last cell of line 1") << 26 << "line1[20]";
    QTest::newRow("last cell of line 2") << 66 << "line2[40]";
    QTest::newRow("last column of character 9") << 122 << "glyph[9]";
    QTest::newRow("last byte") << 126 << "reserved[126]";
}

void TestImageCodec::fieldNames()
{
    QFETCH(int, index);
    QFETCH(QString, name);

    SettingsImage image;
    image.set(index, 1);
    const QList<ImageCodec::FieldRef> found =
        ImageCodec::differences(ImageCodec::decode(SettingsImage()), ImageCodec::decode(image));
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.front().name(), name);
}

void TestImageCodec::decodeTyped()
{
    SettingsImage image = crafted();
    image.set(ImageLayout::CommandSet, 12);
    const Fields fields = ImageCodec::decode(image);

    QCOMPARE(fields.settings[1].entry().value_or(QString()), QStringLiteral("Greek CP8859-7"));
    QVERIFY(!fields.settings[2].entry());
    QCOMPARE(fields.lines[1].bytes, QByteArray("Caf\xE9").leftJustified(40, '\0'));

    const ImageCodec::Glyph &glyph = fields.glyphs[1];
    QCOMPARE(glyph.number, 2);
    QCOMPARE(glyph.code, quint8(0x41));
    QCOMPARE(glyph.columns[1], quint8(0x89)); // kept as stored
    QCOMPARE(ImageCodec::patternText(glyph.dots()), A);
    QVERIFY(fields.glyphs[0].isEmpty() && !glyph.isEmpty());

    QCOMPARE(fields.reserved[3].index, 67);
    QCOMPARE(fields.reserved[4].value, quint8(0xFF));
}

void TestImageCodec::lineText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("all zero") << QByteArray(20, '\0') << "";
    QTest::newRow("zeros at the end left off") << QByteArray("AB\0\0", 4) << "AB";
    QTest::newRow("zero between") << QByteArray("A\0B", 3) << "A\u2400B";
    QTest::newRow("zero at the start") << QByteArray("\0A", 2) << "\u2400A";
    QTest::newRow("stand-ins") << QByteArray::fromHex("017F8081E9") << "\u2401\u2421\u20AC\u2422é";
}

void TestImageCodec::lineText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(ImageCodec::LineField{bytes}.text(), text);
}

void TestImageCodec::pattern_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("letter") << A << true;
    QTest::newRow("all dark") << "...../...../...../...../...../...../....." << true;
    QTest::newRow("six rows") << "#####/#####/#####/#####/#####/#####" << false;
    QTest::newRow("short row") << "####/#####/#####/#####/#####/#####/#####" << false;
    QTest::newRow("other mark") << "#####/#####/#####/#####/#####/#####/####x" << false;
}

void TestImageCodec::pattern()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);

    const std::optional<ImageCodec::Dots> dots = ImageCodec::readPattern(text);
    QCOMPARE(dots.has_value(), valid);
    if (valid)
        QCOMPARE(ImageCodec::patternText(*dots), text);
}

void TestImageCodec::glyphRecord()
{
    SettingsImage image;
    const QByteArray stored = QByteArray::fromHex("7E8140000040");
    for (int k = 0; k < stored.size(); ++k)
        image.set(ImageLayout::recordPosition(9) + k, quint8(stored[k]));
    ImageCodec::Dots dots = ImageCodec::glyphAt(image, 9).dots();
    QVERIFY(dots[0][0] && !dots[0][1] && dots[1][6] && dots[4][6] && !dots[2][6]);

    // Drawn again, bit 7 goes; nothing outside record 9 changes.
    dots[2][3] = true;
    const SettingsImage before = image;
    ImageCodec::storeGlyph(image, ImageCodec::Glyph::drawn(9, 0x41, dots));
    const ImageCodec::Glyph glyph = ImageCodec::glyphAt(image, 9);
    QCOMPARE(glyph.code, quint8(0x41));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(glyph.columns.data()), 5),
             QByteArray::fromHex("0140080040"));
    for (int index = 0; index < ImageLayout::recordPosition(9); ++index)
        QCOMPARE(image.at(index), before.at(index));
}

void TestImageCodec::differences_data()
{
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QStringList>("names");

    const int line1 = ImageLayout::Line1;
    const int line2 = ImageLayout::Line2;
    QTest::newRow("the same") << Changes{} << QStringList{};
    QTest::newRow("setting, run of cells, record")
        << Changes{{ImageLayout::CommandSet, 1},
                   {line1 + 1, 'o'},
                   {line1 + 2, 'p'},
                   {ImageLayout::recordPosition(9), 0x42}}
        << QStringList{"command", "line1[2-3]", "glyph[9]"};
    QTest::newRow("only bit 7 of a column")
        << Changes{{ImageLayout::recordPosition(2) + 2, 0x09}} << QStringList{"glyph[2]"};
    QTest::newRow("cells of two lines do not fold")
        << Changes{{line1 + 2, 1}, {line2 + 3, 1}} << QStringList{"line1[3]", "line2[4]"};
    QTest::newRow("a gap in the run") << Changes{{line2, 1}, {line2 + 1, 1}, {line2 + 3, 1}}
                                      << QStringList{"line2[1-2]", "line2[4]"};
    Changes whole;
    for (int cell = 0; cell < ImageLayout::Line1Length; ++cell)
        whole.append({line1 + cell, 0x7A});
    QTest::newRow("a whole line") << whole << QStringList{"line1[1-20]"};
    QTest::newRow("reserved bytes")
        << Changes{{67, 0}, {126, 1}} << QStringList{"reserved[67]", "reserved[126]"};
}

void TestImageCodec::differences()
{
    QFETCH(Changes, changes);
    QFETCH(QStringList, names);

    const Fields a = ImageCodec::decode(crafted());
    const Fields b = ImageCodec::decode(changed(crafted(), changes));
    QCOMPARE(ImageCodec::foldedNames(ImageCodec::differences(a, b)), names);
    QCOMPARE(ImageCodec::foldedNames(ImageCodec::differences(b, a)), names);
}

QTEST_APPLESS_MAIN(TestImageCodec)
#include "tst_imagecodec.moc"
