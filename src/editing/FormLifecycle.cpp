#include "editing/FormLifecycle.h"

#include <string_view>

#include "capture/KeyVocabulary.h"
#include "editing/EditorControls.h"
#include "editing/TriggerEditor.h"
#include "engine/Engine.h"
#include "platform/QuestionBox.h"
#include "store/DataFolder.h"
#include "store/TriggerStore.h"

namespace tavro {

namespace {

constexpr std::u16string_view kQuitText =
    u"Your changes to the triggers could not be saved.\n\nQuit without saving them? Choose No to "
    u"keep Tavro running with your changes, so that you can save them later.";
constexpr std::u16string_view kQuitTitle = u"Quit without saving?";

}  // namespace

FormLifecycle::FormLifecycle(const Dependencies& dependencies) : d_(dependencies) {}

void FormLifecycle::Form_Activate() {
    Engine& engine = d_.engine;
    engine.Capture().modifiers.CapsLockOn = engine.Windows().KeyStateOn(kKeyCapsLock);
    if (!engine.Triggers().TriggersDirty && !d_.editor.NewTriggerPending()) {
        d_.store.LoadTriggers();
    }
    engine.ShowModifierState();
    CheckDataFolder(d_.programFolder);
    d_.controls.FocusTriggerList();
}

bool FormLifecycle::Form_Unload() {
    TriggerTable& triggers = d_.engine.Triggers();
    if (!triggers.TriggersDirty || d_.store.SaveTriggers()) {
        return true;
    }
    if (!d_.questions.AskYesNo(std::u16string(kQuitText), std::u16string(kQuitTitle),
                               MessageIcon::Exclamation)) {
        return false;
    }
    triggers.TriggersDirty = false;  // given up by the user
    return true;
}

void FormLifecycle::SavePendingEdits() {
    if (d_.engine.Triggers().TriggersDirty) {
        d_.store.SaveTriggers();
    }
}

}  // namespace tavro
