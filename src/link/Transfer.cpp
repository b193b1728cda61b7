#include "link/Transfer.h"

#include "link/Deadline.h"

namespace Transfer {

namespace {

using namespace Protocol;
using Reason = Error::Reason;
using Stage = Error::Stage;

// The error as a transfer reports it: where it stopped, on which port.
Error stopped(Error error, Stage stage, const Target &target)
{
    error.stage = stage;
    error.subject = target.port.shownText;
    return error;
}

// Sets the port and its settings and opens it; on a refusal the port is
// left closed. No entry and no typed name is refused here, before the
// component is touched.
Result<void> open(MSComm &comm, const Target &target)
{
    if (!target.port.isChosen())
        return stopped({.reason = Reason::NoPortChosen}, Stage::Opening, target);
    comm.setCommPort(target.port.number);
    comm.setPortName(target.port.deviceName);
    if (!comm.setSettings(target.settings) || !comm.setPortOpen(true)) {
        const Error error = comm.error();
        comm.setPortOpen(false);
        return stopped(error, Stage::Opening, target);
    }
    return {};
}

// Bytes that wait in the receive buffer, read and dropped.
void discardInput(MSComm &comm)
{
    if (comm.inBufferCount() != 0)
        comm.input();
}

// Polls the receive count until `enough` bytes wait, `limitMs` has passed
// since the start, or the device fails.
void waitForInput(MSComm &comm, TickCounter &ticks, int enough, qint32 limitMs)
{
    Deadline deadline(ticks.GetTickCount(), limitMs);
    for (;;) {
        // The clock first: a byte that came by the time read is counted.
        const quint32 now = ticks.GetTickCount();
        if (comm.inBufferCount() >= enough || comm.hasFault() || deadline.passedAt(now))
            return;
    }
}

// Watches the line while the bytes that the system still holds go out, at
// the line's speed, and DrainMarginMs more. Fails when the line was lost or
// the bytes did not leave.
Result<void> drain(MSComm &comm, TickCounter &ticks, const LineSettings &line, int sent)
{
    const int queued = comm.lineQueueCount();
    // When the system cannot tell, everything sent may still be queued.
    const qint32 limitMs = line.lineTimeMs(queued < 0 ? sent : queued) + DrainMarginMs;
    Deadline deadline(ticks.GetTickCount(), limitMs);
    int left = queued;
    do {
        comm.inBufferCount(); // a look at the device notices a lost line
        left = comm.lineQueueCount();
        if (comm.hasFault())
            return comm.error();
    } while (!deadline.passedAt(ticks.GetTickCount()));
    if (left > 0)
        return Error{.reason = Reason::NotDrained, .count = left, .ms = limitMs};
    return {};
}

Error uploadStopped(MSComm &comm, const Target &target, const Error &error)
{
    comm.setPortOpen(false);
    return stopped(error, Stage::Uploading, target);
}

// Opens the port, discards stale input, sends the bytes one by one and
// waits until they have left the port; closes the port on every outcome.
Result<void> sendAll(MSComm &comm, TickCounter &ticks, const Target &target,
                     QByteArrayView bytes, Stage sending, Stage draining)
{
    if (Result<void> opened = open(comm, target); !opened)
        return opened;
    discardInput(comm); // stale bytes of an earlier exchange

    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const Result<void> sent = SendByte(comm, ticks, static_cast<quint8>(bytes[k]));
        if (!sent) {
            comm.setPortOpen(false);
            Error error = stopped(sent.error(), sending, target);
            error.count = static_cast<int>(k);
            error.total = static_cast<int>(bytes.size());
            return error;
        }
    }

    // The bytes count as sent once the system has taken them; they reach
    // the display only when they have left the port.
    const Result<void> drained =
        drain(comm, ticks, LineSettings::parse(target.settings).value_or(LineSettings()),
              static_cast<int>(bytes.size()));
    if (!drained) {
        comm.setPortOpen(false);
        return stopped(drained.error(), draining, target);
    }

    discardInput(comm); // whatever the display said meanwhile is not examined
    comm.setPortOpen(false);
    return {};
}

} // namespace

