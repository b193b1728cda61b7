#pragma once

#include <QString>

#include "listen/Listener.h"
#include "listen/Recognition.h"

// What listening to a till tells the user, for the window and tq540ctl.
namespace ListenMessages {

// A set's name as the list shows it, without " (Default)".
QString setName(int commandSet);

// The outcome in one or two sentences: the set named, the two candidates,
// or that none fits. Not for NothingHeard (see nothingArrived).
QString verdict(const Recognition &recognition);

// One line of the ranking: the set, the share of bytes it reads and the
// bytes of its own commands.
QString fitLine(const SetFit &fit, qsizetype total);

// "nothing arrived in N s at S: is the till sending, and is the cable the display's?"
QString nothingArrived(int seconds, const QString &settings);

// Why a listen ended early, or empty when its time was simply up.
QString ending(Listener::End end, qsizetype bytes, const Error &lineError);

// While listening: "312 bytes heard, 7 s left".
QString progress(qsizetype bytes, qint32 msLeft);

// After the set heard and its speed were taken for the display: when it
// listens at `displaySpeed`.
QString newSpeedNote(const QString &displaySpeed);

// After listening at both speeds: where the bytes made sense, if anywhere.
QString speedVerdict(int baud); // 0: at neither

} // namespace ListenMessages
