#include "platform/x11/VirtualKeyCodes.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <string_view>

namespace tavro::x11 {

namespace {

constexpr unsigned int kEvdevOffset = 8;
// Linux input codes 1 (Esc) to 83 (keypad .) are the set-1 scan codes.
constexpr unsigned int kLastPlainInputCode = 83;
constexpr unsigned int kNumLockInputCode = 69;

struct InputCodeKey {
    unsigned int inputCode;
    PcKey key;
};

constexpr InputCodeKey kOtherInputCodes[] = {
    {86, {0x56, false}}, {87, {0x57, false}},  {88, {0x58, false}},  {96, {0x1C, true}},
    {97, {0x1D, true}},  {98, {0x35, true}},   {99, {0x37, true}},   {100, {0x38, true}},
    {102, {0x47, true}}, {103, {0x48, true}},  {104, {0x49, true}},  {105, {0x4B, true}},
    {106, {0x4D, true}}, {107, {0x4F, true}},  {108, {0x50, true}},  {109, {0x51, true}},
    {110, {0x52, true}}, {111, {0x53, true}},  {113, {0x20, true}},  {114, {0x2E, true}},
    {115, {0x30, true}}, {117, {0x59, false}}, {119, {0x45, false}}, {125, {0x5B, true}},
    {126, {0x5C, true}}, {127, {0x5D, true}},  {163, {0x19, true}},  {164, {0x22, true}},
    {165, {0x10, true}}, {166, {0x24, true}},
};

struct NamedKeysym {
    unsigned long keysym;
    std::uint8_t virtualKey;
};

constexpr NamedKeysym kNamedKeysyms[] = {
    {XK_BackSpace, 0x08},
    {XK_Tab, 0x09},
    {XK_ISO_Left_Tab, 0x09},
    {XK_Clear, 0x0C},
    {XK_Return, 0x0D},
    {XK_Pause, 0x13},
    {XK_Scroll_Lock, 0x91},
    {XK_Sys_Req, 0x2C},
    {XK_Escape, 0x1B},
    {XK_Delete, 0x2E},
    {XK_Home, 0x24},
    {XK_Left, 0x25},
    {XK_Up, 0x26},
    {XK_Right, 0x27},
    {XK_Down, 0x28},
    {XK_Prior, 0x21},
    {XK_Next, 0x22},
    {XK_End, 0x23},
    {XK_Begin, 0x0C},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_Menu, 0x5D},
    {XK_Num_Lock, kVirtualKeyNumLock},
    {XK_KP_Enter, 0x0D},
    {XK_KP_Home, 0x24},
    {XK_KP_Left, 0x25},
    {XK_KP_Up, 0x26},
    {XK_KP_Right, 0x27},
    {XK_KP_Down, 0x28},
    {XK_KP_Prior, 0x21},
    {XK_KP_Next, 0x22},
    {XK_KP_End, 0x23},
    {XK_KP_Begin, 0x0C},
    {XK_KP_Insert, 0x2D},
    {XK_KP_Delete, 0x2E},
    {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E},
    {XK_KP_Divide, 0x6F},
    {XK_Shift_L, 0x10},
    {XK_Shift_R, 0x10},
    {XK_Control_L, 0x11},
    {XK_Control_R, 0x11},
    {XK_Caps_Lock, kVirtualKeyCapsLock},
    {XK_Shift_Lock, kVirtualKeyCapsLock},
    {XK_Meta_L, kVirtualKeyAlt},
    {XK_Meta_R, kVirtualKeyAlt},
    {XK_Alt_L, kVirtualKeyAlt},
    {XK_Alt_R, kVirtualKeyAlt},
    // AltGr: Windows reports the right Alt key.
    {XK_ISO_Level3_Shift, kVirtualKeyAlt},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_space, 0x20},
    {XF86XK_AudioMute, 0xAD},
    {XF86XK_AudioLowerVolume, 0xAE},
    {XF86XK_AudioRaiseVolume, 0xAF},
    {XF86XK_AudioNext, 0xB0},
    {XF86XK_AudioPrev, 0xB1},
    {XF86XK_AudioStop, 0xB2},
    {XF86XK_AudioPlay, 0xB3},
};

