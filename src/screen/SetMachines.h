#pragma once

#include <memory>

#include <QByteArray>
#include <QList>

class Screen;

// Byte sequences a display model did not interpret, oldest first. Bounded:
// a stream of garbage at the wrong speed must not grow it without end, so
// beyond Limit the oldest go and are counted.
class UnknownLog
{
public:
    static constexpr qsizetype Limit = 256;

    void add(const QByteArray &sequence);
    const QList<QByteArray> &sequences() const { return m_sequences; }
    qsizetype dropped() const { return m_dropped; }
    void clear();

private:
    QList<QByteArray> m_sequences;
    qsizetype m_dropped = 0;
};

// One command set's reading of the byte stream, one byte at a time. The
// bytes of a command not yet complete are held; nothing else is kept.
class SetMachine
{
public:
    SetMachine(Screen &screen, UnknownLog &log) : m_screen(screen), m_log(log) {}
    virtual ~SetMachine() = default;
    SetMachine(const SetMachine &) = delete;
    SetMachine &operator=(const SetMachine &) = delete;

    virtual void take(quint8 byte) = 0;

    // Whether a command has begun and waits for more bytes.
    bool waiting() const { return !m_held.isEmpty(); }

    // Gives up a command cut short (the set changes), reporting its bytes.
    void abandon();

protected:
    void hold(quint8 byte) { m_held.append(char(byte)); }
    quint8 held(qsizetype k) const { return quint8(m_held.at(k)); }
    void done() { m_held.clear(); }
    // The held bytes, the last one included, as one unknown sequence.
    void report();
    void reportByte(quint8 byte) { m_log.add(QByteArray(1, char(byte))); }

    // A line command's text: after its lead bytes (held), printable bytes are
    // collected until 0D, or until they fill `limit` cells; then the rows from
    // `firstRow` on are replaced, padded with blanks. A 0D right after a text
    // that filled its rows still belongs to the command.
    enum class TextStep { NotInText, Taken, Stray };
    void beginText(int firstRow, int limit);
    TextStep takeText(quint8 byte);
    void dropText();
    bool inText() const { return m_textRow >= 0; }

    Screen &m_screen;
    UnknownLog &m_log;
    QByteArray m_held;

private:
    void finishText();

    int m_textRow = -1;
    int m_textLimit = 0;
    qsizetype m_textStart = 0;
    bool m_closingReturn = false;
};

// The machine for the set at list position `commandSet`: KS310, DSP800 and
// positions outside the list get one that shows every byte as data.
std::unique_ptr<SetMachine> makeSetMachine(int commandSet, Screen &screen, UnknownLog &log);
