#include "link/Transfer.h"

#include "link/Deadline.h"

namespace Transfer {

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

// 0x1B 0xEF, the lead byte and image bytes 1..126.
QByteArray downloadBytes(const SettingsImage &image)
{
    QByteArray bytes;
    bytes.reserve(DownloadLength);
    bytes.append(static_cast<char>(Escape));
    bytes.append(static_cast<char>(DownloadCommand));
    bytes.append(static_cast<char>(LeadByte));
    bytes.append(image.configBytes());
    return bytes;
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

// Watches the line while the bytes that the system still holds go out, at
// the line's speed, and DrainMarginMs more. Fails when the line was lost or
// the bytes did not leave; the error's count is then the bytes that had not
// left at the last good look (-1 when the system cannot tell).
Result<void> drain(MSComm &comm, TickCounter &ticks, const LineSettings &line, int sent)
{
    const int queued = comm.lineQueueCount();
    // When the system cannot tell, everything sent may still be queued.
    const qint32 limitMs = line.lineTimeMs(queued < 0 ? sent : queued) + DrainMarginMs;
    Deadline deadline(ticks.GetTickCount(), limitMs);
    int left = queued;
    do {
        comm.inBufferCount(); // a look at the device notices a lost line
        const int looked = comm.lineQueueCount();
        if (comm.hasFault()) {
            // The look that found the line gone tells nothing of the bytes.
            Error error = comm.error();
            error.count = left;
            return error;
        }
        left = looked;
    } while (!deadline.passedAt(ticks.GetTickCount()));
    if (left > 0)
        return Error{.reason = Reason::NotDrained, .count = left, .ms = limitMs};
    return {};
}

// Opens the port, discards stale input, sends the bytes one by one and
// waits until they have left the port. The port stays open when they have;
// on every failure it is closed.
Result<void> sendOnOpenPort(MSComm &comm, TickCounter &ticks, const Target &target,
                            QByteArrayView bytes, Stage sending, Stage draining)
{
    if (Result<void> opened = open(comm, target); !opened)
        return opened;
    discardInput(comm); // stale bytes of an earlier exchange

    const int total = static_cast<int>(bytes.size());
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const Result<void> sent = SendByte(comm, ticks, static_cast<quint8>(bytes[k]));
        if (!sent) {
            comm.setPortOpen(false);
            Error error = stopped(sent.error(), sending, target);
            error.count = static_cast<int>(k);
            error.total = total;
            return error;
        }
    }

    // The bytes count as sent once the system has taken them; they reach
    // the display only when they have left the port.
    const Result<void> drained =
        drain(comm, ticks, LineSettings::parse(target.settings).value_or(LineSettings()), total);
    if (!drained) {
        comm.setPortOpen(false);
        Error error = stopped(drained.error(), draining, target);
        error.total = total;
        return error;
    }

    discardInput(comm); // whatever the display said meanwhile is not examined
    return {};
}

Result<void> sendAll(MSComm &comm, TickCounter &ticks, const Target &target, QByteArrayView bytes,
                     Stage sending, Stage draining)
{
    const Result<void> sent = sendOnOpenPort(comm, ticks, target, bytes, sending, draining);
    comm.setPortOpen(false);
    return sent;
}

// On the open port: discards stale input, asks for the image and receives
// the reply. The port is left as it is; the caller closes it.
Result<SettingsImage> requestImage(MSComm &comm, TickCounter &ticks, const Target &target)
{
    // Bytes that came before the request are no part of the reply: a stray
    // 0xAA among them would shift the whole image by one.
    discardInput(comm);

    for (const quint8 byte : {Escape, UploadCommand}) {
        const Result<void> sent = SendByte(comm, ticks, byte);
        if (!sent)
            return stopped(sent.error(), Stage::Uploading, target);
    }

    waitForInput(comm, ticks, 1, FirstByteWaitMs);
    if (comm.hasFault())
        return stopped(comm.error(), Stage::Uploading, target);
    if (comm.inBufferCount() == 0)
        return Error{.reason = Reason::NoAnswer,
                     .subject = target.port.shownText,
                     .detail = target.settings,
                     .ms = FirstByteWaitMs};

    waitForInput(comm, ticks, ReplyLength, ReplyWaitMs);
    if (comm.hasFault())
        return stopped(comm.error(), Stage::Uploading, target);
    const QByteArray bytes = comm.input();

    // Bytes beyond the reply are read with it and dropped.
    const int received = static_cast<int>(bytes.size());
    const int used = qMin(received, ReplyLength);
    SettingsImage reply;
    for (int j = 0; j < used; ++j)
        reply.set(j, static_cast<quint8>(bytes[j]));

    const auto refused = [&](Reason reason) {
        return Error{.reason = reason,
                     .subject = target.port.shownText,
                     .detail = target.settings,
                     .count = received,
                     .total = ReplyLength};
    };
    if (used > 0 && reply.at(ImageLayout::ReplyLead) != LeadByte)
        return refused(Reason::WrongLeadByte);
    if (received < ReplyLength)
        return refused(Reason::ShortReply);
    return reply;
}

// The read-back after a download, on the port the download left open.
DownloadCheck readBack(MSComm &comm, TickCounter &ticks, const Target &target,
                       const SettingsImage &sent)
{
    using Kind = DownloadCheck::Kind;
    const Result<SettingsImage> held = requestImage(comm, ticks, target);
    if (!held) {
        const Reason reason = held.error().reason;
        const Kind kind = reason == Reason::NoAnswer ? Kind::NoAnswer
                          : reason == Reason::WrongLeadByte || reason == Reason::ShortReply
                              ? Kind::WrongReply
                              : Kind::LinkFailed;
        return {.kind = kind, .error = held.error()};
    }
    const QList<ImageCodec::FieldRef> differing =
        ImageCodec::differences(ImageCodec::decode(sent), ImageCodec::decode(*held));
    return {.kind = differing.isEmpty() ? Kind::Checked : Kind::Differs, .differing = differing};
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
    return sendAll(comm, ticks, target, downloadBytes(image), Stage::Downloading, Stage::Draining);
}

Result<void> write(MSComm &comm, TickCounter &ticks, const Target &target, QByteArrayView bytes)
{
    return sendAll(comm, ticks, target, bytes, Stage::Writing, Stage::Writing);
}

Result<DownloadCheck> downloadCheckThenPause(MSComm &comm, TickCounter &ticks, const Target &target,
                                             const SettingsImage &image, ReadBack ask,
                                             const std::function<void()> &whilePausing)
{
    if (const Result<void> sent = sendOnOpenPort(comm, ticks, target, downloadBytes(image),
                                                 Stage::Downloading, Stage::Draining);
        !sent)
        return sent.error();
    DownloadCheck check;
    if (ask == ReadBack::Ask)
        check = readBack(comm, ticks, target, image);
    comm.setPortOpen(false);
    Delay(ticks, ClosingPauseMs, whilePausing);
    return check;
}

Result<SettingsImage> upload(MSComm &comm, TickCounter &ticks, const Target &target)
{
    if (const Result<void> opened = open(comm, target); !opened)
        return opened.error();
    Result<SettingsImage> reply = requestImage(comm, ticks, target);
    comm.setPortOpen(false);
    return reply;
}

} // namespace Transfer
