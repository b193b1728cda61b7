#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Which port a transfer opens, as read from the Comm box when it starts.
// The one place that maps a chosen port to the device the system opens.
struct PortChoice
{
    int number = 0;     // 1..8 for an entry of the list, 0 for none
    QString deviceName; // a typed device name, when no entry is selected
    QString shownText;  // the box's text, for messages

    // An entry of the list gives its number; any other text means that no
    // entry is selected, and a non-empty one is itself the device to open.
    static PortChoice fromComboText(const QStringList &entries, const QString &text);

    // Whether a port was chosen at all: an entry, or a typed name.
    bool isChosen() const { return number != 0 || !deviceName.isEmpty(); }
    // The device to open: the typed name, else the system's device for the
    // number; empty when there is neither.
    QString device() const;
    // What device() opens, as one text for every way to name it: where the
    // device exists on Unix its device number (a bind mount, a link or a
    // second node of it give the same), else the path the serial layer makes
    // of a bare name ("pts/3" is /dev/pts/3), links resolved. Two choices
    // with the same key open the same port. Empty when no port was chosen.
    QString deviceKey() const;
    // The path device() opens, links resolved ("/dev/pts/3" for a link to
    // it), for people and reports; on Windows the port's name. Empty when no
    // port was chosen.
    QString devicePath() const;
};

// The path the serial layer opens for a device name: on Unix a bare name
// ("ttyUSB0", "pts/3") lies in /dev; elsewhere the name itself.
QString systemLocation(const QString &device);

// The system's device for port number k (1-based): "COMk" on Windows,
// "/dev/ttyS<k-1>" on Linux; empty where the system has no numbered ports.
QString systemPortName(int number);

// The number (1..count) whose system device is `device`, 0 for none.
int portNumberOf(QStringView device, int count);
