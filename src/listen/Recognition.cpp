#include "listen/Recognition.h"

#include <algorithm>
#include <utility>

#include "commandsets/CommandSets.h"
#include "listen/SetReading.h"
#include "listen/Signatures.h"

namespace {

using namespace CommandSets;

// Sets that guides describe with one table: the second reads every stream
// exactly as the first, which tills are seen to use.
constexpr std::pair<int, int> DescribedAlike[] = {{Aedex, Emax}};

bool describedAlike(int named, int other)
{
    return std::ranges::any_of(DescribedAlike, [&](const std::pair<int, int> &pair) {
        return pair.first == named && pair.second == other;
    });
}

SetFit fit(int set, QByteArrayView capture, qsizetype ownBytes)
{
    SetReading reading(set);
    reading.feed(capture);
    SetFit result;
    result.commandSet = set;
    result.takenBytes = reading.takenBytes();
    result.unknownBytes = reading.unknownBytes();
    result.ownBytes = ownBytes;
    result.weighted = result.takenBytes + Recognizer::OwnCommandWeight * ownBytes;
    result.score = double(result.weighted) / double(capture.size());
    result.rows[0] = reading.rowText(0);
    result.rows[1] = reading.rowText(1);
    result.codes[0] = reading.rowCodes(0);
    result.codes[1] = reading.rowCodes(1);
    return result;
}

} // namespace

namespace Recognizer {

Recognition recognize(QByteArrayView capture)
{
    Recognition recognition;
    recognition.bytes = capture.size();
    if (capture.isEmpty())
        return recognition;

    const auto own = Signatures::ownCommandBytes(capture);
    for (int set = 0; set < Count; ++set) {
        if (isPubliclyDescribed(set))
            recognition.ranking.append(fit(set, capture, own[size_t(set)]));
    }
    std::ranges::stable_sort(recognition.ranking, [](const SetFit &a, const SetFit &b) {
        return a.weighted > b.weighted;
    });

    const SetFit &best = recognition.best();
    if (best.takenShare(capture.size()) < LeastTakenShare) {
        recognition.verdict = Recognition::Verdict::NoneFits;
        return recognition;
    }
    // The first rival that is not merely the same description.
    qsizetype rival = 1;
    while (rival < recognition.ranking.size() &&
           describedAlike(best.commandSet, recognition.ranking[rival].commandSet)) {
        recognition.readsAlike.append(recognition.ranking[rival].commandSet);
        ++rival;
    }
    const bool leads = best.ownBytes > 0 &&
                       (rival == recognition.ranking.size() ||
                        best.weighted - recognition.ranking[rival].weighted >= ClearLeadBytes);
    if (leads) {
        recognition.verdict = Recognition::Verdict::Named;
    } else {
        recognition.verdict = Recognition::Verdict::CannotTell;
        recognition.readsAlike.clear();
        // The two candidates stand first, the alike ones after them.
        if (rival > 1 && rival < recognition.ranking.size())
            std::rotate(recognition.ranking.begin() + 1, recognition.ranking.begin() + rival,
                        recognition.ranking.begin() + rival + 1);
    }
    return recognition;
}

} // namespace Recognizer
