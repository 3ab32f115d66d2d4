#include "editing/TriggerEditor.h"

#include <algorithm>
#include <string_view>

#include "editing/ContentFileCommands.h"
#include "editing/ListLines.h"
#include "editing/TypePages.h"
#include "platform/ListBox.h"
#include "platform/MessageBoxes.h"
#include "platform/QuestionBox.h"
#include "store/DataFolder.h"
#include "store/TriggerStore.h"
#include "store/TriggerTable.h"
#include "text/TextCase.h"

namespace tavro {

namespace {

// New Trigger fills slots 0 to 19.
constexpr int kNewTriggerLimit = 20;
constexpr std::u16string_view kLimitText = u"You cannot add any more triggers.";
constexpr std::u16string_view kLimitTitle = u"Cannot add anymore";
constexpr std::u16string_view kDeleteQuestion = u"Do you want to delete this trigger?";
constexpr std::u16string_view kDeleteTitle = u"Confirm deletion";
constexpr std::u16string_view kTriggerListName = u"lstTriggers";

}  // namespace

TriggerEditor::TriggerEditor(const Dependencies& dependencies) : d_(dependencies) {}

void TriggerEditor::ShowTrigger(int index) {
    TriggerTable& table = d_.triggers;
    // A reload that left the current slot beyond the triggers (the last one
    // was deleted) shows the last trigger rather than an empty slot whose
    // edits no save would write.
    if (index >= table.UsedSlots() && table.UsedSlots() > 0) {
        index = table.UsedSlots() - 1;
    }
    index = std::clamp(index, 0, kTriggerSlots - 1);
    EditorControls& controls = d_.controls;
    const TriggerRecord& record = table.Slot(index);
    controls.SetTypeText(record.Type);
    ShowTypePage();
    controls.SetFieldText(EditorField::txtTrigger, record.Trigger);
    controls.SetFieldText(EditorField::txtDisplay, record.Display);
    controls.SelectListRow(ListRowForSlot(table, d_.lstTriggers, index));
    controls.SetFieldText(EditorField::txtReplaceText, record.ReplaceText);
    // A content file that moved into the data folder is shown from there;
    // the slot keeps its stored path until the user edits it. Without a
    // file the pages show nothing: firing must never paste the content of
    // the trigger shown before.
    d_.richTextFile.ShowFile(FindContentFile(record.ReplaceRTFFile, d_.programFolder, table));
    d_.imageFile.ShowFile(FindContentFile(record.ReplaceImageFile, d_.programFolder, table));
    controls.SetFieldText(EditorField::txtCommandLine, record.CommandLine);
    table.CurrentTrigger = index;
}

void TriggerEditor::ShowTypePage() {
    const std::u16string type = d_.controls.TypeText();
    if (const std::optional<int> page = PageForType(type)) {
        d_.controls.ShowPage(*page);
        d_.controls.SetBackVisible(HasAlternateText(type));
    }
}

void TriggerEditor::lstTriggers_Click() {
    ListBox& list = d_.lstTriggers;
    const int row = list.ListIndex();
    if (row < 0) {
        return;
    }
    const std::u16string line = list.List(row);
    const int occurrence = OccurrenceOfRow(list, row);
    // Leaving the shown trigger saves its edits; the line is then looked for
    // among the triggers as the save and reload left them.
    SavePendingEdits();
    const std::optional<int> slot = SlotForListLine(d_.triggers, line, occurrence);
    if (slot && *slot != d_.triggers.CurrentTrigger) {
        ShowTrigger(*slot);
    }
}

void TriggerEditor::mnuNewTrigger_Click() {
    TriggerTable& table = d_.triggers;
    if (table.TriggerCount >= kNewTriggerLimit) {
        d_.messages.ShowMessage(std::u16string(kLimitText), std::u16string(kLimitTitle),
                                MessageIcon::Exclamation);
        return;
    }
    // The new slot is added to the table as the save leaves it, so that the
    // reload of that save cannot drop it.
    if (!SavePendingEdits()) {
        return;
    }
    d_.controls.FocusField(EditorField::txtTrigger);
    d_.controls.ShowPage(kNewTriggerPage);
    // A new trigger begun before and left untouched (nothing was pending) is
    // taken again rather than a second slot.
    if (!newSlot_) {
        newSlot_ = table.TriggerCount++;
    }
    table.Slot(*newSlot_) = TriggerRecord{};
    ShowTrigger(*newSlot_);
}

void TriggerEditor::cmdCancelNewTrigger_Click() {
    TriggerTable& table = d_.triggers;
    // Only the slot that New Trigger added is dropped, and only while it is
    // shown: the page also stays up for a saved trigger whose type is none
    // of the four, and that trigger must stay.
    if (!newSlot_ || *newSlot_ != table.CurrentTrigger || *newSlot_ != table.TriggerCount - 1) {
        return;
    }
    newSlot_.reset();
    --table.TriggerCount;
    SavePendingEdits();
    ShowTrigger(table.TriggerCount - 1);
}

void TriggerEditor::mnuDelete_Click() {
    if (!EqualsIgnoringCase(d_.controls.ActiveControlName(), kTriggerListName)) {
        return;
    }
    if (!d_.questions.AskYesNo(std::u16string(kDeleteQuestion), std::u16string(kDeleteTitle),
                               std::nullopt)) {
        return;
    }
    TriggerTable& table = d_.triggers;
    table.DeleteTrigger(table.CurrentTrigger, d_.messages);
    table.TriggersDirty = true;
    mnuSave_Click();
}

bool TriggerEditor::mnuSave_Click() {
    TriggerTable& table = d_.triggers;
    const int current = table.CurrentTrigger;
    const TriggerRecord shown = current < table.UsedSlots() ? table.Slot(current) : TriggerRecord{};
    if (!d_.store.mnuSave_Click()) {
        return false;
    }
    newSlot_.reset();
    if (shown.Trigger.empty()) {
        return true;
    }
    for (int slot = 0; slot < table.UsedSlots(); ++slot) {
        if (table.Slot(slot) == shown) {
            if (slot != table.CurrentTrigger) {
                ShowTrigger(slot);
            }
            break;
        }
    }
    return true;
}

bool TriggerEditor::SavePendingEdits() {
    return !d_.triggers.TriggersDirty || mnuSave_Click();
}

TriggerRecord& TriggerEditor::EditedRecord() {
    TriggerTable& table = d_.triggers;
    if (table.CurrentTrigger >= table.TriggerCount && table.TriggerCount < kTriggerSlots) {
        table.CurrentTrigger = table.TriggerCount++;
        newSlot_ = table.CurrentTrigger;
    }
    return table.Slot(table.CurrentTrigger);
}

void TriggerEditor::StoreField(EditorField field) {
    TriggerRecord& record = EditedRecord();
    std::u16string text = d_.controls.FieldText(field);
    switch (field) {
        case EditorField::txtTrigger:
            record.Trigger = std::move(text);
            break;
        case EditorField::txtDisplay:
            record.Display = std::move(text);
            break;
        case EditorField::txtReplaceText:
            record.ReplaceText = std::move(text);
            break;
        case EditorField::txtRTFFile:
            record.ReplaceRTFFile = std::move(text);
            break;
        case EditorField::txtImageFile:
            record.ReplaceImageFile = std::move(text);
            break;
        case EditorField::txtCommandLine:
            record.CommandLine = std::move(text);
            break;
    }
    d_.triggers.TriggersDirty = true;
}

void TriggerEditor::StoreType() {
    EditedRecord().Type = d_.controls.TypeText();
    d_.triggers.TriggersDirty = true;
}

void TriggerEditor::cboType_Click() {
    StoreType();
    ShowTypePage();
}

void TriggerEditor::cboType_KeyPress(char16_t character) {
    if (const std::optional<std::u16string_view> type = TypeForLetter(character)) {
        d_.controls.SetTypeText(std::u16string(*type));
        ShowTypePage();
        StoreType();
    }
}

void TriggerEditor::cmdAlternateText_Click() {
    d_.controls.ShowPage(kTextPage);
}

}  // namespace tavro
