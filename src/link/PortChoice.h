#pragma once

#include <QString>
#include <QStringList>

// Which port a transfer opens, as read from the Comm box when it starts.
struct PortChoice
{
    int number = 0;     // 1..8 for an entry of the list, 0 for none
    QString deviceName; // a typed device name, when no entry is selected
    QString shownText;  // the box's text, for messages

    // An entry of the list gives its number; any other text means that no
    // entry is selected, and a non-empty one is itself the device to open.
    static PortChoice fromComboText(const QStringList &entries, const QString &text);
};

// The system's device for port number k (1-based): "COMk" on Windows,
// "/dev/ttyS<k-1>" on Linux; empty where the system has no numbered ports.
QString systemPortName(int number);
