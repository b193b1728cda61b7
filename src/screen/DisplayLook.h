#pragma once

#include <QByteArrayView>

#include "commandsets/CommandSet.h"

// How the display shows its cells, beyond their codes: brightness, the
// cursor and whole-screen blinking, as a till's commands set them. The
// glass draws it; the cells themselves stay in Screen.
struct DisplayLook
{
    enum class Blink : quint8 {
        Steady,
        Blinking, // on and off, `blinkMilliseconds` each
        Blanked,  // nothing shows until blinking is set again
    };

    int brightness = 100; // percent
    // Whether the cursor shows at power-on is not settled: it shows once a
    // command says so.
    bool cursorShown = false;
    Blink blink = Blink::Steady;
    int blinkMilliseconds = 0;

    // Carries out a command of one of the look's effects; returns false
    // (and changes nothing) for a parameter whose meaning is not described.
    // Any other effect leaves the look as it is.
    bool apply(CommandSets::Effect effect, QByteArrayView parameters);

    bool operator==(const DisplayLook &other) const = default;
};
