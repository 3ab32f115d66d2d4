// End-to-end figures of the tavro program on a desktop of its own (Xvfb,
// openbox, mousepad): how long a firing takes from the last key of the
// trigger until the program's last key event of the delivery reaches the X
// server, by clipboard and by keystrokes; its resident memory after start-up
// and after 1,000 firings; and the processor time it uses while idle.
//
// With the argument "big-content": how long firing a rich-text trigger whose
// file is 50 MB takes from the last key of the trigger to the first
// Backspace, and the resident memory with that file.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TavroProgram.h"
#include "richtext/PngEncoder.h"
#include "richtext/RtfWriter.h"
#include "support/TestDesktop.h"
#include "support/X11Engine.h"

namespace tavro::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr std::uint8_t kKeyZ = 'Z';
constexpr std::uint8_t kKeyQ = 'Q';

// Every key event on the display, counted.
class EventCounter final : public KeyEventSink {
  public:
    void KeyDownHook(const KeyEvent&) override { ++events; }
    void KeyUpHook(const KeyEvent&) override { ++events; }
    int events = 0;
};

// Types the trigger "zq" and returns the time from the press of its last key
// until `expected` key events of the delivery were seen.
double FireOnce(x11::test::X11Ports& ports, EventCounter& counter, int expected) {
    ports.injector.keybd_event(kKeyZ, 0, 0, 0);
    ports.injector.keybd_event(kKeyZ, 0, kKeyEventKeyUp, 0);
    ports.RunUntil([&] { return false; }, std::chrono::milliseconds(5));
    const int before = counter.events;
    const auto start = Clock::now();
    ports.injector.keybd_event(kKeyQ, 0, 0, 0);
    ports.Sync();
    ports.RunUntil([&] { return counter.events >= before + 1 + expected; },
                   std::chrono::seconds(5));
    const double elapsed = Milliseconds(Clock::now() - start).count();
    ports.injector.keybd_event(kKeyQ, 0, kKeyEventKeyUp, 0);
    ports.RunUntil([&] { return false; }, std::chrono::milliseconds(20));
    return elapsed;
}

void PrintLatency(const char* what, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    std::printf("%-44s median %6.2f ms   p99 %6.2f ms\n", what, samples[samples.size() / 2],
                samples[samples.size() * 99 / 100]);
}

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:")) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

double ProcessorSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index == 14 || index == 15) {  // utime, stime
            ticks += std::stol(field);
        }
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void Measure(x11::test::TestDesktop& desktop, bool keystrokes) {
    TavroProgram tavro;
    ApplicationLists applications;
    if (keystrokes) {
        applications.SendKeyApps = {u"Mousepad"};
    }
    tavro.WriteDatabase({MakeTrigger(u"zq", u"Bench", u"Text", u"Hello")}, applications);
    tavro.Start(desktop.ProgramEnvironment());
    if (!tavro.WaitUntilRunning()) {
        std::printf("tavro did not start\n");
        return;
    }
    std::printf("resident memory after start-up: %ld kB\n", ResidentKilobytes(tavro.Pid()));

    x11::test::X11Ports ports(desktop.DisplayName());
    EventCounter counter;
    ports.hook.Start(counter);
    // Two Backspaces, then Ctrl+V (4 events), or "Hello" typed: H with
    // Shift (4 events), e l l o (2 each: releasing Shift when it is not
    // down makes no event).
    const int expected = 4 + (keystrokes ? 4 + 4 * 2 : 4);
    const int firings = keystrokes ? 100 : 1000;
    std::vector<double> samples;
    for (int i = 0; i < firings; ++i) {
        samples.push_back(FireOnce(ports, counter, expected));
        if (i % 50 == 49) {
            desktop.ClearEditor();
        }
    }
    samples.resize(100);
    PrintLatency(keystrokes ? "by keystrokes (SendKey list), 100 firings:"
                            : "by clipboard, first 100 of 1,000 firings:",
                 samples);
    ports.hook.Stop();
    if (!keystrokes) {
        std::printf("resident memory after 1,000 firings: %ld kB\n",
                    ResidentKilobytes(tavro.Pid()));
        const double before = ProcessorSeconds(tavro.Pid());
        std::this_thread::sleep_for(std::chrono::seconds(60));
        std::printf("processor time in 60 idle seconds: %.2f s\n",
                    ProcessorSeconds(tavro.Pid()) - before);
    }
}

// An RTF file of about 50 MB: a line of text and two photographs of
// 1,800 × 1,800 pixels, stored as PNG without compression.
void WriteBigRichTextFile(const std::filesystem::path& path) {
    constexpr int kSide = 1800;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 4);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        noise = noise * 1103515245u + 12345u;
        pixels[i] = i % 4 == 3 ? 255 : static_cast<std::uint8_t>(noise >> 24);
    }
    Picture photograph{.format = PictureFormat::Png,
                       .data = EncodePng(kSide, kSide, pixels),
                       .width = kSide,
                       .height = kSide};
    Document document;
    Paragraph text;
    text.runs.push_back(TextRun{.format = {}, .text = u"Two photographs:"});
    document.paragraphs.push_back(text);
    for (int i = 0; i < 2; ++i) {
        Paragraph picture;
        picture.runs.push_back(photograph);
        document.paragraphs.push_back(picture);
    }
    std::ofstream(path, std::ios::binary) << WriteRtf(document);
}

void MeasureBigContent(x11::test::TestDesktop& desktop) {
    TavroProgram tavro;
    const std::filesystem::path big = tavro.Folder() / "big.rtf";
    WriteBigRichTextFile(big);
    std::printf("rich-text file: %.1f MB\n",
                static_cast<double>(std::filesystem::file_size(big)) / 1e6);
    TriggerRecord trigger = MakeTrigger(u"zq", u"Photographs", u"RTF", u"[photographs]");
    trigger.ReplaceRTFFile = big.u16string();
    tavro.WriteDatabase({trigger}, {});
    const auto start = Clock::now();
    tavro.Start(desktop.ProgramEnvironment());
    if (!tavro.WaitUntilRunning()) {
        std::printf("tavro did not start\n");
        return;
    }
    std::printf("start-up: %.0f ms, resident memory after it: %ld kB\n",
                Milliseconds(Clock::now() - start).count(), ResidentKilobytes(tavro.Pid()));
    x11::test::X11Ports ports(desktop.DisplayName());
    EventCounter counter;
    ports.hook.Start(counter);
    std::vector<double> samples;
    for (int i = 0; i < 10; ++i) {
        samples.push_back(FireOnce(ports, counter, 1));
        std::printf("  firing %d: %.2f ms\n", i + 1, samples.back());
        // The paste is fetched and the editor cleared before the next one.
        ports.RunUntil([&] { return false; }, std::chrono::seconds(5));
        desktop.ClearEditor();
    }
    std::sort(samples.begin(), samples.end());
    std::printf("last key to first Backspace, 10 firings: median %.2f ms, max %.2f ms\n",
                samples[samples.size() / 2], samples.back());
    std::printf("resident memory after the firings: %ld kB\n", ResidentKilobytes(tavro.Pid()));
    ports.hook.Stop();
}

}  // namespace
}  // namespace tavro::e2e

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    tavro::x11::test::TestDesktop desktop;
    desktop.OpenMousepadWindow();
    if (argc > 1 && std::string(argv[1]) == "big-content") {
        tavro::e2e::MeasureBigContent(desktop);
        return 0;
    }
    tavro::e2e::Measure(desktop, false);
    tavro::e2e::Measure(desktop, true);
    return 0;
}
