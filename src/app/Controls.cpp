#include "app/Controls.h"

#include <QLabel>
#include <QPushButton>

namespace Controls {

QRect place(const Twips &at, QPoint pageOrigin)
{
    return QRect(px(at.left), px(at.top), px(at.width), px(at.height)).translated(-pageOrigin);
}

void identify(QWidget *control, const QString &name, const QString &spokenName)
{
    control->setObjectName(name);
    control->setAccessibleDescription(name);
    if (!spokenName.isEmpty())
        control->setAccessibleName(spokenName);
}

QString element(const char *array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

void widenToFit(QWidget *control)
{
    const int wanted = control->sizeHint().width();
    if (wanted > control->width())
        control->resize(wanted, control->height());
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &at)
{
    auto *result = new QLabel(caption, parent);
    identify(result, name);
    result->setGeometry(at);
    widenToFit(result);
    return result;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &at,
                    const QString &spokenName)
{
    auto *result = new QPushButton(caption, parent);
    identify(result, name, spokenName);
    result->setGeometry(at);
    return result;
}

} // namespace Controls
