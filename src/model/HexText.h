#pragma once

#include <optional>

#include <QChar>
#include <QString>
#include <QStringView>

// Hex text of the message editor and of the cells written by the program.
namespace HexText {

// The one reader of a hex digit: "0".."9" give 0..9, "A".."F" and "a".."f"
// give 10..15, anything else nothing. The message cells and the character
// code refuse anything else.
std::optional<quint8> digitValue(QChar c);

// Value of one hex digit character: "0".."9" give 0..9, "A".."F" and
// "a".."f" give 10..15. Anything else, including the empty text, gives 0,
// so that junk in a cell can never yield a byte outside 0..255.
quint8 StrToDec(QStringView text);

// A hex pair, high digit first; a missing character counts as 0.
quint8 decodePair(QStringView high, QStringView low);

// A byte as exactly two upper-case digits: 0x05 gives "05", 0xAB "AB".
QString hexPair(quint8 byte);

// A byte as upper-case digits without a leading zero: 0x05 gives "5".
QString hexCompact(quint8 byte);

} // namespace HexText
