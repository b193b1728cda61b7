#pragma once

#include <QByteArrayView>
#include <QString>

// The checks behind the fuzz targets, also run over the starting corpus and
// every input that ever failed by an ordinary test. Each returns what went
// wrong, or an empty text.
namespace FuzzChecks {

// The input is a settings file: written to a real file, then loaded as the
// window loads it.
QString settingsFileLoad(QByteArrayView data);

// The input scripts the display's side of an upload (see UploadScript).
QString uploadReply(QByteArrayView data);

// The input scripts typing into one message line: keys, pastes, view
// switches (see lineTyping in FuzzChecks.cpp).
QString lineTyping(QByteArrayView data);

} // namespace FuzzChecks
