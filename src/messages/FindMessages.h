#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "check/FindResult.h"

// What a search for displays found, in words: the window's Find VFD list and
// tq540ctl find.
namespace FindMessages {

// "answered", "cannot open", "no answer", "not a display", "stopped"; the
// words scripts and the JSON output read.
QString outcomeName(FindResult::Outcome outcome);

// With Answered, what the display is set to, in one line: "command set
// EPSON (Default), character set USA/Eurpope  (Default), display baud
// 9600,n,8,1"; empty otherwise.
QString summary(const FindResult &result);

// Why a port gave no display, as a clause: "no answer at 9600 or 19200".
QString reason(const FindResult &result);

// The clause for the finder's own errors (NotADisplay, Stopped).
QString clause(const Error &error);

// Find VFD's list: the displays found first, then the ports that could not
// be used or gave no display, then one line for the ports that do not exist.
// Row k is result k of `ordered` (see order()) up to that last line.
QStringList listRows(const QList<FindResult> &ordered);

// The results in the list's order; results of one rank keep their order.
QList<FindResult> order(QList<FindResult> results);

} // namespace FindMessages
