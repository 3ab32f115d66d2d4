#pragma once

#include <filesystem>

namespace tavro {

class EditorControls;
class Engine;
class QuestionBox;
class TriggerEditor;
class TriggerStore;

// What the main window does when it becomes active again and when the
// program ends: reloading the triggers, and saving what is still pending.
class FormLifecycle {
  public:
    struct Dependencies {
        Engine& engine;
        TriggerStore& store;
        TriggerEditor& editor;
        EditorControls& controls;
        QuestionBox& questions;
        std::filesystem::path programFolder;
    };

    explicit FormLifecycle(const Dependencies& dependencies);

    // At start-up and whenever the main window becomes active again: reads
    // the Caps Lock state, reloads the triggers and application lists, shows
    // the modifier flags, makes sure the data folder exists and focuses the
    // trigger list. The reload is skipped while the table holds edits or a
    // new trigger that are not saved yet, which it would throw away.
    void Form_Activate();
    // The main window is closing and the program would end: pending edits are
    // saved first. When that fails, the user chooses between quitting without
    // them and keeping Tavro running. Whether the program may end.
    bool Form_Unload();
    // The program or the session ends without a question: pending edits are
    // saved if they can be.
    void SavePendingEdits();

  private:
    Dependencies d_;
};

}  // namespace tavro
