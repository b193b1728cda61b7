#pragma once

#include <optional>
#include <utility>

#include <QImage>
#include <QString>

#include "glass/GlassRenderer.h"
#include "glass/GlassText.h"
#include "model/Result.h"
#include "model/SettingsImage.h"
#include "screen/ScreenInterpreter.h"

// --png: the glass of the simulated display as a picture file, written
// whole each time what it shows changes: the screen's codes, drawn in the
// image's "Character Type" with its user-defined characters and those the
// till defined at run time, at the brightness, with the cursor and the
// blinking the till set.
class GlassFile
{
public:
    explicit GlassFile(const QString &path) : m_path(path) {}

    // Writes the file when the glass differs from the one last written.
    Result<void> update(const ScreenInterpreter &display, const SettingsImage &image);

    // What the renderer is given.
    static GlassText::Glass glassOf(const ScreenInterpreter &display, const SettingsImage &image);
    static GlassRenderer::State stateOf(const ScreenInterpreter &display);

private:
    QString m_path;
    std::optional<std::pair<GlassText::Glass, GlassRenderer::State>> m_written;
};
