#include "GlassFile.h"

#include "glass/GlassPicture.h"

Result<void> GlassFile::update(const Screen &screen, const SettingsImage &image)
{
    GlassText::Input input;
    for (int row = 0; row < Screen::Rows; ++row)
        input.rows << screen.rowBytes(row);
    input.characterSet = image.at(ImageLayout::CharacterSet);
    input.userCharacters = GlassText::imageCharacters(image);
    const GlassText::Glass glass = GlassText::resolve(input);
    if (m_written == glass)
        return {};
    const Result<void> saved = GlassPicture::savePng(GlassPicture::compose(glass), m_path);
    if (saved)
        m_written = glass;
    return saved;
}
