#pragma once

#include <QIcon>
#include <QSystemTrayIcon>

#include "platform/TrayIcon.h"

namespace tavro {

// The notification-area icon with the tooltip "Tavro!", showing its normal
// picture, or its flash picture while a trigger fires.
class TrayIconPictures final : public TrayIcon {
  public:
    TrayIconPictures();

    void ShowFlashIcon() override;
    void ShowNormalIcon() override;

    QSystemTrayIcon& Icon() { return icon_; }
    // The normal picture, which is also the program's window icon.
    const QIcon& NormalIcon() const { return normal_; }

  private:
    QIcon normal_;
    QIcon flash_;
    QSystemTrayIcon icon_;
};

}  // namespace tavro
