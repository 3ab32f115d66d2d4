#include "capture/OwnKeyInjector.h"

#include "capture/OwnKeyEvents.h"

namespace tavro {

OwnKeyInjector::OwnKeyInjector(KeyInjector& platform, OwnKeyEvents& ownKeys)
    : platform_(platform), ownKeys_(ownKeys) {}

void OwnKeyInjector::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode,
                                 std::uint32_t flags, std::uintptr_t extraInfo) {
    // Noted before sending: a platform may report the event back at once.
    if ((flags & kKeyEventKeyUp) == 0) {
        ownKeys_.ExpectKeyDown(virtualKey);
    }
    platform_.keybd_event(virtualKey, scanCode, flags, extraInfo);
}

void OwnKeyInjector::TypeCharacter(char32_t codePoint) {
    ownKeys_.ExpectAnyKeyDown();
    platform_.TypeCharacter(codePoint);
}

}  // namespace tavro
