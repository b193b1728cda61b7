#pragma once

#include <QString>

#include "commandsets/TestScreen.h"
#include "model/ImageCodec.h"

// What the VFD Check page and tq540ctl test say: why a test screen cannot
// be written, what differs between the window and the display, the speed.
namespace CheckMessages {

// One clause, e.g. "no public description of the KS310 command set".
QString testScreenRefusal(const TestScreen::Problem &problem);

// "TQ-540 TEST: EPSON"; "TQ-540 LogicControl" where the longer form would
// not fit a row.
QString defaultTestLine1(int set);

// A field that differs, in the window's words, window first:
// "Command Mode: EPSON (Default) / display: CD5220",
// "Welcome Msg 1, cell 3: 41 / 42", "User Defined Character 2".
QString difference(const ImageCodec::FieldRef &ref, const ImageCodec::Fields &window,
                   const ImageCodec::Fields &display);

// The line above the differences: "The display differs in 2 fields:", or
// that it holds exactly the window's settings.
QString comparisonHeading(int differences);

// The display will listen at `displaySpeed` while "Buad Rate" reads `link`.
QString speedNote(const QString &displaySpeed, const QString &link);

} // namespace CheckMessages
