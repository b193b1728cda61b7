#pragma once

#include <QImage>
#include <QString>

#include "glass/GlassRenderer.h"
#include "glass/GlassText.h"
#include "model/Result.h"

// The glass as a picture file: for tq540sim --png and tq540ctl show --png.
namespace GlassPicture {

inline constexpr int FilePitch = 4; // pixels from dot to dot

// The glass, and under it the rows of `beyond` (when it has any), one dot
// pitch apart on the window's background.
QImage compose(const GlassText::Glass &glass, const GlassText::Glass &beyond = {},
               int pitch = FilePitch);
// The glass alone, with what the display adds to its cells.
QImage compose(const GlassText::Glass &glass, const GlassRenderer::State &state,
               int pitch = FilePitch);

// As a PNG file, whole or not at all, and only over a regular file: a
// reader never finds half a picture, and a failure leaves an earlier file
// as it was.
Result<void> savePng(const QImage &picture, const QString &path);

} // namespace GlassPicture
