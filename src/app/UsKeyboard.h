// Shortcut keys by position: a key's scan code read through the US layout, so that "x", "[", "]"
// and "\" work the same under any keyboard layout (Cyrillic, Greek, AZERTY...).
#pragma once

#include <cstdint>

class QKeyEvent;

namespace pimavo {

// The character the key produces on the US layout without modifiers, or 0 when it cannot be told
// (no scan code, or no keyboard description installed).
char32_t usCharacterForScanCode(uint32_t scanCode);
// The same for a key event, falling back to the event's own text when it has no scan code.
char32_t usCharacterForKey(const QKeyEvent* event);

} // namespace pimavo
