#include "platform/fake/FakeDesktop.h"

#include "platform/fake/CallLog.h"

namespace tavro::fake {

namespace {

std::string IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return "Critical";
        case MessageIcon::Question:
            return "Question";
        case MessageIcon::Exclamation:
            return "Exclamation";
        case MessageIcon::Information:
            return "Information";
    }
    return "?";
}

}  // namespace

void FakeDesktop::SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) {
    shownModifierChecks = {alt, ctrl, shift, capsLock};
}

void FakeDesktop::SetBufferTexts(const std::u16string& keyBuffer, const std::u16string& keyDiary) {
    shownKeyBuffer = keyBuffer;
    shownKeyDiary = keyDiary;
}

void FakeDesktop::mnuOpen() {
    log_.Record([&] { return std::string("mnuOpen()"); });
}

void FakeDesktop::mnuNewTrigger() {
    log_.Record([&] { return std::string("mnuNewTrigger()"); });
}

void FakeDesktop::SetTab(int tab) {
    log_.Record([&] { return FormatCall("SetTab", {std::to_string(tab)}); });
}

void FakeDesktop::EnableEditFields(bool enabled) {
    editFieldsEnabled = enabled;
}

void FakeDesktop::ShowTrigger(int slot) {
    log_.Record([&] { return FormatCall("ShowTrigger", {std::to_string(slot)}); });
    if (onShowTrigger) {
        onShowTrigger(slot);
    }
    const auto found = staged_.find(slot);
    shown_ = found == staged_.end() ? StagedTrigger{} : found->second;
}

void FakeDesktop::Clear() {
    log_.Record([&] { return std::string("Clipboard.Clear()"); });
}

void FakeDesktop::SetText(const std::u16string& text) {
    log_.Record([&] { return FormatCall("Clipboard.SetText", {Quoted(text)}); });
}

void FakeDesktop::SetRichText(const std::string& rtf) {
    log_.Record([&] { return FormatCall("Clipboard.SetRichText", {'"' + rtf + '"'}); });
}

void FakeDesktop::SetTriggerPicture() {
    log_.Record([&] { return std::string("Clipboard.SetTriggerPicture()"); });
}

void FakeDesktop::AwaitPaste() {
    log_.Record([&] { return std::string("Clipboard.AwaitPaste()"); });
}

void FakeDesktop::ShowFlashIcon() {
    log_.Record([&] { return std::string("Tray.ShowFlashIcon()"); });
}

void FakeDesktop::ShowNormalIcon() {
    log_.Record([&] { return std::string("Tray.ShowNormalIcon()"); });
}

void FakeDesktop::YieldOnce() {
    log_.Record([&] { return std::string("YieldOnce()"); });
    if (onYield) {
        onYield();
    }
}

void FakeDesktop::ShowTriggerChoice(const std::vector<int>& matchingSlots) {
    log_.Record([&] {
        std::string call = "ShowTriggerChoice(";
        for (std::size_t i = 0; i < matchingSlots.size(); ++i) {
            if (i > 0) {
                call += ',';
            }
            call += std::to_string(matchingSlots[i]);
        }
        return call + ")";
    });
    if (onTriggerChoice) {
        onTriggerChoice(matchingSlots);
    }
}

void FakeDesktop::ShowMessage(const std::u16string& text, const std::u16string& title,
                              MessageIcon icon) {
    log_.Record([&] {
        return FormatCall("MessageBox", {Quoted(text), Quoted(title), IconName(icon)});
    });
}

void FakeDesktop::ShowTrayEntries(const std::vector<std::u16string>& captions) {
    shownTrayEntries = captions;
}

std::u16string FakeDesktop::AskText(const std::u16string& prompt, const std::u16string& title) {
    log_.Record([&] { return FormatCall("InputBox", {Quoted(prompt), Quoted(title)}); });
    return inputAnswer;
}

bool FakeDesktop::AskYesNo(const std::u16string& text, const std::u16string& title,
                           std::optional<MessageIcon> icon) {
    log_.Record([&] {
        return FormatCall("Question", {Quoted(text), Quoted(title), icon ? IconName(*icon) : ""});
    });
    return questionAnswer;
}

std::optional<std::u16string> FakeDesktop::GetOpenFileName(const FileDialogOptions& options) {
    return AnswerFileDialog("OpenFileDialog", options);
}

std::optional<std::u16string> FakeDesktop::GetSaveFileName(const FileDialogOptions& options) {
    return AnswerFileDialog("SaveFileDialog", options);
}

std::optional<std::u16string> FakeDesktop::AnswerFileDialog(const char* kind,
                                                            const FileDialogOptions& options) {
    log_.Record([&] {
        std::string filters;
        for (const std::u16string& filter : options.filters) {
            if (!filters.empty()) {
                filters += '|';
            }
            filters += Quoted(filter);
        }
        return FormatCall(kind, {Quoted(options.folder), Quoted(options.file), filters,
                                 Quoted(options.defaultExtension)});
    });
    if (onFileDialog) {
        onFileDialog();
    }
    return fileDialogAnswer;
}

void FakeDesktop::EndProgram(int exitCode) {
    log_.Record([&] { return FormatCall("EndProgram", {std::to_string(exitCode)}); });
    endedWith = exitCode;
}

}  // namespace tavro::fake
