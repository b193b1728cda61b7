#include "model/CodePage.h"

#include <array>

#include "model/Printable.h"

namespace CodePage {
namespace {

// Stand-ins for 0x80..0x9F: the Windows-1252 characters, and for the five
// codes that Windows-1252 leaves undefined the control pictures U+2422..U+2426,
// which no other code uses, so that every code reads back as itself.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x2422, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x2423, 0x017D, 0x2424, // 88..8F
    0x2425, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x2426, 0x017E, 0x0178, // 98..9F
};

constexpr char16_t ControlPictures = 0x2400; // U+2401..U+241F for 0x01..0x1F
constexpr char16_t DeletePicture = 0x2421;   // for 0x7F

char16_t characterFor(quint8 code)
{
    if (code < 0x20)
        return static_cast<char16_t>(ControlPictures + code);
    if (code == 0x7F)
        return DeletePicture;
    if (code >= 0x80 && code < 0xA0)
        return HighControls[code - 0x80];
    return code;
}

std::optional<quint8> codeFor(char16_t c)
{
    if (Printable::contains(c))
        return static_cast<quint8>(c);
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<quint8>(c);
    if (c > ControlPictures && c < ControlPictures + 0x20)
        return static_cast<quint8>(c - ControlPictures);
    if (c == DeletePicture)
        return quint8(0x7F);
    for (std::size_t k = 0; k < HighControls.size(); ++k) {
        if (HighControls[k] == c)
            return static_cast<quint8>(0x80 + k);
    }
    return std::nullopt;
}

} // namespace

QString textForCode(quint8 code)
{
    if (code == 0)
        return QString();
    return QString(QChar(characterFor(code)));
}

std::optional<quint8> codeForText(QStringView text)
{
    if (text.isEmpty())
        return quint8(0);
    if (text.size() != 1)
        return std::nullopt;
    return codeFor(text.front().unicode());
}

bool hasCode(QChar c)
{
    return codeFor(c.unicode()).has_value();
}

} // namespace CodePage
