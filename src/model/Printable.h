#pragma once

#include <QtGlobal>

// The codes every command set and every display font draw as themselves
// (printable ASCII): text on the glass, user-character codes, test texts.
namespace Printable {

inline constexpr quint8 First = 0x20;
inline constexpr quint8 Last = 0x7E;

constexpr bool contains(uint code)
{
    return code >= First && code <= Last;
}

} // namespace Printable
