#include "listen/SetReading.h"

#include <algorithm>

namespace {

// The interpreter keeps a bounded log of what it could not place; fed in
// slices shorter than that bound, no sequence is dropped uncounted.
constexpr qsizetype SliceLength = 200;

} // namespace

void SetReading::feed(QByteArrayView bytes)
{
    for (qsizetype from = 0; from < bytes.size(); from += SliceLength) {
        const QByteArrayView slice = bytes.sliced(from, std::min(SliceLength, bytes.size() - from));
        m_interpreter.feed(slice);
        const ScreenInterpreter::Unknown unknown = m_interpreter.takeUnknown();
        for (const QByteArray &sequence : unknown.sequences)
            m_unknown += sequence.size();
        m_unknown += unknown.dropped; // at least a byte each
        m_read += slice.size();
    }
    // A sequence reported later may hold bytes of an earlier slice.
    m_unknown = std::min(m_unknown, m_read);
}
