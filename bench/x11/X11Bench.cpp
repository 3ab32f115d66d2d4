// End-to-end figures of the X11 back end on a desktop of its own (Xvfb,
// openbox, mousepad): how long a key takes from injection to the hook's
// callback, how fast typed text arrives intact in mousepad, and the longest
// the event loop waits while it is typed.

#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/CaptureState.h"
#include "output/KeystrokeSender.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestDesktop.h"
#include "support/X11Engine.h"
#include "text/Utf16.h"
#include "text/Utf8.h"

namespace tavro::x11::test {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kLatencyKeys = 1000;
constexpr std::uint8_t kKeyA = 0x41;
constexpr std::uint8_t kKeyB = 0x42;

class CountingSink final : public KeyEventSink {
  public:
    void KeyDownHook(const KeyEvent&) override { ++downs; }
    void KeyUpHook(const KeyEvent&) override { ++ups; }
    int downs = 0;
    int ups = 0;
};

void PrintLatency(const char* what, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    std::printf("%-58s median %6.3f ms   p99 %6.3f ms   max %6.3f ms\n", what,
                samples[samples.size() / 2], samples[samples.size() * 99 / 100], samples.back());
}

// Key-downs sent through `press` until the hook reports each, one at a time,
// with the event loop wired as the desktop wires it.
std::vector<double> MeasureCapture(X11Ports& ports, CountingSink& sink,
                                   const std::function<void(bool down)>& press) {
    std::vector<double> samples;
    for (int i = 0; i < kLatencyKeys; ++i) {
        const int before = sink.downs;
        const auto start = Clock::now();
        press(true);
        ports.RunUntil([&] { return sink.downs > before; });
        samples.push_back(Milliseconds(Clock::now() - start).count());
        press(false);
        ports.RunUntil([&] { return sink.ups > before; });
    }
    return samples;
}

void CaptureLatency(TestDesktop& desktop) {
    X11Ports ports(desktop.DisplayName());
    CountingSink sink;
    ports.hook.Start(sink);
    // Two keys in turn: a key pressed again right after its release comes
    // after a key of the spacer.
    std::uint8_t key = kKeyA;
    PrintLatency("capture, keys sent by the X11 injector:",
                 MeasureCapture(ports, sink, [&](bool down) {
                     if (down) {
                         key = key == kKeyA ? kKeyB : kKeyA;
                     }
                     ports.injector.keybd_event(key, 0, down ? 0 : kKeyEventKeyUp, 0);
                 }));
    // Another client that only flushes, as a keyboard driver or xdotool
    // without syncing does.
    XConnection other(desktop.DisplayName());
    const KeyCode keycode = XKeysymToKeycode(other.get(), 'b');
    PrintLatency("capture, keys sent by another client (flush only):",
                 MeasureCapture(ports, sink, [&](bool down) {
                     XTestFakeKeyEvent(other.get(), keycode, down ? True : False, CurrentTime);
                     XFlush(other.get());
                 }));
    ports.hook.Stop();
    desktop.ClearEditor();
}

// The event loop of the ports, noting the longest time between two turns.
class TimedEventLoop final : public EventLoop {
  public:
    explicit TimedEventLoop(X11Ports& ports) : ports_(ports) {}
    void YieldOnce() override {
        Note();
        ports_.YieldOnce();
        last_ = Clock::now();
    }
    void Note() { longest_ = std::max(longest_, Milliseconds(Clock::now() - last_).count()); }
    void Restart() {
        last_ = Clock::now();
        longest_ = 0;
    }
    double Longest() const { return longest_; }

