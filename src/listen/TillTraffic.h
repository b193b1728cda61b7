#pragma once

#include <QByteArray>
#include <QString>

// The bytes a till commonly sends a customer display in a command set, as
// public guides and tills seen show them: a start-up, then one sale after
// another (an item with its price, then the total). For the simulated till,
// the recognition tests and the benchmark.
namespace TillTraffic {

// Whether a till is seen to speak the set at all: KS310 and DSP800 have no
// public description, so nothing is sent in them.
bool speaks(int commandSet);

QByteArray startUp(int commandSet);

// Sale number `n`: its two rows of 20 characters, in the set's bytes.
QByteArray sale(int commandSet, int n);

// The two rows sale `n` shows.
QString saleRow(int n, int row);

// startUp() and `sales` sales.
QByteArray session(int commandSet, int sales);

} // namespace TillTraffic
