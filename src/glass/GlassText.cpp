#include "glass/GlassText.h"

#include <algorithm>

namespace GlassText {

QList<ImageCodec::Glyph> imageCharacters(const SettingsImage &image)
{
    QList<ImageCodec::Glyph> glyphs;
    for (int number = 1; number <= ImageLayout::CharacterCount; ++number)
        glyphs << ImageCodec::glyphAt(image, number);
    return glyphs;
}

namespace {

// Each printable code's text, made once: cells share them.
const QString &printableText(quint8 code)
{
    static const std::array<QString, GlassFont::LastCode - GlassFont::FirstCode + 1> texts = [] {
        std::array<QString, GlassFont::LastCode - GlassFont::FirstCode + 1> made;
        for (std::size_t k = 0; k < made.size(); ++k)
            made[k] = QString(QLatin1Char(char(GlassFont::FirstCode + k)));
        return made;
    }();
    return texts[code - GlassFont::FirstCode];
}

GlassFont::Columns withoutBit7(const std::array<quint8, ImageLayout::GlyphColumns> &columns)
{
    GlassFont::Columns dots{};
    std::transform(columns.begin(), columns.end(), dots.begin(),
                   [](quint8 column) { return quint8(column & GlassFont::RowMask); });
    return dots;
}

} // namespace

Cell cellFor(quint8 code, const Input &input)
{
    Cell cell;
    cell.code = code;
    if (!GlassFont::isPrintable(code)) {
        cell.kind = Kind::Undrawable;
        return cell;
    }
    cell.text = printableText(code);
    const auto user = std::find_if(
        input.userCharacters.begin(), input.userCharacters.end(),
        [code](const ImageCodec::Glyph &glyph) { return glyph.code == code && !glyph.isEmpty(); });
    if (user != input.userCharacters.end()) {
        cell.kind = Kind::User;
        cell.userNumber = user->number;
        cell.columns = withoutBit7(user->columns);
        return cell;
    }
    if (const auto replaced = InternationalSets::replacement(input.characterSet, code)) {
        cell.kind = Kind::Replaced;
        cell.text = replaced->text;
        cell.columns = replaced->columns;
        return cell;
    }
    cell.columns = GlassFont::glyph(code);
    return cell;
}

Glass resolve(const Input &input)
{
    Glass glass;
    for (const QByteArray &bytes : input.rows) {
        Row row;
        row.reserve(Columns);
        for (int column = 0; column < Columns; ++column) {
            const quint8 code = column < bytes.size() ? quint8(bytes.at(column)) : quint8(' ');
            row << cellFor(code, input);
        }
        glass.rows << row;
    }
    for (const ImageCodec::Glyph &glyph : input.userCharacters) {
        if (!glyph.isEmpty() && !GlassFont::isPrintable(glyph.code))
            glass.unusedCharacters << glyph;
    }
    return glass;
}

Welcome welcome(const QByteArray &line1, const QByteArray &line2, int characterSet,
                const QList<ImageCodec::Glyph> &userCharacters)
{
    return {resolve({{line1, line2.left(Columns)}, characterSet, userCharacters}),
            resolve({{line2.mid(Columns, Columns)}, characterSet, userCharacters})};
}

Welcome welcome(const SettingsImage &image)
{
    const ImageCodec::Fields fields = ImageCodec::decode(image);
    return welcome(fields.lines[0].bytes, fields.lines[1].bytes,
                   image.at(ImageLayout::CharacterSet), imageCharacters(image));
}

} // namespace GlassText
