#include "model/OptionLists.h"

// The entry texts are the display's own vocabulary and are shown exactly as
// written, spellings and runs of blanks included; the order is the numbering.
namespace OptionLists {

const QStringList &charSets()
{
    static const QStringList list = {
        QStringLiteral("USA/Eurpope  (Default)"),
        QStringLiteral("FRANCE"),
        QStringLiteral("GERMANY"),
        QStringLiteral("U.K"),
        QStringLiteral("DENMARK I"),
        QStringLiteral("SWEDEN"),
        QStringLiteral("ITALY"),
        QStringLiteral("SPAIN"),
        QStringLiteral("JAPAN"),
        QStringLiteral("NORWAY"),
        QStringLiteral("DENMARK II"),
        QStringLiteral("SLAVONIC/RUSSIA"),
        QStringLiteral("RUSSIA"),
        QStringLiteral("GREEK CP 737"),
        QStringLiteral("CZECH"),
        QStringLiteral("LATIVAIN"),
        QStringLiteral("HOLLAND"),
        QStringLiteral("GREEK CP 1253"),
        QStringLiteral("Greek CP8859-7"),
    };
    return list;
}

const QStringList &commandSets()
{
    static const QStringList list = [] {
        QStringList entries;
        for (const std::string_view entry : CommandSetEntries)
            entries.append(QString::fromLatin1(entry.data(), qsizetype(entry.size())));
        return entries;
    }();
    return list;
}

const QStringList &displaySpeeds()
{
    static const QStringList list = {
        QStringLiteral("9600,n,8,1 (Default)"),
        QStringLiteral("19200,n,8,1"),
    };
    return list;
}

const QStringList &passthruModes()
{
    static const QStringList list = {
        QStringLiteral("None     (Default)"),
        QStringLiteral("with ESC/POS command"),
        QStringLiteral("without ESC/POS command"),
    };
    return list;
}

const QStringList &commPorts()
{
    static const QStringList list = {
        QStringLiteral("Com 1"), QStringLiteral("Com 2"), QStringLiteral("Com 3"),
        QStringLiteral("Com 4"), QStringLiteral("Com 5"), QStringLiteral("Com 6"),
        QStringLiteral("Com 7"), QStringLiteral("Com 8"),
    };
    return list;
}

const QStringList &linkSettings()
{
    static const QStringList list = {
        QStringLiteral("9600,n,8,1"),
        QStringLiteral("19200,n,8,1"),
    };
    return list;
}

int positionOf(const QStringList &entries, QStringView text)
{
    static const QString Suffix = QStringLiteral("(Default)");
    const QStringView wanted = text.trimmed();
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const QStringView entry(entries.at(k));
        QStringView bare = entry;
        if (bare.endsWith(Suffix))
            bare = bare.chopped(Suffix.size()).trimmed();
        if (wanted.compare(entry, Qt::CaseInsensitive) == 0 ||
            wanted.compare(bare, Qt::CaseInsensitive) == 0)
            return static_cast<int>(k);
    }
    return -1;
}

QString defaultLine1()
{
    return QStringLiteral("*VFD DISPLAY TQ-540*");
}

QString defaultLine2()
{
    return QStringLiteral("**HAVE A NICE DAY AND THANK YOU**");
}

} // namespace OptionLists
