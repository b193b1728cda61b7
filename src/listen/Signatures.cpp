#include "listen/Signatures.h"

namespace {

using namespace CommandSets;

constexpr quint16 bit(int position)
{
    return quint16(1u << position);
}

Signature row(QByteArray lead, quint16 sets)
{
    return {std::move(lead), false, 0, 0, sets};
}

Signature row(QByteArray lead, quint8 low, quint8 high, quint16 sets)
{
    return {std::move(lead), true, low, high, sets};
}

// What separates the sets, as the guides' bytes show it. ESC @, FF, VT,
// ESC & and ESC % are shared by EPSON and CD5220, CAN by them and UTC/S,
// so none of those is here.
QList<Signature> makeRows()
{
    const quint16 epson = bit(Epson), cd5220 = bit(Cd5220), utcP = bit(UtcEnhanced);
    const quint16 aedex = bit(Aedex) | bit(Emax), adm = bit(Adm788);
    const quint16 utcS = bit(UtcStandard), logic = bit(LogicControl);
    return {
        // CD5220: string mode, cursor to x y, cursor on/off, brightness,
        // its own mode and cursor commands.
        row("\x1B\x51", 0x41, 0x44, cd5220),
        row("\x1B\x6C", 0x01, 0x14, cd5220),
        row("\x1B\x5F", 0x00, 0x01, cd5220),
        row("\x1B\x2A", 0x01, 0x04, cd5220),
        row("\x1B", 0x11, 0x13, cd5220),
        row("\x1B\x5B", 0x41, 0x52, cd5220),
        row("\x1B\x66", 0x41, 0x5A, cd5220),
        // EPSON: cursor to x y, cursor shown, brightness, the three modes.
        row(QByteArray("\x1F\x24", 2), 0x01, 0x14, epson),
        row("\x1F\x43", 0x00, 0x01, epson),
        row("\x1F\x58", 0x01, 0x04, epson),
        row("\x1F", 0x01, 0x03, epson),
        row("\x1B\x52", 0x00, 0x0A, epson),
        // UTC enhanced: its line commands, the switch to it, the way back.
        row("\x1B\x75", 0x41, 0x49, utcP),
        row("\x1B\x64", utcP),
        row("\x1B\x0F\x0D", utcP),
        row("\x1B\x1E", utcP),
        // AEDEX and EMAX: the attention pair and a function digit.
        row("!#", 0x31, 0x39, aedex),
        // ADM788: a row cleared and written.
        row("\x0E", 0x20, 0x7E, adm),
        row("\x0F", 0x20, 0x7E, adm),
        // UTC standard and Logic Controls share the cursor position...
        row("\x10", 0x00, 0x27, utcS | logic),
        // ...and are told apart by a few commands of one of them.
        row("\x19", utcS),
        row("\x1C", utcS),
        row("\x1D", utcS),
        row("\x1E", utcS),
        row("\x03", 0x20, 0x7F, logic),
        row("\x05", 0x20, 0x7E, logic),
    };
}

bool matches(const Signature &signature, QByteArrayView bytes, qsizetype at)
{
    if (!bytes.sliced(at).startsWith(signature.lead))
        return false;
    if (!signature.hasNext)
        return true;
    const qsizetype next = at + signature.lead.size();
    if (next >= bytes.size())
        return false;
    const quint8 byte = quint8(bytes[next]);
    return byte >= signature.nextLow && byte <= signature.nextHigh;
}

} // namespace

namespace Signatures {

const QList<Signature> &rows()
{
    static const QList<Signature> Rows = makeRows();
    return Rows;
}

std::array<qsizetype, CommandSets::Count> ownCommandBytes(QByteArrayView bytes)
{
    // The rows that begin with each byte value, so that a byte that starts
    // none (most text) costs one look-up.
    static const std::array<QList<const Signature *>, 256> ByFirstByte = [] {
        std::array<QList<const Signature *>, 256> index;
        for (const Signature &signature : rows())
            index[quint8(signature.lead.front())].append(&signature);
        return index;
    }();

    std::array<qsizetype, CommandSets::Count> counts{};
    for (qsizetype at = 0; at < bytes.size();) {
        const Signature *found = nullptr;
        for (const Signature *signature : ByFirstByte[quint8(bytes[at])]) {
            if (matches(*signature, bytes, at)) {
                found = signature;
                break;
            }
        }
        if (!found) {
            ++at;
            continue;
        }
        for (int set = 0; set < CommandSets::Count; ++set) {
            if (found->belongsTo(set))
                counts[size_t(set)] += found->length();
        }
        at += found->length();
    }
    return counts;
}

} // namespace Signatures
