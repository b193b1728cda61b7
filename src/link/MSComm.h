#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "model/Result.h"

// The serial component through which the transfers reach the display. It is
// used through these few properties only; everything else keeps its initial
// configuration (no flow control, raw bytes). A seam: tests replace it.
class MSComm
{
public:
    virtual ~MSComm() = default;

    // CommPort: port number k (1..8) opens the system's k-th serial port
    // ("COMk", "/dev/ttyS<k-1>"); 0 means no port was chosen.
    virtual void setCommPort(int number) = 0;

    // A typed device name ("/dev/ttyUSB0", "COM12"). When not empty it is
    // opened instead of the numbered port.
    virtual void setPortName(const QString &device) = 0;

    // Settings: "9600,n,8,1". Returns false, with error(), when the text
    // is refused.
    virtual bool setSettings(const QString &settings) = 0;

    // PortOpen. Opening returns false, with error(), when refused.
    virtual bool setPortOpen(bool open) = 0;
    virtual bool isPortOpen() const = 0;

    // Output: queues the bytes for transmission.
    virtual bool setOutput(QByteArrayView bytes) = 0;

    // Bytes queued and not yet handed to the line; bytes received and not yet
    // read. Reading them refreshes the component's view of the device.
    virtual int outBufferCount() = 0;
    virtual int inBufferCount() = 0;

    // Bytes the system has taken from the output buffer and not yet put on
    // the line (its driver's queue); -1 when the system cannot tell. Asking
    // may find the line lost.
    virtual int lineQueueCount() = 0;

    // Input: every byte received and not yet read, oldest first.
    virtual QByteArray input() = 0;

    // Whether the device reported an error since it was opened (an adapter
    // pulled out, say), and why the last request failed.
    virtual bool hasFault() const = 0;
    virtual Error error() const = 0;
};

// The contract, which every component keeps:
// - closed, it takes no output, hands out no input and every count reads 0;
//   bytes that reach the line before it opens are read after opening;
// - opening clears an earlier fault; after a fault it takes no output;
// - a settings text that does not parse is refused (SettingsInvalid);
// - a line that goes away while open is a fault (LineLost).