  private:
    X11Ports& ports_;
    Clock::time_point last_ = Clock::now();
    double longest_ = 0;
};

// The text sent by the keystroke sender, with the hook counting the key-downs
// it sees meanwhile (the sender's own keys come back through it).
void TypingRate(TestDesktop& desktop, const char* what, const std::u16string& text) {
    X11Ports ports(desktop.DisplayName());
    CountingSink sink;
    ports.hook.Start(sink);
    fake::FakePlatform fakes;
    CaptureState capture;
    TimedEventLoop eventLoop(ports);
    KeystrokeSender sender({.injector = ports.injector,
                            .layout = ports.layout,
                            .modifiers = capture.modifiers,
                            .delivery = capture.delivery,
                            .windows = ports.windows,
                            .eventLoop = eventLoop,
                            .commands = fakes.desktop});
    desktop.ClearEditor();
    ports.RunFor(std::chrono::milliseconds(100));
    sink.downs = 0;

    const auto start = Clock::now();
    eventLoop.Restart();
    sender.SendKeystrokes(text);
    eventLoop.Note();
    ports.Sync();
    const double sent = Milliseconds(Clock::now() - start).count();
    const std::string received = desktop.EditorText();
    const double arrived = Milliseconds(Clock::now() - start).count();
    // Until the hook has reported everything it is going to.
    for (int seen = -1; seen != sink.downs;) {
        seen = sink.downs;
        ports.RunFor(std::chrono::milliseconds(500));
    }

    std::string expected = ToUtf8(text);
    std::erase(expected, '\r');
    const auto characters = static_cast<double>(
        std::count_if(text.begin(), text.end(), [](char16_t c) { return !IsLowSurrogate(c); }));
    std::printf(
        "%-36s %5.0f characters: sent in %6.1f ms (event loop held at most %5.1f ms), "
        "in mousepad after %6.1f ms = %5.0f characters/s, %s; the hook saw %d key-downs\n",
        what, characters, sent, eventLoop.Longest(), arrived, characters / (arrived / 1000.0),
        received == expected ? "intact" : "DAMAGED", sink.downs);
    if (received != expected) {
        const auto [at, _] =
            std::mismatch(expected.begin(), expected.end(), received.begin(), received.end());
        const auto from = static_cast<std::size_t>(at - expected.begin());
        std::printf("  from byte %zu: expected \"%s\", got \"%s\"\n", from,
                    expected.substr(from, 40).c_str(), received.substr(from, 40).c_str());
    }
}

// `length` characters: the characters of `withoutKey` in turn, each followed
// by `between`.
std::u16string Interleaved(std::u16string_view withoutKey, std::u16string_view between,
                           std::size_t length) {
    std::u16string text;
    for (std::size_t i = 0; text.size() < length; ++i) {
        text += withoutKey[i % withoutKey.size()];
        text += between;
    }
    return text.substr(0, length);
}

std::u16string ChineseCharacters(std::size_t count) {
    std::u16string characters;
    for (std::size_t i = 0; i < count; ++i) {
        characters += static_cast<char16_t>(u'\u4E00' + i);
    }
    return characters;
}

std::u16string Repeated(std::u16string_view piece, std::size_t length) {
    std::u16string text;
    while (text.size() < length) {
        text += piece;
    }
    return text.substr(0, length);
}

}  // namespace
}  // namespace tavro::x11::test

int main() {
    using namespace tavro::x11::test;
    TestDesktop desktop;
    desktop.OpenMousepadWindow();
    std::printf("X server %s, %d keys per latency figure\n", desktop.DisplayName().c_str(),
                kLatencyKeys);
    CaptureLatency(desktop);
    // The sender presses Shift for the capitals and symbols of ASCII text;
    // other characters go through spare keycodes, of which the X server has
    // about 18: a text with more distinct ones binds some keycodes again.
    TypingRate(desktop, "ASCII text",
               Repeated(u"The Quick brown fox (No. 42) jumps over the lazy dog!\r\n", 5000));
    TypingRate(desktop, "12 characters without a key", Repeated(u"é ß € ñ 中 😀 Ä Ö Ü ç Ł ø ", 600));
    TypingRate(desktop, "25 characters without a key",
               Repeated(u"éßñ€中文字😀ÄÖÜàçèùâêîôûœæøåŁ", 300));
    // Long texts with many different characters without a key: the spare
    // keycodes are bound anew many times.
    const std::u16string accented =
        u"àáâãäåæçèéêëìíîïñòóôõöøùúûüýÿāăąćĉċčďđēĕėęěĝğġģĥħĩīĭįıĵķĺļľŀłńņňōŏőœŕŗřśŝşšţťŧũū";
    TypingRate(desktop, "69 accented letters among ASCII",
               Interleaved(accented.substr(0, 69), u"ab ", 2000));
    TypingRate(desktop, "400 different Chinese characters", Repeated(ChineseCharacters(400), 2000));
    return 0;
}
