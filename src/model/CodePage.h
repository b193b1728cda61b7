#pragma once

#include <optional>

#include <QChar>
#include <QString>
#include <QStringView>

// The single-byte code page through which an ASCII cell shows a byte.
// 0x20..0x7E are themselves and 0xA0..0xFF their Latin-1 characters; the
// other non-zero codes get visible stand-ins that convert back to the same
// code. Byte 0 is the empty cell.
namespace CodePage {

// The text of an ASCII cell for a code: empty for 0, one character otherwise.
QString textForCode(quint8 code);

// The code of an ASCII cell's text: 0 for the empty text, the code of its
// one character, or nothing when the text is no single character of the
// code page.
std::optional<quint8> codeForText(QStringView text);

// Whether a character can be typed into an ASCII cell.
bool hasCode(QChar c);

} // namespace CodePage
