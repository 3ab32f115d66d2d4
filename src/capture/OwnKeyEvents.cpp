#include "capture/OwnKeyEvents.h"

#include <algorithm>

namespace tavro {

namespace {

constexpr std::uint32_t kAnyKey = 0xFFFFFFFF;
// How far ahead a key-down is looked for among the sent ones; further than
// this, it is the user's key typed in between.
constexpr std::ptrdiff_t kLookAhead = 8;
constexpr int kIdleTicksBeforeLost = 2;

}  // namespace

void OwnKeyEvents::ExpectKeyDown(std::uint32_t keyCode) {
    pending_.push_back(keyCode);
    activeSinceTick_ = true;
}

void OwnKeyEvents::ExpectAnyKeyDown() {
    ExpectKeyDown(kAnyKey);
}

bool OwnKeyEvents::TakeOwnKeyDown(std::uint32_t keyCode) {
    const auto window = std::min<std::ptrdiff_t>(kLookAhead, std::ssize(pending_));
    const auto end = pending_.begin() + window;
    const auto found = std::find_if(pending_.begin(), end, [keyCode](std::uint32_t pending) {
        return pending == keyCode || pending == kAnyKey;
    });
    if (found == end) {
        return false;
    }
    pending_.erase(pending_.begin(), found + 1);
    activeSinceTick_ = true;
    return true;
}

void OwnKeyEvents::OnTimerTick() {
    if (pending_.empty()) {
        idleTicks_ = 0;
        return;
    }
    idleTicks_ = activeSinceTick_ ? 0 : idleTicks_ + 1;
    activeSinceTick_ = false;
    if (idleTicks_ >= kIdleTicksBeforeLost) {
        pending_.clear();
        idleTicks_ = 0;
    }
}

}  // namespace tavro
