#pragma once

#include <QString>

#include "model/Result.h"

// Every text the user reads about a transfer or a settings file, made from
// the typed Error that the link and the files return. The window and
// tq540ctl both show these.
namespace Messages {

// The window's own texts.
QString downloadOk();        // "Download O.K ! Please restart !"
QString uploadOk();          // "Upload O.K!"
QString refusedName();       // "KS310.vfd can't be saved"
QString loadQuestion();      // "Are you sure to Load ?"
QString loadQuestionTitle(); // "Load File"
QString loadError();         // "Error"

// What failed, as a sentence: a transfer as the window and tq540ctl report
// it ("Com 3 can't be open !!", "Com 2 can't be used: ..."), a save as the
// window reports it, a file as tq540ctl reports it ("<path>: <why>").
QString sentence(const Error &error);

// Why, as a clause: what follows "<port> can't be used: " or "<file>: ".
QString reason(const Error &error);

// A settings file that tq540ctl cannot use, as it reports it; a refused
// name says why it is refused.
QString fileFailure(const Error &error);

// A text the user typed, in quotes for a message; a long one is cut short,
// so that a pasted page cannot flood the message box, and control
// characters show as \xNN, so that none can steer a terminal or break a
// line.
QString quoted(const QString &text);

// A name the user gave (a port, a file's path), as quoted() shows it but
// without quotes and cut only when much longer.
QString shown(const QString &text);

} // namespace Messages
