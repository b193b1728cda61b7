#pragma once

#include <optional>

#include <QStringList>

// tq540sim's other roles: a till that writes typical sales in a command set
// (--till), and the virtual display played from a capture (--replay).
namespace Till {

// When `arguments` ask for --till or --replay, does it and returns the exit
// status; nothing otherwise, and the simulator plays a display.
std::optional<int> runIfAsked(const QStringList &arguments);

} // namespace Till
