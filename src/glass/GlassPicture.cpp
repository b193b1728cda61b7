#include "glass/GlassPicture.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include "glass/GlassRenderer.h"

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

Result<void> savePng(const QImage &picture, const QString &path)
{
    using Reason = Error::Reason;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return Error{.reason = Reason::NotRegularTarget, .subject = path};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        const Error error{
            .reason = Reason::CannotWrite, .subject = path, .system = file.errorString()};
        file.cancelWriting();
        return error;
    }
    return {};
}

} // namespace GlassPicture
