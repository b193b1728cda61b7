#pragma once

#include <QString>

#include "model/ImageCodec.h"

// A setting's byte in words, the same wherever it is shown.
namespace SettingMessages {

// A byte that is no position of its list: "7 (no such entry)".
QString noSuchEntry(int position);

// The entry, or noSuchEntry: "CD5220".
QString entryOrByte(const ImageCodec::SettingField &field);

// The position and its entry, as show and the simulator print it:
// 1 "19200,n,8,1", or noSuchEntry.
QString positionText(const ImageCodec::SettingField &field);

} // namespace SettingMessages
