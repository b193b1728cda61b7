#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// How well captured bytes read as each publicly described command set,
// and which set the till speaks, if the bytes tell.
struct SetFit
{
    int commandSet = -1;
    qsizetype takenBytes = 0;   // read as commands or as text
    qsizetype unknownBytes = 0; // the set has no reading for them
    qsizetype ownBytes = 0;     // in commands that only this set (or few) has
    qsizetype weighted = 0;     // taken bytes, and own command bytes weighing more
    double score = 0;           // weighted per byte of the capture
    QString rows[2];            // the glass as this set would show it after the bytes
    QByteArray codes[2];        // the same as the codes in its cells

    double takenShare(qsizetype total) const { return total ? double(takenBytes) / total : 0; }
};

struct Recognition
{
    enum class Verdict {
        NothingHeard, // no byte arrived
        NoneFits,     // no set reads enough of the bytes (wrong speed, not a display's traffic)
        CannotTell,   // the two best read about equally well: ranking[0] or ranking[1]
        Named,        // ranking[0] leads clearly
    };

    Verdict verdict = Verdict::NothingHeard;
    qsizetype bytes = 0;
    QList<SetFit> ranking; // best first; a tie in list order
    QList<int> readsAlike; // sets described as the named one is (EMAX beside AEDEX)

    bool named() const { return verdict == Verdict::Named; }
    const SetFit &best() const { return ranking.front(); }
    const SetFit &runnerUp() const { return ranking.at(1); }
};

namespace Recognizer {

// Below this share of bytes taken no set fits.
inline constexpr double LeastTakenShare = 0.9;
// How much more than taken bytes a byte of an own command weighs.
inline constexpr int OwnCommandWeight = 4;
// The lead, in weighted bytes, by which the best set is named: at least
// one byte of a command only it has. Counted in bytes rather than as a
// share, so that one telling command decides a long capture too.
inline constexpr qsizetype ClearLeadBytes = OwnCommandWeight;

Recognition recognize(QByteArrayView capture);

} // namespace Recognizer
