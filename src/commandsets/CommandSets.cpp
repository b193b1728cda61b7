#include "commandsets/CommandSets.h"

#include "model/OptionLists.h"

namespace CommandSets {

bool isListed(int position)
{
    return position >= 0 && position < Count;
}

bool isPubliclyDescribed(int position)
{
    return isListed(position) && position != KS310 && position != Dsp800;
}

QString shortName(int position)
{
    if (!isListed(position))
        return {};
    static const QString Suffix = QStringLiteral("(Default)");
    QString name = OptionLists::commandSets().at(position);
    if (name.endsWith(Suffix))
        name.chop(Suffix.size());
    return name.trimmed();
}

} // namespace CommandSets
