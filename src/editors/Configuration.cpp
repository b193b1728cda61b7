#include "editors/Configuration.h"

#include "model/OptionLists.h"

namespace {

constexpr std::array<Configuration::DisplayList, 4> AllLists = {
    Configuration::DisplayList::BaudRate,
    Configuration::DisplayList::Char,
    Configuration::DisplayList::Command,
    Configuration::DisplayList::Passthru,
};

std::size_t slot(Configuration::DisplayList list)
{
    return static_cast<std::size_t>(list);
}

} // namespace

int Configuration::imageIndex(DisplayList list)
{
    switch (list) {
    case DisplayList::BaudRate:
        return ImageLayout::DisplayBaud;
    case DisplayList::Char:
        return ImageLayout::CharacterSet;
    case DisplayList::Command:
        return ImageLayout::CommandSet;
    case DisplayList::Passthru:
        return ImageLayout::Passthru;
    }
    return ImageLayout::DisplayBaud;
}

const QStringList &Configuration::entries(DisplayList list)
{
    switch (list) {
    case DisplayList::BaudRate:
        return OptionLists::displayBaudRates();
    case DisplayList::Char:
        return OptionLists::charSets();
    case DisplayList::Command:
        return OptionLists::commandSets();
    case DisplayList::Passthru:
        return OptionLists::passthruModes();
    }
    return OptionLists::displayBaudRates();
}

int Configuration::listSize(DisplayList list)
{
    return int(entries(list).size());
}

int Configuration::uploadBound(DisplayList list)
{
    switch (list) {
    case DisplayList::BaudRate:
        return 4;
    case DisplayList::Char:
        return 19;
    case DisplayList::Command:
        return 17;
    case DisplayList::Passthru:
        return 4;
    }
    return 0;
}

Configuration::Configuration(QObject *parent)
    : QObject(parent), m_line1(ImageLayout::Line1Length), m_line2(ImageLayout::Line2Length),
      m_characters(m_image)
{
    // The selections the lists get when they are filled.
    m_positions[slot(DisplayList::BaudRate)] = OptionLists::DefaultDisplayBaud;
    m_positions[slot(DisplayList::Char)] = OptionLists::DefaultCharSet;
    m_positions[slot(DisplayList::Command)] = OptionLists::DefaultCommandSet;
    m_positions[slot(DisplayList::Passthru)] = OptionLists::DefaultPassthru;
}

int Configuration::listPosition(DisplayList list) const
{
    return m_positions[slot(list)];
}

bool Configuration::setListPosition(DisplayList list, int position)
{
    if (position < 0 || position >= listSize(list))
        return false;
    if (m_positions[slot(list)] != position) {
        m_positions[slot(list)] = position;
        emit listPositionChanged(list, position);
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
    setListPosition(DisplayList::BaudRate, OptionLists::DefaultDisplayBaud);
    setListPosition(DisplayList::Char, OptionLists::DefaultCharSet);
    setListPosition(DisplayList::Command, OptionLists::DefaultCommandSet);
    setListPosition(DisplayList::Passthru, OptionLists::DefaultPassthru);

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
    for (int index = ImageLayout::Characters; index < ImageLayout::CharactersEnd; ++index)
        m_image.set(index, 0);

    m_characters.returnToFirst(false);
}

void Configuration::AssembleImage()
{
    for (const DisplayList list : AllLists)
        m_image.set(imageIndex(list), static_cast<quint8>(listPosition(list)));

    const auto take = [this](MessageLine &line, int first) {
        line.selectView(MessageLine::View::Hex);
        const QByteArray bytes = line.hexBytes();
        for (int k = 0; k < bytes.size(); ++k)
            m_image.set(first + k, static_cast<quint8>(bytes[k]));
    };
    take(m_line1, ImageLayout::Line1);
    take(m_line2, ImageLayout::Line2);
}

void Configuration::applyUpload(const SettingsImage &reply)
{
    m_image = reply;
    for (const DisplayList list : AllLists) {
        const int value = m_image.at(imageIndex(list));
        if (value < uploadBound(list))
            setListPosition(list, value); // refuses what is no position of the list
    }
    spreadMessages();
    // The received record replaces whatever the editor showed, so that the
    // next step cannot store a stale drawing over it.
    m_characters.map_reset();
}

bool Configuration::applyFile(QByteArrayView configBytes)
{
    if (!isLoadable(configBytes))
        return false;
    m_image.setConfigBytes(configBytes);
    for (const DisplayList list : AllLists)
        setListPosition(list, m_image.at(imageIndex(list)));
    spreadMessages();
    m_characters.returnToFirst(true);
    return true;
}

bool Configuration::isLoadable(QByteArrayView configBytes)
{
    if (configBytes.size() < ImageLayout::ConfigLength)
        return false;
    for (const DisplayList list : AllLists) {
        const int value =
            static_cast<quint8>(configBytes[imageIndex(list) - ImageLayout::FirstConfig]);
        if (value >= listSize(list))
            return false;
    }
    return true;
}

void Configuration::spreadMessages()
{
    const QByteArray bytes = m_image.configBytes();
    const auto part = [&bytes](int first, int length) {
        return QByteArrayView(bytes).sliced(first - ImageLayout::FirstConfig, length);
    };
    m_line1.showBytes(part(ImageLayout::Line1, ImageLayout::Line1Length));
    m_line2.showBytes(part(ImageLayout::Line2, ImageLayout::Line2Length));
}
