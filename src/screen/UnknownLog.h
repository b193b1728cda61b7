#pragma once

#include <QByteArray>
#include <QList>

// Byte sequences a display model did not interpret, oldest first. Bounded:
// a stream of garbage at the wrong speed must not grow it without end, so
// beyond Limit the oldest go and are counted.
class UnknownLog
{
public:
    static constexpr qsizetype Limit = 256;

    void add(const QByteArray &sequence)
    {
        if (m_sequences.size() == Limit) {
            m_sequences.removeFirst();
            ++m_dropped;
        }
        m_sequences.append(sequence);
    }
    const QList<QByteArray> &sequences() const { return m_sequences; }
    qsizetype dropped() const { return m_dropped; }
    bool isEmpty() const { return m_sequences.isEmpty() && m_dropped == 0; }
    void clear()
    {
        m_sequences.clear();
        m_dropped = 0;
    }

private:
    QList<QByteArray> m_sequences;
    qsizetype m_dropped = 0;
};
