#include "GlassFile.h"

#include <algorithm>

#include "glass/GlassPicture.h"

Result<void> GlassFile::update(const ScreenInterpreter &display, const SettingsImage &image)
{
    GlassText::Input input;
    for (int row = 0; row < Screen::Rows; ++row)
        input.rows << display.screen().rowBytes(row);
    input.characterSet = image.at(ImageLayout::CharacterSet);
    // What the till defined at run time, once selected, comes before the
    // image's records: the first glyph for a code wins.
    const UserCharacters &defined = display.userCharacters();
    for (int code = 0; defined.selected() && code < 256; ++code) {
        if (const auto &glyph = defined.glyph(quint8(code))) {
            ImageCodec::Glyph runTime{.number = 0, .code = quint8(code)};
            std::copy(glyph->begin(), glyph->end(), runTime.columns.begin());
            input.userCharacters << runTime;
        }
    }
    input.userCharacters << GlassText::imageCharacters(image);
    const GlassText::Glass glass = GlassText::resolve(input);
    if (m_written == glass)
        return {};
    const Result<void> saved = GlassPicture::savePng(GlassPicture::compose(glass), m_path);
    if (saved)
        m_written = glass;
    return saved;
}
