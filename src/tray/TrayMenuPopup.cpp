#include "tray/TrayMenuPopup.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

#include "editor/frmTavro.h"
#include "engine/Engine.h"
#include "tray/MenuCaption.h"

namespace tavro {

TrayMenuPopup::TrayMenuPopup(Engine& engine, frmTavro& form, QSystemTrayIcon& icon)
    : engine_(engine), form_(form) {
    // The menu opens after the click that asked for it has been handled.
    QObject::connect(
        &icon, &QSystemTrayIcon::activated, &receiver_,
        [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger) {
                TrayIcon1_LeftButtonClick();
            } else if (reason == QSystemTrayIcon::Context) {
                TrayIcon1_RightButtonClick();
            }
        },
        Qt::QueuedConnection);
}

void TrayMenuPopup::ShowTrayEntries(const std::vector<std::u16string>& captions) {
    entries_ = captions;
}

void TrayMenuPopup::FillMenu(QMenu& mnuTray) const {
    mnuTray.setObjectName(QStringLiteral("mnuTray"));
    for (const std::u16string& caption : entries_) {
        if (caption == kTraySeparator) {
            mnuTray.addSeparator();
        } else {
            QAction* item = mnuTray.addAction(MenuCaption(caption));
            item->setObjectName(QStringLiteral("mnuClickTrigger"));
            item->setData(QString::fromStdU16String(caption));
        }
    }
    mnuTray.addSeparator()->setObjectName(QStringLiteral("mnuDivider"));
    mnuTray.addAction(QStringLiteral("Open"))->setObjectName(QStringLiteral("mnuOpen"));
}

void TrayMenuPopup::TrayIcon1_LeftButtonClick() {
    form_.FocusMainWindow();
}

void TrayMenuPopup::TrayIcon1_RightButtonClick() {
    const bool wasShown = !form_.IsHidden();
    if (wasShown) {
        form_.HideForm();
    }
    QMenu mnuTray;
    FillMenu(mnuTray);
    if (const QAction* chosen = mnuTray.exec(QCursor::pos())) {
        if (chosen->objectName() == QLatin1String("mnuOpen")) {
            mnuOpen_Click();
        } else {
            mnuClickTrigger_Click(chosen->data().toString().toStdU16String());
        }
    }
    if (wasShown) {
        form_.CenterForm();
    }
}

void TrayMenuPopup::mnuClickTrigger_Click(const std::u16string& caption) {
    engine_.Windows().ActivateWindow(engine_.Capture().LastForegroundWindow);
    engine_.Firer().FireTriggerByCaption(caption);
}

void TrayMenuPopup::mnuOpen_Click() {
    form_.CenterForm();
}

}  // namespace tavro
