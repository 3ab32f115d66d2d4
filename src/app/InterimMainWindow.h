#pragma once

#include <filesystem>

#include "platform/KeyBufferPage.h"
#include "platform/ListBox.h"
#include "platform/MainWindowCommands.h"
#include "platform/ProgramInfo.h"
#include "platform/TrayMenu.h"

namespace tavro {

// Stands in for the main window until it exists: the program has no window
// of its own, its pages show nothing, and its commands do nothing.
class InterimMainWindow final : public MainWindowCommands,
                                public KeyBufferPage,
                                public TrayMenu,
                                public ProgramInfo {
  public:
    explicit InterimMainWindow(std::filesystem::path programFolder)
        : programFolder_(std::move(programFolder)) {}

    void mnuOpen() override {}
    void mnuNewTrigger() override {}
    void SetTab(int) override {}
    void EnableEditFields(bool) override {}

    void SetModifierChecks(bool, bool, bool, bool) override {}
    void SetBufferTexts(const std::u16string&, const std::u16string&) override {}

    void ShowTrayEntries(const std::vector<std::u16string>&) override {}

    WindowHandle MainWindowHandle() override { return 0; }
    std::u16string ActiveControlName() override { return u""; }
    std::u16string ProgramFolder() override { return programFolder_.u16string(); }

  private:
    std::filesystem::path programFolder_;
};

// A list box nobody sees.
class HiddenListBox final : public ListBox {
  public:
    void Clear() override {}
    void AddItem(const std::u16string&) override {}
    int ListCount() override { return 0; }
    std::u16string List(int) override { return u""; }
    int ListIndex() override { return -1; }
    void RemoveItem(int) override {}
};

}  // namespace tavro
