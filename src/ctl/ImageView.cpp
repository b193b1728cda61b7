#include "ImageView.h"

#include <QJsonArray>

#include "messages/SettingMessages.h"
#include "model/CodePage.h"
#include "model/HexText.h"

namespace ImageView {

namespace {

using ImageCodec::FieldRef;
using ImageCodec::Fields;
using ImageCodec::Glyph;

constexpr int LabelWidth = 15;
constexpr qsizetype PairsPerRow = 20;

QString byteText(quint8 byte)
{
    return QStringLiteral("0x") + HexText::hexPair(byte);
}

QString label(const QString &name)
{
    return name.leftJustified(LabelWidth - 1) + QLatin1Char(' ');
}

QString pairs(QByteArrayView bytes)
{
    QStringList pairs;
    for (const char byte : bytes)
        pairs << HexText::hexPair(static_cast<quint8>(byte));
    return pairs.join(QLatin1Char(' '));
}

QString columnsText(const Glyph &glyph)
{
    return pairs(QByteArrayView(glyph.columns.data(), qsizetype(glyph.columns.size())));
}

QJsonValue settingJson(const ImageCodec::SettingField &field)
{
    const std::optional<QString> entry = field.entry();
    return QJsonObject{{QStringLiteral("position"), int(field.position)},
                       {QStringLiteral("text"), entry ? QJsonValue(*entry) : QJsonValue()}};
}

QJsonValue glyphJson(const Glyph &glyph)
{
    return QJsonObject{{QStringLiteral("number"), glyph.number},
                       {QStringLiteral("code"), byteText(glyph.code)},
                       {QStringLiteral("pattern"), ImageCodec::patternText(glyph.dots())},
                       {QStringLiteral("columns"), columnsText(glyph)}};
}

// One field's value, as JSON.
QJsonValue valueJson(const Fields &fields, const FieldRef &field)
{
    switch (field.kind) {
    case FieldRef::Kind::Setting:
        return settingJson(fields.settings[field.slot]);
    case FieldRef::Kind::Cell:
        return HexText::hexPair(fields.lines[field.slot].cell(field.cell));
    case FieldRef::Kind::Glyph:
        return glyphJson(fields.glyphs[field.slot]);
    case FieldRef::Kind::Reserved:
        return byteText(fields.reserved[field.slot].value);
    }
    return QJsonValue();
}

QString glyphText(const Glyph &glyph, const Glyph &other)
{
    if (glyph.isEmpty())
        return QStringLiteral("empty");
    const QString pattern = ImageCodec::patternText(glyph.dots());
    QString text = byteText(glyph.code) + QLatin1Char(':') + pattern;
    // The pattern ignores bit 7 of a column; the bytes do not.
    if (ImageCodec::patternText(other.dots()) == pattern)
        text += QStringLiteral(" (columns %1)").arg(columnsText(glyph));
    return text;
}

// One field's value in a line of text, beside the other image's.
QString valueText(const Fields &fields, const Fields &other, const FieldRef &field)
{
    switch (field.kind) {
    case FieldRef::Kind::Setting:
        return SettingMessages::positionText(fields.settings[field.slot]);
    case FieldRef::Kind::Cell: {
        const quint8 byte = fields.lines[field.slot].cell(field.cell);
        const QString character = CodePage::textForCode(byte);
        const QString pair = HexText::hexPair(byte);
        return character.isEmpty() ? pair : QStringLiteral("%1 \"%2\"").arg(pair, character);
    }
    case FieldRef::Kind::Glyph:
        return glyphText(fields.glyphs[field.slot], other.glyphs[field.slot]);
    case FieldRef::Kind::Reserved:
        return byteText(fields.reserved[field.slot].value);
    }
    return QString();
}

} // namespace

Description describe(const SettingsImage &image)
{
    return {ImageCodec::decode(image)};
}

QJsonObject toJson(const Description &view)
{
    const Fields &fields = view.fields;
    QJsonObject json;
    for (const ImageCodec::SettingField &field : fields.settings)
        json.insert(QLatin1String(field.info().name), settingJson(field));
    for (std::size_t k = 0; k < ImageCodec::LineCount; ++k)
        json.insert(QLatin1String(ImageCodec::Lines[k].name),
                    QJsonObject{{QStringLiteral("text"), fields.lines[k].text()},
                                {QStringLiteral("hex"), pairs(fields.lines[k].bytes)}});
    QJsonArray glyphs;
    for (const Glyph &glyph : fields.glyphs) {
        if (glyph.code != 0)
            glyphs.append(glyphJson(glyph));
    }
    json.insert(QStringLiteral("glyphs"), glyphs);
    QJsonArray reserved;
    for (const ImageCodec::ReservedByte &byte : fields.reserved) {
        if (byte.value != 0)
            reserved.append(QJsonObject{{QStringLiteral("byte"), byte.index},
                                        {QStringLiteral("value"), byteText(byte.value)}});
    }
    json.insert(QStringLiteral("reserved"), reserved);
    return json;
}

QString describeText(const Description &view)
{
    const Fields &fields = view.fields;
    QStringList out;
    for (const ImageCodec::SettingField &field : fields.settings)
        out << label(QLatin1String(field.info().name)) + SettingMessages::positionText(field);
    for (std::size_t k = 0; k < ImageCodec::LineCount; ++k) {
        const QString name = QLatin1String(ImageCodec::Lines[k].name);
        const QByteArray &bytes = fields.lines[k].bytes;
        out << label(name) + QStringLiteral("\"%1\"").arg(fields.lines[k].text());
        for (qsizetype at = 0; at < bytes.size(); at += PairsPerRow)
            out << label(at == 0 ? name + QStringLiteral(" hex") : QString()) +
                       pairs(
                           QByteArrayView(bytes).sliced(at, qMin(PairsPerRow, bytes.size() - at)));
    }
    for (const Glyph &glyph : fields.glyphs) {
        if (glyph.code == 0)
            continue;
        out << label(QStringLiteral("glyph[%1]").arg(glyph.number)) +
                   QStringLiteral("code %1").arg(byteText(glyph.code));
        for (const QString &row : ImageCodec::patternRows(glyph.dots()))
            out << label(QString()) + row;
    }
    bool anyReserved = false;
    for (const ImageCodec::ReservedByte &byte : fields.reserved) {
        if (byte.value == 0)
            continue;
        anyReserved = true;
        out << label(QStringLiteral("reserved[%1]").arg(byte.index)) + byteText(byte.value);
    }
    if (!anyReserved)
        out << label(QStringLiteral("reserved")) + QStringLiteral("all 0");
    return out.join(QLatin1Char('\n'));
}

Comparison compare(const SettingsImage &a, const SettingsImage &b)
{
    Comparison comparison{ImageCodec::decode(a), ImageCodec::decode(b), {}, {}, {}};
    comparison.differences = ImageCodec::differences(comparison.a, comparison.b);
    return comparison;
}

QJsonObject toJson(const Comparison &comparison)
{
    QJsonArray differences;
    for (const FieldRef &field : comparison.differences)
        differences.append(QJsonObject{{QStringLiteral("field"), field.name()},
                                       {QStringLiteral("a"), valueJson(comparison.a, field)},
                                       {QStringLiteral("b"), valueJson(comparison.b, field)}});
    QJsonObject json{{QStringLiteral("differences"), differences}};
    if (!comparison.pathA.isNull())
        json.insert(QStringLiteral("a"), comparison.pathA);
    if (!comparison.pathB.isNull())
        json.insert(QStringLiteral("b"), comparison.pathB);
    return json;
}

QString compareText(const Comparison &comparison)
{
    QStringList out;
    for (const FieldRef &field : comparison.differences)
        out << QStringLiteral("%1: %2 -> %3")
                   .arg(field.name(), valueText(comparison.a, comparison.b, field),
                        valueText(comparison.b, comparison.a, field));
    return out.join(QLatin1Char('\n'));
}

QStringList differingFields(const Comparison &comparison)
{
    return ImageCodec::foldedNames(comparison.differences);
}

QStringList invalidLists(const SettingsImage &image)
{
    QStringList names;
    for (const ImageCodec::SettingField &field : ImageCodec::decode(image).settings) {
        if (!field.entry())
            names << QLatin1String(field.info().name);
    }
    return names;
}

} // namespace ImageView
