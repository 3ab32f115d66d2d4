#pragma once

#include <memory>

#include <QIcon>
#include <QSystemTrayIcon>

#include "platform/TrayIcon.h"

namespace tavro {

// The notification-area icon with the tooltip "Tavro!", showing its normal
// picture, or its flash picture while a trigger fires. Drawing the pictures
// and reaching the notification area take a while: nothing is done before
// Show().
class TrayIconPictures final : public TrayIcon {
  public:
    void Show();

    void ShowFlashIcon() override;
    void ShowNormalIcon() override;

  private:
    QIcon normal_;
    QIcon flash_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace tavro
