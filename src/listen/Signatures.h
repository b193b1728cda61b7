#pragma once

#include <array>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "commandsets/CommandSets.h"

// Commands that only one command set (or a few) has, by which the sets can
// be told apart from their bytes: one row each.
struct Signature
{
    QByteArray lead;      // the bytes that begin the command
    bool hasNext = false; // whether the byte after `lead` must lie in
    quint8 nextLow = 0;   // nextLow..nextHigh
    quint8 nextHigh = 0;
    quint16 sets = 0; // bit k: the set at list position k has the command

    bool belongsTo(int commandSet) const { return (sets >> commandSet) & 1u; }
    qsizetype length() const { return lead.size() + (hasNext ? 1 : 0); }
};

namespace Signatures {

const QList<Signature> &rows();

// Bytes of `bytes` that belong to each set's own commands, indexed by list
// position. A command's bytes count once, for the first row that matches.
std::array<qsizetype, CommandSets::Count> ownCommandBytes(QByteArrayView bytes);

} // namespace Signatures
