#pragma once

#include <string>

namespace tavro {

// The text boxes of the main window that each show one field of the shown
// trigger.
enum class EditorField {
    txtTrigger,
    txtDisplay,
    txtReplaceText,
    txtRTFFile,
    txtImageFile,
    txtCommandLine,
};

// The controls of the main window that the editor's rules read and set.
// Setting a control never raises the events by which the user's changes
// reach the rules.
class EditorControls {
  public:
    virtual ~EditorControls() = default;

    virtual void SetFieldText(EditorField field, const std::u16string& text) = 0;
    virtual std::u16string FieldText(EditorField field) = 0;
    // The text of the type box cboType.
    virtual void SetTypeText(const std::u16string& text) = 0;
    virtual std::u16string TypeText() = 0;

    // Brings page `page` of SSTab1 to the front.
    virtual void ShowPage(int page) = 0;
    // cmdBack on the text page.
    virtual void SetBackVisible(bool visible) = 0;
    // Selects line `row` of lstTriggers; -1 selects none.
    virtual void SelectListRow(int row) = 0;

    virtual void FocusTriggerList() = 0;
    virtual void FocusField(EditorField field) = 0;
    // The name of the control of the main window that has the focus
    // ("lstTriggers", "txtTrigger", ...); "" when none has it.
    virtual std::u16string ActiveControlName() = 0;
};

}  // namespace tavro
