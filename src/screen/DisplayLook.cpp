#include "screen/DisplayLook.h"

#include <optional>

using CommandSets::Effect;

namespace {

// Levels 1..4: guides give 20, 40, 60 and 100 %.
constexpr int LevelPercent[] = {20, 40, 60, 100};

// 04 n: only these four values are described.
std::optional<int> percentOf(quint8 value)
{
    switch (value) {
    case 0x20:
        return 20;
    case 0x40:
        return 40;
    case 0x60:
        return 60;
    case 0xFF:
        return 100;
    default:
        return std::nullopt;
    }
}

constexpr quint8 BlinkStops = 0;
constexpr quint8 BlinkBlanks = 255;
constexpr int BlinkStepMilliseconds = 50;

} // namespace

bool DisplayLook::apply(Effect effect, QByteArrayView parameters)
{
    const auto parameter = [&parameters] { return quint8(parameters.at(0)); };
    switch (effect) {
    case Effect::BrightnessLevel:
        brightness = LevelPercent[parameter() - 1];
        return true;
    case Effect::BrightnessPercent:
        if (const std::optional<int> percent = percentOf(parameter())) {
            brightness = *percent;
            return true;
        }
        return false;
    case Effect::CursorShown:
        cursorShown = parameter() == 1;
        return true;
    case Effect::CursorOn:
    case Effect::CursorOff:
        cursorShown = effect == Effect::CursorOn;
        return true;
    case Effect::BlinkScreen:
        blink = parameter() == BlinkStops    ? Blink::Steady
                : parameter() == BlinkBlanks ? Blink::Blanked
                                             : Blink::Blinking;
        blinkMilliseconds = blink == Blink::Blinking ? parameter() * BlinkStepMilliseconds : 0;
        return true;
    case Effect::Initialise:
    case Effect::Reset:
        *this = DisplayLook();
        return true;
    default:
        return true; // not the look's
    }
}
