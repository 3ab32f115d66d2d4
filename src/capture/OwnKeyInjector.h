#pragma once

#include "platform/KeyInjector.h"

namespace tavro {

class OwnKeyEvents;

// Sends key events through the platform and notes every key-down it sends,
// so that the capture knows them when they come back.
class OwnKeyInjector final : public KeyInjector {
  public:
    OwnKeyInjector(KeyInjector& platform, OwnKeyEvents& ownKeys);

    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void TypeCharacter(char32_t codePoint) override;

  private:
    KeyInjector& platform_;
    OwnKeyEvents& ownKeys_;
};

}  // namespace tavro
