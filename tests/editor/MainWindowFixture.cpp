#include "editor/MainWindowFixture.h"

#include <QListWidget>
#include <QTest>

#include "editor/SortedListBox.h"
#include "platform/fake/CallLog.h"
#include "store/StoreStatements.h"
#include "support/TriggerDatabase.h"

namespace tavro::test {

void QuietAboutRaising() {
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("This plugin does not support"))) {
                next(type, context, text);
            }
        });
}

MainWindowFixture::MainWindowFixture(const std::vector<TriggerRecord>& triggers,
                                     const ApplicationLists& applications)
    : main({.windows = platform.windows,
            .layout = platform.keyboard,
            .injector = platform.keyboard,
            .shell = platform.windows,
            .clipboard = platform.desktop,
            .trayIcon = platform.desktop,
            .eventLoop = platform.desktop,
            .clock = platform.desktop,
            .choice = platform.desktop,
            .trayMenu = platform.desktop,
            .database = database,
            .messages = platform.desktop,
            .questions = platform.desktop,
            .input = platform.desktop,
            .fileDialogs = platform.desktop,
            .pictures = pictures,
            .contentFiles = contentFiles,
            .exit = platform.desktop,
            .programFolder = folder.Path()}),
      form(main.Form()),
      triggers(main.TheEngine().Triggers()) {
    WriteTriggerDatabase(DatabasePath(), triggers, applications);
    form.onUnload = [this] { unloaded = true; };
    platform.keyboard.Start(main.TheEngine());
    form.HideForm();
    main.Lifecycle().Form_Activate();
    form.CenterForm();
    if (!QTest::qWaitForWindowActive(&form)) {
        qWarning("the main window did not become active");
    }
}

std::filesystem::path MainWindowFixture::DatabasePath() const {
    return folder.Path() / kDatabaseFileName;
}

std::vector<TriggerRecord> MainWindowFixture::Stored() const {
    return ReadStoredTriggers(DatabasePath());
}

void MainWindowFixture::ClickLine(QListWidget& list, int row) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
    QCoreApplication::processEvents();
}

std::vector<std::u16string> MainWindowFixture::ListLines() const {
    std::vector<std::u16string> lines;
    for (int row = 0; row < form.lstTriggers->count(); ++row) {
        lines.push_back(form.lstTriggers->List(row));
    }
    return lines;
}

std::vector<std::string> MainWindowFixture::Calls(std::string_view prefix) const {
    return platform.log.CallsStartingWith({prefix});
}

}  // namespace tavro::test
