#pragma once

#include "platform/fake/CallLog.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeKeyboard.h"
#include "platform/fake/FakeWindows.h"

namespace tavro::fake {

// The whole fake platform, recording into one log so that tests see key
// events, window calls and clipboard changes in the order they happened.
struct FakePlatform {
    CallLog log;
    FakeKeyboard keyboard{log};
    FakeWindows windows{log};
    FakeDesktop desktop{log};
};

}  // namespace tavro::fake
