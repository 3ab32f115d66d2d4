#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/KeyBufferPage.h"
#include "platform/MainWindowCommands.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramExit.h"
#include "platform/QuestionBox.h"
#include "platform/StagingArea.h"
#include "platform/TrayIcon.h"
#include "platform/TrayMenu.h"
#include "platform/TriggerChoice.h"

namespace tavro::fake {

class CallLog;

// What the staging area shows for one slot.
struct StagedTrigger {
    std::u16string replaceText;
    std::string replaceRTF;
    std::u16string commandLine;
    bool hasPicture = false;
};

// The desktop's side: the main window's pages and commands, the staging
// area, the clipboard, the tray icon, the event loop, the clock, the choice
// menu, the message, input and question boxes and the file dialogs. Records
// every call that changes something; tests script the staged triggers, the
// time, the answers of the boxes and dialogs, and what happens while the
// event loop runs, the choice menu or a file dialog is open.
class FakeDesktop final : public KeyBufferPage,
                          public MainWindowCommands,
                          public StagingArea,
                          public Clipboard,
                          public TrayIcon,
                          public EventLoop,
                          public Clock,
                          public TriggerChoice,
                          public MessageBoxes,
                          public TrayMenu,
                          public InputBox,
                          public QuestionBox,
                          public FileDialogs,
                          public ProgramExit {
  public:
    explicit FakeDesktop(CallLog& log) : log_(log) {}

    // Scripting.
    void Stage(int slot, StagedTrigger trigger) { staged_[slot] = std::move(trigger); }
    void SetNow(const LocalTime& now) { now_ = now; }
    void AdvanceTickCount(std::uint64_t milliseconds) { ticks_ += milliseconds; }
    std::function<void(int slot)> onShowTrigger;
    std::function<void()> onYield;
    std::function<void(const std::vector<int>& matchingSlots)> onTriggerChoice;
    // What the input box answers next ("" is Cancel).
    std::u16string inputAnswer;
    // What the question box answers: Yes (true) or No.
    bool questionAnswer = true;
    // What the file dialogs answer: a path, or none for Cancel.
    std::optional<std::u16string> fileDialogAnswer;
    std::function<void()> onFileDialog;

    // What the key-buffer page shows.
    std::u16string shownKeyBuffer;
    std::u16string shownKeyDiary;
    // chkAlt, chkCtrl, chkShift, chkCapsLock.
    std::array<bool, 4> shownModifierChecks{};
    bool editFieldsEnabled = false;
    // The tray menu's trigger entries.
    std::vector<std::u16string> shownTrayEntries;
    // The exit code the program was ended with, -1 while it runs.
    int endedWith = -1;

    // KeyBufferPage
    void SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) override;
    void SetBufferTexts(const std::u16string& keyBuffer, const std::u16string& keyDiary) override;

    // MainWindowCommands
    void mnuOpen() override;
    void mnuNewTrigger() override;
    void SetTab(int tab) override;
    void EnableEditFields(bool enabled) override;

    // StagingArea
    void PrepareContentFiles() override {}
    void ShowTrigger(int slot) override;
    std::u16string ReplaceText() override { return shown_.replaceText; }
    std::string ReplaceRTF() override { return shown_.replaceRTF; }
    // A trigger staged without RTF markup stands for one whose file is missing.
    bool HasReplaceRTF() override { return !shown_.replaceRTF.empty(); }
    std::u16string CommandLine() override { return shown_.commandLine; }
    bool HasTriggerPicture() override { return shown_.hasPicture; }

    // Clipboard
    void Clear() override;
    void SetText(const std::u16string& text) override;
    void SetRichText(const std::string& rtf) override;
    void SetTriggerPicture() override;
    void AwaitPaste() override;

    // TrayIcon
    void ShowFlashIcon() override;
    void ShowNormalIcon() override;

    // EventLoop
    void YieldOnce() override;

    // Clock
    LocalTime Now() override { return now_; }
    std::uint64_t GetTickCount64() override { return ticks_; }

    // TriggerChoice
    void ShowTriggerChoice(const std::vector<int>& matchingSlots) override;

    // MessageBoxes
    void ShowMessage(const std::u16string& text, const std::u16string& title,
                     MessageIcon icon) override;

    // TrayMenu
    void ShowTrayEntries(const std::vector<std::u16string>& captions) override;

    // InputBox
    std::u16string AskText(const std::u16string& prompt, const std::u16string& title) override;

    // QuestionBox
    bool AskYesNo(const std::u16string& text, const std::u16string& title,
                  std::optional<MessageIcon> icon) override;

    // FileDialogs
    std::optional<std::u16string> GetOpenFileName(const FileDialogOptions& options) override;
    std::optional<std::u16string> GetSaveFileName(const FileDialogOptions& options) override;

    // ProgramExit
    void EndProgram(int exitCode) override;

  private:
    std::optional<std::u16string> AnswerFileDialog(const char* kind,
                                                   const FileDialogOptions& options);

    CallLog& log_;
    std::map<int, StagedTrigger> staged_;
    StagedTrigger shown_;
    LocalTime now_;
    std::uint64_t ticks_ = 0;
};

}  // namespace tavro::fake
