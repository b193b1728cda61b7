#pragma once

#include <array>

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "editors/Configuration.h"
#include "model/SettingsImage.h"

// The settings image decoded by field, as `show`, `upload` and `diff` print
// it. Each view is built once as a JSON object and printed as JSON or as
// text from it.
namespace ImageView {

// Field names; the edit options carry the same names.
struct ListField
{
    const char *name;
    Configuration::DisplayList list;
    const char *caption;
};
inline constexpr std::array<ListField, 4> Lists = {{
    {"display-baud", Configuration::DisplayList::BaudRate, "the display's own serial speed"},
    {"char", Configuration::DisplayList::Char, "the international character set"},
    {"command", Configuration::DisplayList::Command, "the command set the display emulates"},
    {"passthru", Configuration::DisplayList::Passthru, "the passthru mode"},
}};

struct LineField
{
    const char *name;
    int first;  // image index of cell 1
    int length; // cells
};
inline constexpr std::array<LineField, 2> Lines = {{
    {"line1", ImageLayout::Line1, ImageLayout::Line1Length},
    {"line2", ImageLayout::Line2, ImageLayout::Line2Length},
}};

// A glyph as the --glyph option writes its pattern: seven rows of five
// '#' (lit) or '.', top row first, joined by '/'.
QString patternText(const SettingsImage &image, int number);

// The four lists by position and text, both lines as text and hex pairs,
// the characters that have a code, and the reserved bytes that are not zero.
QJsonObject describe(const SettingsImage &image);
QString describeText(const QJsonObject &view);

// The fields whose bytes differ: lists, message cells ("line1[3]"),
// character records ("glyph[2]") and reserved bytes ("reserved[67]"). Every
// one of the 126 bytes belongs to one field, so no difference goes unnamed.
QJsonObject compare(const SettingsImage &a, const SettingsImage &b);
QString compareText(const QJsonObject &comparison);
// The names of the differing fields, runs of cells folded ("line1[1-20]").
QStringList differingFields(const QJsonObject &comparison);

// The list fields whose byte is no entry of the list, by name.
QStringList invalidLists(const SettingsImage &image);

} // namespace ImageView
