#pragma once

#include <QByteArray>
#include <QString>

#include "link/Protocol.h"
#include "model/SettingsImage.h"
#include "screen/ScreenInterpreter.h"

// The TQ-540's side of the two exchanges, byte by byte: 0x1B 0xEF 0xAA and
// 126 bytes store a new image; 0x1B 0xEE asks for 0xAA and the image. The
// reply can be made wrong on purpose, to test how the utility copes.
//
// Every other byte is what a point-of-sale program sends in normal
// operation: it goes, in order, to the screen, read in the command set the
// image holds (byte 6). An ESC that does not start an exchange goes there
// too, with the byte after it: several sets begin their commands with ESC.
class DisplaySimulator
{
public:
    struct Options
    {
        quint8 lead = Protocol::LeadByte; // lead byte of the reply
        int replyLength = -1;             // send only this many reply bytes (-1: all 127)
        int extraBytes = 0;               // junk after the reply
        bool noAnswer = false;            // ignore upload requests
        bool keepImage = false;           // take downloads but keep the old image
    };

    enum class Event {
        None,
        Downloaded,      // a whole image came and is now kept
        UploadRequested, // 0x1B 0xEE: answer with uploadReply()
        BadLead,         // 0x1B 0xEF not followed by 0xAA: the download is dropped
        Kept,            // a whole image came and was dropped (keepImage)
        CutShort,        // an image exchange went quiet before its end and was dropped
    };

    // How long the line may be quiet in the middle of an image exchange
    // before the display gives it up: the 129 bytes come back to back.
    static constexpr int ExchangeQuietMs = 500;

    static constexpr quint8 ExtraByte = 0x5A;

    DisplaySimulator() = default;
    explicit DisplaySimulator(const Options &options) : m_options(options) {}

    const SettingsImage &image() const { return m_image; }
    // Also switches the screen to the image's command set.
    void setImage(const SettingsImage &image);

    const ScreenInterpreter &screen() const { return m_screen; }
    ScreenInterpreter::Unknown takeUnknown() { return m_screen.takeUnknown(); }

    // One byte from the line.
    Event feed(quint8 byte);
    // The line has been quiet for `ms` since the last byte. An image
    // exchange quiet for ExchangeQuietMs ends (CutShort): what follows is
    // screen data again, not the rest of an image.
    Event lineQuiet(int ms);
    // How many bytes of an image exchange came so far (0 outside one).
    int exchangeBytes() const;

    // The answer to an upload request, shaped by the options.
    QByteArray uploadReply() const;

    // A hex dump of bytes 1..126 with the settings, the messages (through
    // the code page, as tq540ctl show prints them) and the characters decoded.
    QString describe() const;

private:
    enum class State { Idle, Escape, Lead, Image };

    Options m_options;
    void show(QByteArrayView bytes) { m_screen.feed(bytes); }

    SettingsImage m_image;
    ScreenInterpreter m_screen{m_image.at(ImageLayout::CommandSet)};
    State m_state = State::Idle;
    QByteArray m_incoming;
};
