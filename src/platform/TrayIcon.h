#pragma once

namespace tavro {

// The notification-area icon's two pictures.
class TrayIcon {
  public:
    virtual ~TrayIcon() = default;
    // The alternate picture, shown while a trigger fires.
    virtual void ShowFlashIcon() = 0;
    // The main window's icon.
    virtual void ShowNormalIcon() = 0;
};

}  // namespace tavro
