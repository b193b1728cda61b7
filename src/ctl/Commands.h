#pragma once

#include <QStringList>

// The commands of tq540ctl. Each takes its arguments with its own name
// first and returns the exit status; failures are thrown as Cli::Failure.
namespace Commands {

int ports(const QStringList &arguments);
int show(const QStringList &arguments);
int create(const QStringList &arguments); // "new"
int edit(const QStringList &arguments);
int download(const QStringList &arguments);
int upload(const QStringList &arguments);
int diff(const QStringList &arguments);
int test(const QStringList &arguments);
int find(const QStringList &arguments);
int listen(const QStringList &arguments);

} // namespace Commands
