#include "link/Transfer.h"

namespace Transfer {

namespace {

using namespace Protocol;

// The port as the user chose it: no entry and no typed name is refused
// here, before the component is touched.
bool hasPort(const Target &target)
{
    return target.port.number != 0 || !target.port.deviceName.isEmpty();
}

// Only a blank box gets here: any other text is itself a device name.
QString noPortMessage()
{
    return QStringLiteral("No port is selected. Choose \"Com 1\" to \"Com 8\" or type a device "
                          "name such as /dev/ttyUSB0 or COM12.");
}

QString refusedMessage(const Target &target, const QString &reason)
{
    return QStringLiteral("%1 can't be used: %2").arg(target.port.shownText, reason);
}

// Sets the port and its settings and opens it; on a refusal the port is
// left closed and the message says why.
bool open(MSComm &comm, const Target &target, QString *message)
{
    if (!hasPort(target)) {
        *message = noPortMessage();
        return false;
    }
    comm.setCommPort(target.port.number);
    comm.setPortName(target.port.deviceName);
    if (!comm.setSettings(target.settings) || !comm.setPortOpen(true)) {
        *message = refusedMessage(target, comm.errorString());
        comm.setPortOpen(false);
        return false;
    }
    return true;
}

QString sendFailureReason(MSComm &comm, SendStatus status)
{
    if (status == SendStatus::TimedOut)
        return QStringLiteral("the port did not send a byte within %1 seconds")
            .arg(SendTimeoutMs / 1000);
    const QString reason = comm.errorString();
    return reason.isEmpty() ? QStringLiteral("the device reported an error") : reason;
}

// Polls the receive count until `enough` bytes wait, `limitMs` has passed
// since the start, or the device fails. Returns the last count.
int waitForInput(MSComm &comm, TickCounter &ticks, int enough, qint32 limitMs)
{
    quint32 start = ticks.GetTickCount();
    for (;;) {
        const quint32 now = ticks.GetTickCount();
        const int count = comm.inBufferCount();
        if (count >= enough || comm.hasFault())
            return count;
        const qint32 elapsed = elapsedTicks(start, now);
        // A counter that went back would never reach the limit: measure anew.
        if (elapsed < 0)
            start = now;
        else if (elapsed > limitMs)
            return count;
    }
}

// Watches the line while the bytes that the system still holds go out, at
// the line's speed, and DrainMarginMs more. Returns why the download failed:
// the line was lost, or the bytes did not leave; empty when they did.
QString drainFailure(MSComm &comm, TickCounter &ticks, const LineSettings &line)
{
    const int queued = comm.lineQueueCount();
    // When the system cannot tell, everything sent may still be queued.
    const qint32 limitMs = line.lineTimeMs(queued < 0 ? DownloadLength : queued) + DrainMarginMs;
    quint32 start = ticks.GetTickCount();
    int left = queued;
    for (;;) {
        comm.inBufferCount(); // a look at the device notices a lost line
        left = comm.lineQueueCount();
        if (comm.hasFault())
            return sendFailureReason(comm, SendStatus::DeviceError);
        const quint32 now = ticks.GetTickCount();
        const qint32 elapsed = elapsedTicks(start, now);
        if (elapsed < 0)
            start = now;
        else if (elapsed >= limitMs)
            break;
    }
    if (left > 0)
        return QStringLiteral("the port did not send its last %1 bytes within %2 ms")
            .arg(left)
            .arg(limitMs);
    return QString();
}

UploadResult linkError(MSComm &comm, const Target &target, const QString &reason)
{
    comm.setPortOpen(false);
    UploadResult result;
    result.status = UploadResult::Status::LinkError;
    result.message = QStringLiteral("The upload from %1 stopped and the port was closed: %2. "
                                    "Nothing was changed.")
                         .arg(target.port.shownText, reason);
    return result;
}

} // namespace

SendStatus SendByte(MSComm &comm, TickCounter &ticks, quint8 byte)
{
    const char one = static_cast<char>(byte);
    if (!comm.setOutput(QByteArrayView(&one, 1)))
        return SendStatus::DeviceError;
    const quint32 start = ticks.GetTickCount();
    for (;;) {
        const int pending = comm.outBufferCount();
        if (comm.hasFault())
            return SendStatus::DeviceError;
        if (pending == 0)
            return SendStatus::Sent;
        if (elapsedTicks(start, ticks.GetTickCount()) > SendTimeoutMs)
            return SendStatus::TimedOut;
    }
}

void Delay(TickCounter &ticks, qint32 ms, const std::function<void()> &processEvents)
{
    quint32 start = ticks.GetTickCount();
    for (;;) {
        if (processEvents)
            processEvents();
        const quint32 now = ticks.GetTickCount();
        if (elapsedTicks(start, now) < 0)
            start = ticks.GetTickCount();
        const qint32 elapsed = elapsedTicks(start, ticks.GetTickCount());
        if (elapsed >= ms)
            return;
    }
}

DownloadResult download(MSComm &comm, TickCounter &ticks, const Target &target,
                        const SettingsImage &image)
{
    DownloadResult result;
    if (!open(comm, target, &result.message))
        return result;

    if (comm.inBufferCount() != 0)
        comm.input(); // stale bytes of an earlier exchange

    QByteArray bytes;
    bytes.reserve(DownloadLength);
    bytes.append(static_cast<char>(Escape));
    bytes.append(static_cast<char>(DownloadCommand));
    bytes.append(static_cast<char>(LeadByte));
    bytes.append(image.configBytes());

    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const SendStatus status = SendByte(comm, ticks, static_cast<quint8>(bytes[k]));
        if (status != SendStatus::Sent) {
            const QString reason = sendFailureReason(comm, status);
            comm.setPortOpen(false);
            result.message = QStringLiteral("The download to %1 stopped after %2 of %3 bytes and "
                                            "the port was closed: %4.")
                                 .arg(target.port.shownText)
                                 .arg(k)
                                 .arg(DownloadLength)
                                 .arg(reason);
            return result;
        }
    }

