#include "model/ImageCodec.h"

#include "model/CodePage.h"

namespace ImageCodec {

namespace {

constexpr QChar Lit = u'#';
constexpr QChar Dark = u'.';
constexpr QChar RowSeparator = u'/';
// Stands for a cell holding 0 before the end of its line, which a text
// could not show otherwise. It has no code, so it cannot be typed back.
constexpr char16_t EmptyCell = 0x2400;

constexpr std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}

QString cellName(std::size_t line, const QString &cells)
{
    return QStringLiteral("%1[%2]").arg(QLatin1String(Lines[line].name), cells);
}

} // namespace

QStringList patternRows(const Dots &dots)
{
    QStringList rows;
    for (int row = 0; row < ImageLayout::GlyphRows; ++row) {
        QString text;
        for (const auto &column : dots)
            text += column[at(row)] ? Lit : Dark;
        rows << text;
    }
    return rows;
}

QString patternText(const Dots &dots)
{
    return patternRows(dots).join(RowSeparator);
}

std::optional<Dots> readPattern(QStringView text)
{
    const QList<QStringView> rows = text.split(RowSeparator);
    if (rows.size() != ImageLayout::GlyphRows)
        return std::nullopt;
    Dots dots{};
    for (int row = 0; row < ImageLayout::GlyphRows; ++row) {
        const QStringView line = rows.at(row);
        if (line.size() != ImageLayout::GlyphColumns)
            return std::nullopt;
        for (int column = 0; column < ImageLayout::GlyphColumns; ++column) {
            const QChar dot = line.at(column);
            if (dot != Lit && dot != Dark)
                return std::nullopt;
            dots[at(column)][at(row)] = dot == Lit;
        }
    }
    return dots;
}

quint8 LineField::cell(int number) const
{
    return number >= 1 && number <= bytes.size() ? static_cast<quint8>(bytes.at(number - 1)) : 0;
}

QString LineField::text() const
{
    qsizetype used = bytes.size();
    while (used > 0 && bytes.at(used - 1) == 0)
        --used;
    QString text;
    for (qsizetype k = 0; k < used; ++k) {
        const auto code = static_cast<quint8>(bytes.at(k));
        text += code == 0 ? QString(QChar(EmptyCell)) : CodePage::textForCode(code);
    }
    return text;
}

Dots Glyph::dots() const
{
    Dots dots{};
    for (std::size_t column = 0; column < columns.size(); ++column) {
        for (int row = 0; row < ImageLayout::GlyphRows; ++row)
            dots[column][at(row)] = (columns[column] >> row) & 1u;
    }
    return dots;
}

Glyph Glyph::drawn(int number, quint8 code, const Dots &dots)
{
    Glyph glyph{number, code, {}};
    for (std::size_t column = 0; column < dots.size(); ++column) {
        for (int row = 0; row < ImageLayout::GlyphRows; ++row) {
            if (dots[column][at(row)])
                glyph.columns[column] |= static_cast<quint8>(1u << row);
        }
    }
    return glyph;
}

bool Glyph::isEmpty() const
{
    return code == 0 && columns == decltype(columns){};
}

Glyph glyphAt(const SettingsImage &image, int number)
{
    const int first = ImageLayout::recordPosition(number);
    Glyph glyph{number, image.at(first), {}};
    for (std::size_t column = 0; column < glyph.columns.size(); ++column)
        glyph.columns[column] = image.at(first + 1 + static_cast<int>(column));
    return glyph;
}

void storeGlyph(SettingsImage &image, const Glyph &glyph)
{
    const int first = ImageLayout::recordPosition(glyph.number);
    image.set(first, glyph.code);
    for (std::size_t column = 0; column < glyph.columns.size(); ++column)
        image.set(first + 1 + static_cast<int>(column), glyph.columns[column]);
}

Fields decode(const SettingsImage &image)
{
    Fields fields;
    for (std::size_t k = 0; k < DisplaySettings::Count; ++k) {
        const DisplaySettingInfo &info = DisplaySettings::Table[k];
        fields.settings[k] = {info.setting, image.at(info.imageIndex)};
    }
    for (std::size_t k = 0; k < LineCount; ++k) {
        QByteArray &bytes = fields.lines[k].bytes;
        for (int cell = 0; cell < Lines[k].length; ++cell)
            bytes.append(static_cast<char>(image.at(Lines[k].first + cell)));
    }
    for (std::size_t k = 0; k < fields.glyphs.size(); ++k)
        fields.glyphs[k] = glyphAt(image, static_cast<int>(k) + 1);
    for (std::size_t k = 0; k < fields.reserved.size(); ++k)
        fields.reserved[k] = {ImageLayout::Reserved[k], image.at(ImageLayout::Reserved[k])};
    return fields;
}

void encode(const Fields &fields, SettingsImage &image)
{
    for (const SettingField &field : fields.settings)
        image.set(field.info().imageIndex, field.position);
    for (std::size_t k = 0; k < LineCount; ++k) {
        for (int cell = 1; cell <= Lines[k].length; ++cell)
            image.set(Lines[k].first + cell - 1, fields.lines[k].cell(cell));
    }
    for (const Glyph &glyph : fields.glyphs)
        storeGlyph(image, glyph);
    for (const ReservedByte &byte : fields.reserved)
        image.set(byte.index, byte.value);
}

QString FieldRef::name() const
{
    switch (kind) {
    case Kind::Setting:
        return QLatin1String(DisplaySettings::Table[slot].name);
    case Kind::Cell:
        return cellName(slot, QString::number(cell));
    case Kind::Glyph:
        return QStringLiteral("glyph[%1]").arg(slot + 1);
    case Kind::Reserved:
        return QStringLiteral("reserved[%1]").arg(ImageLayout::Reserved[slot]);
    }
    return QString();
}

QList<FieldRef> differences(const Fields &a, const Fields &b)
{
    QList<FieldRef> found;
    for (std::size_t k = 0; k < a.settings.size(); ++k) {
        if (a.settings[k].position != b.settings[k].position)
            found.append({FieldRef::Kind::Setting, k});
    }
    for (std::size_t k = 0; k < LineCount; ++k) {
        for (int cell = 1; cell <= Lines[k].length; ++cell) {
            if (a.lines[k].cell(cell) != b.lines[k].cell(cell))
                found.append({FieldRef::Kind::Cell, k, cell});
        }
    }
    for (std::size_t k = 0; k < a.glyphs.size(); ++k) {
        if (a.glyphs[k] != b.glyphs[k])
            found.append({FieldRef::Kind::Glyph, k});
    }
    for (std::size_t k = 0; k < a.reserved.size(); ++k) {
        if (a.reserved[k].value != b.reserved[k].value)
            found.append({FieldRef::Kind::Reserved, k});
    }
    return found;
}

QStringList foldedNames(const QList<FieldRef> &differences)
{
    QStringList names;
    for (qsizetype k = 0; k < differences.size(); ++k) {
        const FieldRef &first = differences.at(k);
        if (first.kind != FieldRef::Kind::Cell) {
            names << first.name();
            continue;
        }
        // The run goes on while the next difference is the next cell of the line.
        int last = first.cell;
        while (k + 1 < differences.size() && differences.at(k + 1).kind == FieldRef::Kind::Cell &&
               differences.at(k + 1).slot == first.slot && differences.at(k + 1).cell == last + 1)
            last = differences.at(++k).cell;
        names << (last == first.cell
                      ? first.name()
                      : cellName(first.slot, QStringLiteral("%1-%2").arg(first.cell).arg(last)));
    }
    return names;
}

} // namespace ImageCodec
