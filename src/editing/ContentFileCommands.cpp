#include "editing/ContentFileCommands.h"

#include "editing/ContentFileTexts.h"
#include "editing/ContentFiles.h"
#include "editing/ContentPageControls.h"
#include "editing/TriggerEditor.h"
#include "platform/MessageBoxes.h"
#include "store/DataFolder.h"
#include "window/WindowOperations.h"

namespace tavro {

ContentFileCommands::ContentFileCommands(const Dependencies& dependencies,
                                         ContentPageControls& page, EditorField pathBox,
                                         std::u16string TriggerRecord::*storedPath)
    : d_(dependencies), page_(page), pathBox_(pathBox), storedPath_(storedPath) {}

std::u16string ContentFileCommands::BoxPath() {
    return d_.controls.FieldText(pathBox_);
}

void ContentFileCommands::ShowFile(const std::u16string& path) {
    page_.SetRefreshVisible(false);
    d_.controls.SetFieldText(pathBox_, path);
    PathChanged();
}

void ContentFileCommands::PathChanged() {
    const std::u16string path = BoxPath();
    const bool exists = ContentFileExists(path);
    page_.SetEditEnabled(exists);
    page_.ShowContentFile(exists ? path : u"");
}

void ContentFileCommands::StorePath(int slot, const std::u16string& path) {
    if (d_.triggers.CurrentTrigger != slot) {
        d_.editor.ShowTrigger(slot);
    }
    d_.controls.SetFieldText(pathBox_, path);
    d_.editor.StoreField(pathBox_);
    PathChanged();
}

void ContentFileCommands::Load(const std::vector<std::u16string>& filters) {
    const int slot = CurrentSlot();
    if (const auto chosen = ChooseContentFile(d_.dialogs, d_.programFolder, BoxPath(), filters)) {
        StorePath(slot, *chosen);
    }
}

bool ContentFileCommands::SaveAsNewFile(int slot, std::string_view content,
                                        std::u16string_view filter, std::u16string_view extension,
                                        std::u16string_view failure,
                                        std::u16string_view failureTitle) {
    const auto chosen = ChooseNewContentFile(d_.dialogs, d_.programFolder, filter, extension);
    if (chosen && SaveContentFile(*chosen, content)) {
        StorePath(slot, *chosen);
        return true;
    }
    if (chosen) {
        d_.messages.ShowMessage(std::u16string(failure), std::u16string(failureTitle),
                                MessageIcon::Exclamation);
    }
    PathChanged();
    return false;
}

void ContentFileCommands::Edit() {
    d_.windows.ShellOpen(BoxPath());
    page_.SetRefreshVisible(true);
}

void ContentFileCommands::Refresh() {
    TriggerTable& table = d_.triggers;
    const std::u16string stored = table.Slot(table.CurrentTrigger).*storedPath_;
    const std::u16string path = FindContentFile(stored, d_.programFolder, table);
    page_.SetEditEnabled(ContentFileExists(BoxPath()));
    if (const auto error = page_.ShowContentFile(path)) {
        d_.messages.ShowMessage(*error, std::u16string(kRefreshFailedTitle),
                                MessageIcon::Exclamation);
    }
}

}  // namespace tavro