// The rows of a US keyboard's main block: the scan code of the first key,
// then the characters of the keys without and with Shift.
struct UsKeyRow {
    std::uint8_t firstScanCode;
    std::string_view plain;
    std::string_view shifted;
};

constexpr UsKeyRow kUsKeyRows[] = {
    {0x02, "1234567890-=", "!@#$%^&*()_+"},
    {0x10, "qwertyuiop[]", "QWERTYUIOP{}"},
    {0x1E, "asdfghjkl;'`", "ASDFGHJKL:\"~"},
    {0x2B, "\\zxcvbnm,./", "|ZXCVBNM<>?"},
};

// The key beside the left Shift of 102-key keyboards.
constexpr std::uint8_t kScanCodeOem102 = 0x56;
constexpr std::uint8_t kVirtualKeyOem102 = 0xE2;

struct OemKey {
    char character;
    std::uint8_t virtualKey;
};

constexpr OemKey kUsOemKeys[] = {
    {';', 0xBA}, {'=', 0xBB}, {',', 0xBC},  {'-', 0xBD}, {'.', 0xBE},  {'/', 0xBF},
    {'`', 0xC0}, {'[', 0xDB}, {'\\', 0xDC}, {']', 0xDD}, {'\'', 0xDE},
};

// Keys that type control characters, and the space bar.
constexpr std::string_view kUnshiftedControlKeys = "\b\t\r\x1b ";

std::uint8_t VirtualKeyOfUsCharacter(char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<std::uint8_t>(c - 'a' + 'A');
    }
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c);
    }
    for (const OemKey& key : kUsOemKeys) {
        if (key.character == c) {
            return key.virtualKey;
        }
    }
    return 0;
}

}  // namespace

PcKey PcKeyOfKeycode(unsigned int keycode) {
    const unsigned int inputCode = keycode - kEvdevOffset;
    if (keycode >= kEvdevOffset && inputCode >= 1 && inputCode <= kLastPlainInputCode) {
        return {static_cast<std::uint8_t>(inputCode), inputCode == kNumLockInputCode};
    }
    for (const InputCodeKey& entry : kOtherInputCodes) {
        if (entry.inputCode == inputCode) {
            return entry.key;
        }
    }
    return {};
}

std::uint8_t VirtualKeyOfKeysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) {
        return static_cast<std::uint8_t>(keysym - XK_a + 'A');
    }
    if (keysym >= XK_A && keysym <= XK_Z) {
        return static_cast<std::uint8_t>(keysym);
    }
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        return static_cast<std::uint8_t>(0x60 + (keysym - XK_KP_0));
    }
    if (keysym >= XK_F1 && keysym <= XK_F24) {
        return static_cast<std::uint8_t>(0x70 + (keysym - XK_F1));
    }
    for (const NamedKeysym& entry : kNamedKeysyms) {
        if (entry.keysym == keysym) {
            return entry.virtualKey;
        }
    }
    if (keysym < 0x80 && !(keysym >= XK_0 && keysym <= XK_9)) {
        return VirtualKeyOfUsCharacter(static_cast<char>(keysym));
    }
    return 0;
}

std::uint8_t VirtualKeyOfPlace(std::uint8_t scanCode) {
    if (scanCode == kScanCodeOem102) {
        return kVirtualKeyOem102;
    }
    for (const UsKeyRow& row : kUsKeyRows) {
        if (scanCode >= row.firstScanCode && scanCode < row.firstScanCode + row.plain.size()) {
            return VirtualKeyOfUsCharacter(row.plain[scanCode - row.firstScanCode]);
        }
    }
    return kNoVirtualKey;
}

std::optional<bool> UsKeyboardNeedsShift(char32_t c) {
    if (c >= 0x80) {
        return std::nullopt;
    }
    const char ascii = static_cast<char>(c);
    if (kUnshiftedControlKeys.find(ascii) != std::string_view::npos) {
        return false;
    }
    for (const UsKeyRow& row : kUsKeyRows) {
        if (row.plain.find(ascii) != std::string_view::npos) {
            return false;
        }
        if (row.shifted.find(ascii) != std::string_view::npos) {
            return true;
        }
    }
    return std::nullopt;
}

}  // namespace tavro::x11
