#pragma once

#include <QString>

#include "link/Transfer.h"
#include "model/Result.h"

// What to do next, after a transfer: the sentences that turn a failure, or
// a download that could not be confirmed, into a step the user can take.
// Messages.cpp calls these for its failures; the window and tq540ctl call
// them for a download's read-back.
namespace NextSteps {

// Who reads the sentence: the window points at its pages and buttons,
// tq540ctl at its options.
enum class Audience { Window, CommandLine };

// The other entry of "Buad Rate" for a link's settings ("9600,n,8,1" gives
// "19200,n,8,1"); empty when the settings are no entry.
QString otherSpeed(const QString &settings);

// After a display gave no answer at `settings`: the other speed, Find VFD,
// power and cable.
QString afterNoAnswer(const QString &settings);

// After a reply at `settings` that was no settings reply (a wrong lead
// byte, too few bytes): the speed, Find VFD, the cable.
QString afterWrongReply(const QString &settings);

// A Windows name ("COM3", "com12") on a system that has none: what it is
// called here, or where to pick a port. Empty for any other name and on
// Windows.
QString forWindowsName(const QString &device);

// A port the user may not open (Reason::PermissionDenied): who may, and
// what to do about it. The error's detail is the group that may use the
// device, empty when none may; its system text names the owner.
QString forPermission(const Error &error);

// A download that stopped before all its bytes had reached the display
// (Stage::Downloading or Stage::Draining): how many went, and that the
// display may hold part of the image.
QString cutShort(const Error &error);

// The line under "Download O.K ! Please restart !" after the read-back:
// checked, not checked and why with what to try, or how many fields the
// display holds otherwise and where to see them. Empty when skipped.
QString readBack(const Transfer::DownloadCheck &check, const QString &settings, Audience audience);

// The window's message after the download's bytes left: its own first
// line, the read-back's line, and a note about a drawing left out.
QString downloadReport(const Transfer::DownloadCheck &check, const QString &settings,
                       const QString &omitted);

// A drawing on the character page that differs from the record it stands
// on and so was not part of a download or save ("download" or "save").
QString omittedDrawing(int character, bool isDownload);

} // namespace NextSteps
