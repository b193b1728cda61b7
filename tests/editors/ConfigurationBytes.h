#pragma once

#include <QByteArray>

#include "model/SettingsImage.h"

// Byte helpers shared by the configuration's tests.

inline QByteArray imageRange(const SettingsImage &image, int first, int length)
{
    QByteArray bytes;
    for (int k = 0; k < length; ++k)
        bytes.append(char(image.at(first + k)));
    return bytes;
}

// A loadable file whose bytes all differ, with a valid entry in every list.
inline QByteArray validFile()
{
    QByteArray bytes(ImageLayout::ConfigLength, '\0');
    for (int k = 0; k < bytes.size(); ++k)
        bytes[k] = char(0x80 + k);
    bytes[ImageLayout::DisplaySpeed - 1] = 1;
    bytes[ImageLayout::CharacterSet - 1] = 18;
    bytes[ImageLayout::CommandSet - 1] = 9;
    bytes[ImageLayout::Passthru - 1] = 2;
    return bytes;
}
