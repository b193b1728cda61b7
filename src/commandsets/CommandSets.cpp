#include "commandsets/CommandSets.h"

#include "commandsets/CommandSet.h"

#include "model/OptionLists.h"

namespace CommandSets {

bool isListed(int position)
{
    return position >= 0 && position < Count;
}

bool isPubliclyDescribed(int position)
{
    return description(position).described;
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
