#pragma once

#include <filesystem>
#include <optional>

#include "editing/EditorControls.h"

namespace tavro {

class ContentFileCommands;
class ListBox;
class MessageBoxes;
class QuestionBox;
class TriggerStore;
class TriggerTable;
struct TriggerRecord;

// The rules of the trigger editor: the trigger list, the header fields, the
// type box and its pages, and the commands New, Cancel New, Delete and Save.
// Every edit goes at once into the current slot of the trigger table and
// marks the table modified; the list shows edits only after a save.
class TriggerEditor {
  public:
    struct Dependencies {
        TriggerTable& triggers;
        TriggerStore& store;
        EditorControls& controls;
        ListBox& lstTriggers;
        MessageBoxes& messages;
        QuestionBox& questions;
        // The rich-text and the image page, which show the trigger's files.
        ContentFileCommands& richTextFile;
        ContentFileCommands& imageFile;
        std::filesystem::path programFolder;
    };

    explicit TriggerEditor(const Dependencies& dependencies);

    // Shows the slot in the editor and makes it the current trigger. It saves
    // nothing: the commands that leave a trigger save pending edits first,
    // while firing, which shows the trigger it fires, leaves them pending.
    void ShowTrigger(int index);
    // Shows the page of the type in the type box; a type that is none of the
    // four leaves the page as it is.
    void ShowTypePage();

    void lstTriggers_Click();
    void mnuNewTrigger_Click();
    void cmdCancelNewTrigger_Click();
    void mnuDelete_Click();
    // Saves the table and reloads it; the trigger shown stays shown, even when
    // the reload sorts it into another slot. Whether the table was stored.
    bool mnuSave_Click();

    // The user changed a field: its whole text goes into the current slot.
    void StoreField(EditorField field);
    void txtTrigger_KeyUp() { StoreField(EditorField::txtTrigger); }
    void txtDisplay_KeyUp() { StoreField(EditorField::txtDisplay); }
    void txtReplaceText_KeyUp() { StoreField(EditorField::txtReplaceText); }
    void txtRTFFile_KeyUp() { StoreField(EditorField::txtRTFFile); }
    void txtImageFile_KeyUp() { StoreField(EditorField::txtImageFile); }
    void txtCommandLine_KeyUp() { StoreField(EditorField::txtCommandLine); }
    // A line of the type box was chosen.
    void cboType_Click();
    // A character was typed into the type box; it never reaches the box.
    void cboType_KeyPress(char16_t character);
    // Alternate on the rich-text and image pages, and Back on the text page.
    void cmdAlternateText_Click();
    void cmdBack_Click() { ShowTypePage(); }

    // Whether a trigger begun by New Trigger is neither saved nor cancelled.
    bool NewTriggerPending() const { return newSlot_.has_value(); }

  private:
    // Saves when the table holds unsaved edits; false when a save failed.
    bool SavePendingEdits();
    // The current slot, to be edited. A current slot beyond the slots in use
    // (an empty table) becomes a new trigger, so that nothing typed into it
    // is left out of the next save.
    TriggerRecord& EditedRecord();
    void StoreType();

    Dependencies d_;
    // The slot that New Trigger added, until it is saved or cancelled.
    std::optional<int> newSlot_;
};

}  // namespace tavro