Result<void> SendByte(MSComm &comm, TickCounter &ticks, quint8 byte)
{
    const char one = static_cast<char>(byte);
    if (!comm.setOutput(QByteArrayView(&one, 1)))
        return comm.hasFault() ? comm.error() : Error{.reason = Reason::DeviceFailed};
    Deadline deadline(ticks.GetTickCount(), SendTimeoutMs);
    for (;;) {
        const int pending = comm.outBufferCount();
        if (comm.hasFault())
            return comm.error();
        if (pending == 0)
            return {};
        if (deadline.passedAt(ticks.GetTickCount()))
            return Error{.reason = Reason::SendTimedOut, .ms = SendTimeoutMs};
    }
}

void Delay(TickCounter &ticks, qint32 ms, const std::function<void()> &processEvents)
{
    Deadline deadline(ticks.GetTickCount(), ms);
    for (;;) {
        if (processEvents)
            processEvents();
        // Three readings a pass, as the pause has always been written: one
        // to see whether the counter went back, a fresh one to start again
        // from, and one to compare with the limit.
        if (deadline.wentBack(ticks.GetTickCount()))
            deadline.restartAt(ticks.GetTickCount());
        if (deadline.passedAt(ticks.GetTickCount()))
            return;
    }
}

Result<void> download(MSComm &comm, TickCounter &ticks, const Target &target,
                      const SettingsImage &image)
{
    QByteArray bytes;
    bytes.reserve(DownloadLength);
    bytes.append(static_cast<char>(Escape));
    bytes.append(static_cast<char>(DownloadCommand));
    bytes.append(static_cast<char>(LeadByte));
    bytes.append(image.configBytes());
    return sendAll(comm, ticks, target, bytes, Stage::Downloading, Stage::Draining);
}

Result<void> write(MSComm &comm, TickCounter &ticks, const Target &target, QByteArrayView bytes)
{
    return sendAll(comm, ticks, target, bytes, Stage::Writing, Stage::Writing);
}

Result<void> downloadThenPause(MSComm &comm, TickCounter &ticks, const Target &target,
                               const SettingsImage &image,
                               const std::function<void()> &whilePausing)
{
    Result<void> result = download(comm, ticks, target, image);
    if (result)
        Delay(ticks, ClosingPauseMs, whilePausing);
    return result;
}

Result<SettingsImage> upload(MSComm &comm, TickCounter &ticks, const Target &target)
{
    if (const Result<void> opened = open(comm, target); !opened)
        return opened.error();

    // Bytes that came before the request are no part of the reply: a stray
    // 0xAA among them would shift the whole image by one.
    discardInput(comm);

    for (const quint8 byte : {Escape, UploadCommand}) {
        const Result<void> sent = SendByte(comm, ticks, byte);
        if (!sent)
            return uploadStopped(comm, target, sent.error());
    }

    waitForInput(comm, ticks, 1, FirstByteWaitMs);
    if (comm.hasFault())
        return uploadStopped(comm, target, comm.error());
    if (comm.inBufferCount() == 0) {
        comm.setPortOpen(false);
        return Error{.reason = Reason::NoAnswer, .subject = target.port.shownText};
    }

    waitForInput(comm, ticks, ReplyLength, ReplyWaitMs);
    if (comm.hasFault())
        return uploadStopped(comm, target, comm.error());
    const QByteArray bytes = comm.input();
    comm.setPortOpen(false);

    // Bytes beyond the reply are read with it and dropped.
    const int received = static_cast<int>(bytes.size());
    const int used = qMin(received, ReplyLength);
    SettingsImage reply;
    for (int j = 0; j < used; ++j)
        reply.set(j, static_cast<quint8>(bytes[j]));

    const auto refused = [&](Reason reason) {
        return Error{.reason = reason,
                     .subject = target.port.shownText,
                     .count = received,
                     .total = ReplyLength};
    };
    if (used > 0 && reply.at(ImageLayout::ReplyLead) != LeadByte)
        return refused(Reason::WrongLeadByte);
    if (received < ReplyLength)
        return refused(Reason::ShortReply);
    return reply;
}

} // namespace Transfer
