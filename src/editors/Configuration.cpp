#include "editors/Configuration.h"

#include <algorithm>

#include "model/OptionLists.h"

Configuration::Configuration(QObject *parent)
    : QObject(parent), m_line1(ImageCodec::Lines[0].length), m_line2(ImageCodec::Lines[1].length),
      m_characters(m_image)
{
    // The selections the lists get when they are filled.
    for (const DisplaySettingInfo &info : DisplaySettings::Table)
        m_positions[DisplaySettings::slot(info.setting)] = info.factoryPosition;
}

int Configuration::listPosition(DisplaySetting setting) const
{
    return m_positions[DisplaySettings::slot(setting)];
}

bool Configuration::setListPosition(DisplaySetting setting, int position)
{
    if (!DisplaySettings::of(setting).isEntry(position))
        return false;
    int &current = m_positions[DisplaySettings::slot(setting)];
    if (current != position) {
        current = position;
        emit listPositionChanged(setting, position);
    }
    return true;
}

void Configuration::startUp()
{
    SetAllDefault();
    m_line1.selectView(MessageLine::View::Hex);
    m_line2.selectView(MessageLine::View::Hex);
}

void Configuration::SetAllDefault()
{
    for (const DisplaySettingInfo &info : DisplaySettings::Table)
        setListPosition(info.setting, info.factoryPosition);

    // The views first, so that converting cannot overwrite the default texts.
    m_line1.selectView(MessageLine::View::Ascii);
    m_line2.selectView(MessageLine::View::Ascii);
    const auto fill = [](MessageLine &line, const QString &text) {
        for (int cell = 1; cell <= line.cellCount(); ++cell)
            line.setAsciiText(cell, cell <= text.size() ? text.mid(cell - 1, 1) : QString());
    };
    fill(m_line1, OptionLists::defaultLine1());
    fill(m_line2, OptionLists::defaultLine2());

    // The whole character area, so that no old pattern survives under an
    // empty-looking editor.
    for (int number = 1; number <= ImageLayout::CharacterCount; ++number)
        ImageCodec::storeGlyph(m_image, ImageCodec::Glyph{number});

    m_characters.returnToFirst(CharacterEditor::WorkingCopy::Emptied);
}

void Configuration::AssembleImage()
{
    for (std::size_t k = 0; k < ImageCodec::LineCount; ++k)
        line(k).selectView(MessageLine::View::Hex);
    m_image = assembledImage();
}

SettingsImage Configuration::assembledImage() const
{
    SettingsImage image = m_image;
    ImageCodec::Fields fields = ImageCodec::decode(image);
    for (ImageCodec::SettingField &field : fields.settings)
        field.position = static_cast<quint8>(listPosition(field.setting));
    for (std::size_t k = 0; k < fields.lines.size(); ++k)
        fields.lines[k].bytes = line(k).bytes();
    ImageCodec::encode(fields, image);
    return image;
}

void Configuration::applyUpload(const SettingsImage &reply)
{
    m_image = reply;
    const ImageCodec::Fields fields = ImageCodec::decode(m_image);
    for (const ImageCodec::SettingField &field : fields.settings) {
        if (field.position < field.info().uploadBound)
            setListPosition(field.setting, field.position); // refuses what is no entry
    }
    spreadMessages(fields);
    // The received record replaces whatever the editor showed, so that the
    // next step cannot store a stale drawing over it.
    m_characters.map_reset();
}

bool Configuration::applyFile(QByteArrayView configBytes)
{
    if (!isLoadable(configBytes))
        return false;
    m_image.setConfigBytes(configBytes);
    const ImageCodec::Fields fields = ImageCodec::decode(m_image);
    for (const ImageCodec::SettingField &field : fields.settings)
        setListPosition(field.setting, field.position);
    spreadMessages(fields);
    m_characters.returnToFirst(CharacterEditor::WorkingCopy::Redrawn);
    return true;
}

Configuration::Snapshot Configuration::snapshot() const
{
    Snapshot taken{m_image, m_positions, {}, m_characters.state()};
    for (std::size_t k = 0; k < taken.lines.size(); ++k)
        taken.lines[k] = line(k).state();
    return taken;
}

void Configuration::restore(const Snapshot &snapshot)
{
    m_image = snapshot.image;
    for (const DisplaySettingInfo &info : DisplaySettings::Table)
        setListPosition(info.setting, snapshot.positions[DisplaySettings::slot(info.setting)]);
    for (std::size_t k = 0; k < snapshot.lines.size(); ++k)
        line(k).restore(snapshot.lines[k]);
    m_characters.restore(snapshot.characters);
}

bool Configuration::isLoadable(QByteArrayView configBytes)
{
    SettingsImage image;
    if (!image.setConfigBytes(configBytes))
        return false;
    const ImageCodec::Fields fields = ImageCodec::decode(image);
    return std::ranges::all_of(fields.settings, [](const ImageCodec::SettingField &field) {
        return field.entry().has_value();
    });
}

void Configuration::spreadMessages(const ImageCodec::Fields &fields)
{
    for (std::size_t k = 0; k < fields.lines.size(); ++k)
        line(k).showBytes(fields.lines[k].bytes);
}
