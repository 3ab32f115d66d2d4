#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include <QMainWindow>

#include "editing/EditorControls.h"
#include "platform/KeyBufferPage.h"
#include "platform/MainWindowCommands.h"
#include "platform/ProgramInfo.h"
#include "platform/StagingArea.h"

class QLabel;
class QLineEdit;
class QStackedWidget;

namespace tavro {

class ApplicationListEditor;
class ApplicationListsPage;
class ContentFileReader;
class FormLifecycle;
class HelpCommands;
class ImageFileCommands;
class ImagePage;
class KeyBufferView;
class LaunchPage;
class LegendPrinter;
class NewTriggerPage;
class RichTextFileCommands;
class RichTextPage;
class SortedListBox;
class TextPage;
class TriggerEditor;
class TriggerTable;
class TypeComboBox;
class frmSplash;

// The main window "Tavro!": the trigger list, the header fields of the shown
// trigger, and the pages of SSTab1, which the program alone chooses. It
// holds the controls and forwards every event to the handler of the rules
// that owns it; its controls are also the staging area that firing reads.
//
// Shown, it sits in the middle of the screen with its text and type boxes
// enabled; hidden, it is out of sight on every screen and out of the task
// bar, those boxes are disabled and the trigger list has the focus.
class frmTavro final : public QMainWindow,
                       public EditorControls,
                       public MainWindowCommands,
                       public StagingArea,
                       public ProgramInfo,
                       public KeyBufferPage {
  public:
    // The rules the window's events go to.
    struct Handlers {
        TriggerEditor* editor;
        ApplicationListEditor* lists;
        FormLifecycle* lifecycle;
        HelpCommands* help;
        RichTextFileCommands* richTextFile;
        ImageFileCommands* imageFile;
        // File > Print Triggers prints the table.
        LegendPrinter* legend;
        const TriggerTable* triggers;
    };

    // The content files of the triggers are read through `contentFiles`.
    frmTavro(std::filesystem::path programFolder, ContentFileReader& contentFiles);
    ~frmTavro() override;

    // Events reach the rules from now on.
    void Attach(const Handlers& handlers);
    // Called when the window has closed for good: the program ends.
    std::function<void()> onUnload;

    // The two display states.
    void CenterForm();
    void HideForm();
    bool IsHidden() const { return !isVisible(); }
    // Brings the window to the front and gives it the focus, when it is shown.
    void FocusMainWindow();
    // The splash window of start-up.
    void ShowSplash();

    SortedListBox& TriggerList() { return *lstTriggers; }
    SortedListBox& SendKeyList();
    SortedListBox& TextOnlyList();
    QImage TriggerPicture() const;

    // EditorControls
    void SetFieldText(EditorField field, const std::u16string& text) override;
    std::u16string FieldText(EditorField field) override;
    void SetTypeText(const std::u16string& text) override;
    std::u16string TypeText() override;
    void ShowPage(int page) override;
    void SetBackVisible(bool visible) override;
    void SelectListRow(int row) override;
    void FocusTriggerList() override;
    void FocusField(EditorField field) override;
    // Also ProgramInfo's: the control of this window that has the focus.
    std::u16string ActiveControlName() override;

    // MainWindowCommands
    void mnuOpen() override { CenterForm(); }
    void mnuNewTrigger() override;
    void SetTab(int tab) override { ShowPage(tab); }
    void EnableEditFields(bool enabled) override;

    // StagingArea
    void PrepareContentFiles() override;
    void ShowTrigger(int slot) override;
    std::u16string ReplaceText() override;
    std::string ReplaceRTF() override;
    // Whether the rich-text file shown holds something to paste (not when
    // the file is missing, unreadable, empty or no rich text).
    bool HasReplaceRTF() override;
    std::u16string CommandLine() override;
    bool HasTriggerPicture() override;

    // ProgramInfo
    WindowHandle MainWindowHandle() override;
    std::u16string ProgramFolder() override { return programFolder_.u16string(); }

    // KeyBufferPage
    void SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) override;
    void SetBufferTexts(const std::u16string& keyBuffer, const std::u16string& keyDiary) override;

    // The window's own events.
    void Form_Activate();
    void Form_Resize();
    void mnuFileExit_Click() { close(); }
    void mnuPrint_Click();
    void mnuSetup_Click();
    void mnuHelpAbout_Click();
    void cmdInsertDate_Click();
    void cmdInsertTime_Click();
    void cmdPasteText_Click();
    void cmdCommandLine_Click();
    // F1: the help about the page, or the list, that has the focus.
    void ShowHelpForFocus();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildMenus();
    void BuildLayout();
    void WireControls();
    void WireContentPages();
    void WatchActivation();
    QLineEdit* LineEditOf(EditorField field) const;
    // A handler of the rules, which does nothing until they are attached.
    template <typename Rules>
    std::function<void()> Forward(Rules* Handlers::*rules, void (Rules::*handler)());
    std::function<void()> ToEditor(void (TriggerEditor::*handler)()) {
        return Forward(&Handlers::editor, handler);
    }

    std::filesystem::path programFolder_;
    std::optional<Handlers> handlers_;
    bool fieldsEnabled_ = true;
    // Whether another window of the program was last active: coming back
    // from it activates the form again.
    bool backFromOwnWindow_ = false;
    std::unique_ptr<frmSplash> splash_;

  public:
    // The controls, by the names the rules know them by.
    QLabel* const Label1;
    SortedListBox* const lstTriggers;
    QLabel* const Label2;
    QLineEdit* const txtTrigger;
    QLabel* const Label3;
    QLineEdit* const txtDisplay;
    QLabel* const Label4;
    TypeComboBox* const cboType;
    QStackedWidget* const SSTab1;
    TextPage* const textPage;
    RichTextPage* const richTextPage;
    ImagePage* const imagePage;
    LaunchPage* const launchPage;
    KeyBufferView* const keyBufferView;
    ApplicationListsPage* const applicationListsPage;
    NewTriggerPage* const newTriggerPage;
};

}  // namespace tavro