    // The bytes count as sent once the system has taken them; they reach
    // the display only when they have left the port.
    const QString drainReason =
        drainFailure(comm, ticks, LineSettings::parse(target.settings).value_or(LineSettings()));
    if (!drainReason.isEmpty()) {
        comm.setPortOpen(false);
        result.message = QStringLiteral("The download to %1 failed while its last bytes were on "
                                        "their way, and the port was closed: %2.")
                             .arg(target.port.shownText, drainReason);
        return result;
    }

    // Whatever the display said meanwhile is not examined.
    if (comm.inBufferCount() != 0)
        comm.input();
    comm.setPortOpen(false);
    result.ok = true;
    return result;
}

UploadResult upload(MSComm &comm, TickCounter &ticks, const Target &target)
{
    UploadResult result;
    if (!open(comm, target, &result.message)) {
        result.status = UploadResult::Status::Refused;
        return result;
    }

    // Bytes that came before the request are no part of the reply: a stray
    // 0xAA among them would shift the whole image by one.
    if (comm.inBufferCount() != 0)
        comm.input();

    for (const quint8 byte : {Escape, UploadCommand}) {
        const SendStatus status = SendByte(comm, ticks, byte);
        if (status != SendStatus::Sent)
            return linkError(comm, target, sendFailureReason(comm, status));
    }

    waitForInput(comm, ticks, 1, FirstByteWaitMs);
    if (comm.hasFault())
        return linkError(comm, target, sendFailureReason(comm, SendStatus::DeviceError));
    if (comm.inBufferCount() == 0) {
        comm.setPortOpen(false);
        result.status = UploadResult::Status::NoAnswer;
        result.message = noAnswerMessage(target.port.shownText);
        return result;
    }

    waitForInput(comm, ticks, ReplyLength, ReplyWaitMs);
    if (comm.hasFault())
        return linkError(comm, target, sendFailureReason(comm, SendStatus::DeviceError));
    const QByteArray reply = comm.input();
    comm.setPortOpen(false);

    // Bytes beyond the reply are read with it and dropped.
    result.received = static_cast<int>(reply.size());
    const int used = qMin(result.received, ReplyLength);
    for (int j = 0; j < used; ++j)
        result.reply.set(j, static_cast<quint8>(reply[j]));

    if (used > 0 && result.reply.at(ImageLayout::ReplyLead) != LeadByte) {
        result.status = UploadResult::Status::CheckBitError;
        result.message = checkBitErrorMessage();
        return result;
    }
    if (result.received < ReplyLength) {
        result.status = UploadResult::Status::ShortReply;
        result.message = QStringLiteral("Incomplete reply from the display: %1 of %2 bytes came. "
                                        "Nothing was changed.")
                             .arg(result.received)
                             .arg(ReplyLength);
        return result;
    }
    result.status = UploadResult::Status::Ok;
    result.message = uploadOkMessage();
    return result;
}

QString downloadOkMessage()
{
    return QStringLiteral("Download O.K ! Please restart !");
}

QString uploadOkMessage()
{
    return QStringLiteral("Upload O.K!");
}

QString noAnswerMessage(const QString &shownPort)
{
    return shownPort + QStringLiteral(" can't be open !!");
}

QString checkBitErrorMessage()
{
    return QStringLiteral("Receive Check bit Error !!");
}

} // namespace Transfer
