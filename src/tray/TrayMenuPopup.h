#pragma once

#include <string>
#include <vector>

#include <QObject>

#include "platform/TrayMenu.h"

class QMenu;
class QSystemTrayIcon;

namespace tavro {

class Engine;
class frmTavro;

// The tray icon's clicks and its menu. A left click gives the shown main
// window the focus. A right click offers every trigger, by name and type in
// slot order with a separator where the type changes, then "Open"; a trigger
// chosen there is delivered at the caret of the application that was in
// front, erasing nothing. The shown main window leaves the screen while the
// menu is open and comes back in the middle of it afterwards.
class TrayMenuPopup final : public TrayMenu {
  public:
    TrayMenuPopup(Engine& engine, frmTavro& form, QSystemTrayIcon& icon);

    void ShowTrayEntries(const std::vector<std::u16string>& captions) override;

    void TrayIcon1_LeftButtonClick();
    void TrayIcon1_RightButtonClick();
    void mnuClickTrigger_Click(const std::u16string& caption);
    void mnuOpen_Click();

    // Fills the menu with the trigger entries and "Open".
    void FillMenu(QMenu& mnuTray) const;

  private:
    Engine& engine_;
    frmTavro& form_;
    std::vector<std::u16string> entries_;
    // The icon's clicks reach this object only while it lives.
    QObject receiver_;
};

}  // namespace tavro
