#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "link/LineSettings.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"
#include "link/Protocol.h"
#include "link/TickCounter.h"
#include "model/ImageCodec.h"
#include "model/Result.h"
#include "model/SettingsImage.h"

namespace Transfer {

// How long SendByte waits for the output buffer to drain before giving up.
inline constexpr qint32 SendTimeoutMs = 2000;
// Upload waits: for the first reply byte, then for the whole reply.
inline constexpr qint32 FirstByteWaitMs = 2000;
inline constexpr qint32 ReplyWaitMs = 3000;
// After a download's last byte the line is watched while the bytes still
// queued go out, and this much longer: a UART's or an adapter's own buffer
// is seen by no request.
inline constexpr qint32 DrainMarginMs = 100;
// The pause after a download, while the display takes its new settings.
inline constexpr qint32 ClosingPauseMs = 1000;

// Queues one byte and returns once the output buffer reads empty; gives up
// after SendTimeoutMs (SendTimedOut) or when the device reports an error.
Result<void> SendByte(MSComm &comm, TickCounter &ticks, quint8 byte);

// Polls the receive count until `enough` bytes wait, `limitMs` has passed
// since the start, or the device fails.
void waitForInput(MSComm &comm, TickCounter &ticks, int enough, qint32 limitMs);

// Waits at least `ms` milliseconds, letting `processEvents` run on every pass.
void Delay(TickCounter &ticks, qint32 ms, const std::function<void()> &processEvents);

// What a transfer reads from the window when it starts.
struct Target
{
    PortChoice port;
    QString settings; // the text of Baud, unchanged
};

// Opens the port, discards stale input, sends 0x1B 0xEF 0xAA and bytes
// 1..126 of the image, waits until they have left the port (a line lost
// meanwhile fails the download), and closes the port on every outcome.
Result<void> download(MSComm &comm, TickCounter &ticks, const Target &target,
                      const SettingsImage &image);

// Any other bytes for the display in normal operation (a test screen), sent
// as a download sends its own: byte by byte, watched until they have left
// the port, the port closed on every outcome.
Result<void> write(MSComm &comm, TickCounter &ticks, const Target &target, QByteArrayView bytes);

// Whether a download asks the display, before the port closes, what it now
// holds. The display has no acknowledgement; the upload's request, which
// changes nothing, is the only way to know.
enum class ReadBack { Ask, Skip };

// What the read-back after a download found. Only Checked confirms the
// download; every other kind but Skipped says why it could not.
struct DownloadCheck
{
    enum class Kind {
        Checked,    // the display holds every byte that was sent
        Skipped,    // nobody asked
        NoAnswer,   // no reply at the link's settings: error
        WrongReply, // a wrong lead byte or a short reply: error
        LinkFailed, // the line failed during the read-back: error
        Differs,    // the display holds something else: differing
    };
    Kind kind = Kind::Skipped;
    Error error{};
    QList<ImageCodec::FieldRef> differing{}; // the fields, in the order of ImageCodec::Fields

    bool confirmed() const { return kind == Kind::Checked; }
};

// "Download Setting To VFD" whole: the download, then (unless told to skip
// it) the read-back on the still open port, compared field by field with
// the image sent; then the port closes and, when the bytes left, the
// closing pause runs while the display takes its new settings.
// `whilePausing` runs on every pass of the pause, the first time as the
// pause begins: the window handles its events there, a thread of its own
// sleeps a little. An Error only when the download itself failed; a
// read-back that fails is a DownloadCheck saying so.
Result<DownloadCheck> downloadCheckThenPause(MSComm &comm, TickCounter &ticks, const Target &target,
                                             const SettingsImage &image, ReadBack readBack,
                                             const std::function<void()> &whilePausing);

// Discards stale input, sends 0x1B 0xEE and receives 0xAA plus 126 bytes
// into a buffer of its own; the caller's image is never touched. Gives the
// 127 bytes, the lead byte at index 0. Closes the port on every outcome.
Result<SettingsImage> upload(MSComm &comm, TickCounter &ticks, const Target &target);

} // namespace Transfer
