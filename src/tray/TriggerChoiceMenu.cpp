#include "tray/TriggerChoiceMenu.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

#include "editor/frmTavro.h"
#include "engine/Engine.h"
#include "tray/MenuCaption.h"

namespace tavro {

void TriggerChoiceMenu::ShowTriggerChoice(const std::vector<int>& matchingSlots) {
    form_.HideForm();
    QMenu menu;
    for (int slot : matchingSlots) {
        menu.addAction(MenuCaption(engine_.Triggers().Slot(slot).Display))->setData(slot);
    }
    if (const QAction* chosen = menu.exec(QCursor::pos())) {
        mnuTrigger_Click(chosen->data().toInt());
    }
    engine_.Windows().ActivateWindow(engine_.Capture().LastForegroundWindow);
}

void TriggerChoiceMenu::mnuTrigger_Click(int slot) {
    engine_.Windows().ActivateWindow(engine_.Capture().LastForegroundWindow);
    QApplication::beep();
    engine_.Firer().FireTrigger(engine_.Triggers().Slot(slot).Trigger, slot);
}

}  // namespace tavro
