#include "glass/GlassPicture.h"

#include <QBuffer>
#include <QPainter>

#include "files/SettingsFile.h"

namespace GlassPicture {

QImage compose(const GlassText::Glass &glass, const GlassText::Glass &beyond, int pitch)
{
    GlassRenderer renderer(pitch);
    const QImage &top = renderer.render(glass);
    if (beyond.rows.isEmpty())
        return top;
    GlassRenderer under(pitch);
    const QImage &bottom = under.render(beyond);
    QImage picture(top.width(), top.height() + renderer.dotPitch() + bottom.height(),
                   QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, top);
    painter.drawImage(0, top.height() + renderer.dotPitch(), bottom);
    return picture;
}

QImage compose(const GlassText::Glass &glass, const GlassRenderer::State &state, int pitch)
{
    GlassRenderer renderer(pitch);
    return renderer.render(glass, state);
}

Result<void> savePng(const QImage &picture, const QString &path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return SettingsFile::replaceRegular(path, png);
}

} // namespace GlassPicture
