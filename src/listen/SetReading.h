#pragma once

#include <QByteArrayView>
#include <QString>

#include "screen/ScreenInterpreter.h"

// How one command set reads a stream of bytes: how many it takes, as
// commands or as text, how many it cannot place, and what the glass then
// shows. Listening reaches the interpreter only through here.
class SetReading
{
public:
    explicit SetReading(int commandSet) : m_interpreter(commandSet) {}

    void feed(QByteArrayView bytes);

    int commandSet() const { return m_interpreter.commandSet(); }
    qsizetype bytesRead() const { return m_read; }
    qsizetype unknownBytes() const { return m_unknown; }
    qsizetype takenBytes() const { return m_read - m_unknown; }
    QString rowText(int row) const { return m_interpreter.rowText(row); }
    QByteArray rowCodes(int row) const { return m_interpreter.screen().rowBytes(row); }

private:
    ScreenInterpreter m_interpreter;
    qsizetype m_read = 0;
    qsizetype m_unknown = 0;
};
