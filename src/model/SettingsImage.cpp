#include "model/SettingsImage.h"

QByteArray SettingsImage::configBytes() const
{
    return QByteArray(reinterpret_cast<const char *>(m_bytes.data()) + ImageLayout::FirstConfig,
                      ImageLayout::ConfigLength);
}

bool SettingsImage::setConfigBytes(QByteArrayView bytes)
{
    if (bytes.size() < ImageLayout::ConfigLength)
        return false;
    for (int k = 0; k < ImageLayout::ConfigLength; ++k)
        m_bytes[static_cast<std::size_t>(ImageLayout::FirstConfig + k)] =
            static_cast<quint8>(bytes[k]);
    return true;
}
