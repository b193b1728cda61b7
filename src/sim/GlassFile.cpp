#include "GlassFile.h"

#include <algorithm>

#include "glass/GlassPicture.h"

GlassText::Glass GlassFile::glassOf(const ScreenInterpreter &display, const SettingsImage &image)
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
    return GlassText::resolve(input);
}

// A picture cannot blink: a blinking screen is drawn in its lit phase, and
// only a display blanked outright (1F 45 FF) is drawn dark, cursor and all.
GlassRenderer::State GlassFile::stateOf(const ScreenInterpreter &display)
{
    const DisplayLook &look = display.look();
    GlassRenderer::State state;
    state.brightness = look.brightness;
    if (look.blink == DisplayLook::Blink::Blanked) {
        for (int cell = 0; cell < Screen::Rows * Screen::Columns; ++cell)
            state.darkCells.insert(cell);
    } else if (look.cursorShown) {
        state.cursorRow = display.screen().cursorRow();
        state.cursorColumn = display.screen().cursorColumn();
    }
    return state;
}

Result<void> GlassFile::update(const ScreenInterpreter &display, const SettingsImage &image)
{
    auto shown = std::make_pair(glassOf(display, image), stateOf(display));
    if (m_written == shown)
        return {};
    const Result<void> saved =
        GlassPicture::savePng(GlassPicture::compose(shown.first, shown.second), m_path);
    if (saved)
        m_written = std::move(shown);
    return saved;
}
