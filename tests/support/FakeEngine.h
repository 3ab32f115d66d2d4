#pragma once

#include "engine/Engine.h"
#include "platform/fake/FakePlatform.h"

namespace tavro::test {

inline constexpr WindowHandle kMainWindow = 100;
inline constexpr ThreadId kOwnThread = 1;
inline constexpr WindowHandle kEditor = 200;
inline constexpr ThreadId kEditorThread = 2;

// An engine on the fake platform: the main window "Tavro!" and a plain
// editor "notes.txt - Mousepad" in front, the hook started.
struct FakeEngine {
    fake::FakePlatform platform;
    Engine engine{EnginePorts{
        .windows = platform.windows,
        .layout = platform.keyboard,
        .injector = platform.keyboard,
        .shell = platform.windows,
        .program = platform.windows,
        .keyBufferPage = platform.desktop,
        .commands = platform.desktop,
        .staging = platform.desktop,
        .clipboard = platform.desktop,
        .tray = platform.desktop,
        .eventLoop = platform.desktop,
        .clock = platform.desktop,
        .choice = platform.desktop,
        .messages = platform.desktop,
    }};

    fake::FakeKeyboard& keyboard = platform.keyboard;
    fake::FakeWindows& windows = platform.windows;
    fake::FakeDesktop& desktop = platform.desktop;
    fake::CallLog& log = platform.log;

    FakeEngine() {
        windows.AddWindow(kMainWindow, u"Tavro!", kOwnThread);
        windows.SetMainWindow(kMainWindow);
        windows.SetProgramFolder(u"/opt/tavro");
        windows.AddWindow(kEditor, u"notes.txt - Mousepad", kEditorThread);
        windows.SetForeground(kEditor);
        keyboard.Start(engine);
    }

    // Puts a trigger into the next slot.
    int AddTrigger(std::u16string trigger, std::u16string display, std::u16string type = u"Text",
                   std::u16string replaceText = u"") {
        TriggerTable& table = engine.Triggers();
        const int slot = table.TriggerCount++;
        TriggerRecord& record = table.Slot(slot);
        record.Trigger = std::move(trigger);
        record.Display = std::move(display);
        record.ReplaceText = replaceText;
        record.Type = std::move(type);
        fake::StagedTrigger staged;
        staged.replaceText = std::move(replaceText);
        desktop.Stage(slot, staged);
        return slot;
    }

    const std::u16string& KeyBuffer() { return engine.Capture().keyBuffer.Text(); }

    std::vector<std::string> KeyEvents() const {
        return log.CallsStartingWith({"keybd_event", "TypeCharacter"});
    }
};

}  // namespace tavro::test
