#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "model/ImageCodec.h"
#include "model/SettingsImage.h"

// How `show`, `upload` and `diff` print the fields of the image codec, as
// text or as JSON (printView in Output.h picks the toJson beside a view).
namespace ImageView {

// The settings by position and text, both lines as text and hex pairs,
// the characters that have a code, and the reserved bytes that are not zero.
struct Description
{
    ImageCodec::Fields fields;
};
Description describe(const SettingsImage &image);
QJsonObject toJson(const Description &view);
QString describeText(const Description &view);

// The fields whose bytes differ: settings, message cells ("line1[3]"),
// character records ("glyph[2]") and reserved bytes ("reserved[67]").
struct Comparison
{
    ImageCodec::Fields a;
    ImageCodec::Fields b;
    QList<ImageCodec::FieldRef> differences;
    QString pathA; // the files compared, in the JSON when given
    QString pathB;
};
Comparison compare(const SettingsImage &a, const SettingsImage &b);
QJsonObject toJson(const Comparison &comparison);
QString compareText(const Comparison &comparison);
// The names of the differing fields, runs of cells folded ("line1[1-20]").
QStringList differingFields(const Comparison &comparison);

// The settings whose byte is no entry of their list, by name.
QStringList invalidLists(const SettingsImage &image);

} // namespace ImageView
