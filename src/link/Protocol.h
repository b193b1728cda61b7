#pragma once

#include <QtGlobal>

#include "model/SettingsImage.h"

// The bytes of the two exchanges with the display, shared by the utility's
// transfers and by the simulated display.
namespace Protocol {

inline constexpr quint8 Escape = 0x1B;
inline constexpr quint8 DownloadCommand = 0xEF; // after Escape: an image follows
inline constexpr quint8 UploadCommand = 0xEE;   // after Escape: send the image back
inline constexpr quint8 LeadByte = 0xAA;        // leads the image both ways

// 0x1B 0xEF, the lead byte and image bytes 1..126.
inline constexpr int DownloadLength = 3 + ImageLayout::ConfigLength;
// The lead byte and image bytes 1..126.
inline constexpr int ReplyLength = 1 + ImageLayout::ConfigLength;

} // namespace Protocol
