#pragma once

#include <filesystem>
#include <vector>

#include "editor/MainWindow.h"
#include "platform/fake/FakeContentFiles.h"
#include "platform/fake/FakePictureLoader.h"
#include "platform/fake/FakePlatform.h"
#include "store/sqlite/SqliteDatabase.h"
#include "support/TemporaryFolder.h"

class QListWidget;

namespace tavro::test {

// Keeps the offscreen platform from saying, every time, that it cannot raise
// windows or pass on size hints; other messages pass.
void QuietAboutRaising();

// The real main window on the fake platform, over a real trigger database in
// a folder of its own: started as the program starts it (out of sight, then
// loaded), and then opened as the tray's Open opens it.
class MainWindowFixture {
  public:
    explicit MainWindowFixture(const std::vector<TriggerRecord>& triggers,
                               const ApplicationLists& applications = {});

    std::filesystem::path DatabasePath() const;
    // The database as it is now on disk.
    std::vector<TriggerRecord> Stored() const;

    // Clicks the line of the list at `row` as the user does, and lets the
    // window handle it.
    static void ClickLine(QListWidget& list, int row);
    std::vector<std::u16string> ListLines() const;
    std::vector<std::string> Calls(std::string_view prefix) const;

    TemporaryFolder folder{"tavro-window"};
    fake::FakePlatform platform;
    fake::FakePictureLoader pictures{platform.log};
    // Content files are read from the disk, each read recorded.
    fake::FakeContentFiles contentFiles{platform.log};
    SqliteEngine database;
    MainWindow main;
    frmTavro& form;
    TriggerTable& triggers;
    // Whether the window has closed for good, ending the program.
    bool unloaded = false;
};

}  // namespace tavro::test
