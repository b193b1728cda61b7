#include "listen/TillTraffic.h"

#include "commandsets/CommandSets.h"

namespace {

using namespace CommandSets;

struct Item
{
    const char *name;
    int cents;
};

constexpr Item Items[] = {
    {"COFFEE", 250}, {"CROISSANT", 185}, {"ORANGE JUICE", 320}, {"BAGEL", 140}, {"TEA", 210},
};

QString money(int cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// A label on the left, an amount on the right, 20 columns.
QString columns(const QString &label, const QString &amount)
{
    return label.leftJustified(20 - amount.size(), QLatin1Char(' '), true) + amount;
}

QByteArray row(int n, int which)
{
    return TillTraffic::saleRow(n, which).toLatin1();
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out.append(char(value));
    return out;
}

} // namespace

namespace TillTraffic {

bool speaks(int commandSet)
{
    return isPubliclyDescribed(commandSet);
}

QString saleRow(int n, int which)
{
    const int count = int(std::size(Items));
    const Item &item = Items[n % count];
    // Every item once per round, then the first of the round under way.
    int round = 0, total = 0;
    for (const Item &each : Items)
        round += each.cents;
    total = (n / count) * round;
    for (int k = 0; k <= n % count; ++k)
        total += Items[k].cents;
    return which == 0 ? columns(QString::fromLatin1(item.name), money(item.cents))
                      : columns(QStringLiteral("TOTAL"), money(total));
}

QByteArray startUp(int commandSet)
{
    switch (commandSet) {
    case Epson: // initialise, the display selected, code table, cursor hidden, brightness
        return bytes(
            {0x1B, 0x40, 0x1B, 0x3D, 0x02, 0x1B, 0x74, 0x00, 0x1F, 0x43, 0x00, 0x1F, 0x58, 0x04});
    case Cd5220: // initialise, cursor off, brightness
        return bytes({0x1B, 0x40, 0x1B, 0x5F, 0x00, 0x1B, 0x2A, 0x04});
    case UtcEnhanced:
        return bytes({0x1B, 0x64});
    case UtcStandard:
    case LogicControl: // reset, normal mode, cursor off, full brightness
        return bytes({0x1F, 0x11, 0x14, 0x04, 0xFF});
    default:
        return {};
    }
}

QByteArray sale(int commandSet, int n)
{
    const QByteArray upper = row(n, 0), lower = row(n, 1);
    switch (commandSet) {
    case Epson: // both ways tills write rows: by position, or both at once after a clear
        return n % 2 == 0 ? bytes({0x1F, 0x24, 0x01, 0x01}) + upper +
                                bytes({0x1F, 0x24, 0x01, 0x02}) + lower
                          : bytes({0x0C, 0x0B}) + upper + lower;
    case Cd5220:
        return bytes({0x0C, 0x1B, 0x51, 0x41}) + upper + bytes({0x0D, 0x1B, 0x51, 0x42}) + lower +
               bytes({0x0D});
    case UtcEnhanced:
        return bytes({0x1B, 0x75, 0x41}) + upper + bytes({0x0D, 0x1B, 0x75, 0x42}) + lower +
               bytes({0x0D});
    case Aedex:
    case Emax:
        return n % 2 == 0 ? "!#1" + upper + "\r!#2" + lower + "\r" : "!#9" + upper + lower + "\r";
    case Adm788:
        return bytes({0x0C, 0x0E}) + upper + bytes({0x0F}) + lower;
    case UtcStandard:
    case LogicControl: // both rows from the first position, relying on the wrap
        return bytes({0x10, 0x00}) + upper + lower;
    default:
        return {};
    }
}

QByteArray session(int commandSet, int sales)
{
    QByteArray out = startUp(commandSet);
    for (int n = 0; n < sales; ++n)
        out += sale(commandSet, n);
    return out;
}

} // namespace TillTraffic
