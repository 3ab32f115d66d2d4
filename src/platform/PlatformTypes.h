#pragma once

#include <array>
#include <cstdint>

namespace tavro {

// A top-level window of the desktop; 0 is no window.
using WindowHandle = std::uint32_t;
// The thread (or client) that owns a window.
using ThreadId = std::uint32_t;
using KeyboardLayoutHandle = std::uintptr_t;
// One byte per virtual key, high bit = down, low bit = toggled.
using KeyboardState = std::array<std::uint8_t, 256>;

}  // namespace tavro
