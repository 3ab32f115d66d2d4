#include "app/TavroApplication.h"

#include <cstdlib>

namespace tavro {

namespace {

constexpr int kTimer1Milliseconds = 500;

}  // namespace

void ImmediateExit::EndProgram(int exitCode) {
    std::exit(exitCode);
}

TavroApplication::TavroApplication(const std::filesystem::path& programFolder)
    : programFolder_(programFolder),
      clipboard_([this] { return main_.Form().TriggerPicture(); },
                 [this] { return windows_.GetForegroundWindow(); }, hookEvents_),
      main_({.windows = windows_,
             .layout = layout_,
             .injector = injector_,
             .shell = shell_,
             .clipboard = clipboard_,
             .trayIcon = tray_,
             .eventLoop = eventLoop_,
             .clock = clock_,
             .choice = choice_,
             .trayMenu = trayMenu_,
             .database = database_,
             .messages = messages_,
             .questions = messages_,
             .input = input_,
             .fileDialogs = fileDialogs_,
             .pictures = pictures_,
             .contentFiles = contentFiles_,
             .exit = exit_,
             .programFolder = programFolder}),
      choice_(main_.TheEngine(), main_.Form()),
      trayMenu_(main_.TheEngine(), main_.Form(), tray_.Icon()),
      hookEvents_(hook_.FileDescriptor(), QSocketNotifier::Read),
      windowEvents_(connection_.FileDescriptor(), QSocketNotifier::Read) {
    QApplication::setWindowIcon(tray_.NormalIcon());
}

bool TavroApplication::BecomeTheOnlyInstance() {
    if (!instance_.TakeOrAskOwner()) {
        return false;
    }
    frmTavro& form = main_.Form();
    instance_.onShowRequest = [&form] { QTimer::singleShot(0, &form, &frmTavro::CenterForm); };
    return true;
}

void TavroApplication::Start() {
    frmTavro& form = main_.Form();
    form.ShowSplash();
    form.HideForm();
    main_.Lifecycle().Form_Activate();
    WatchX11();
    WatchShutdown();
    hook_.Start(main_.TheEngine());
    // Once the event loop runs, the keys recorded since the program began
    // reach the engine (a trigger typed meanwhile expands), then the tray
    // icon comes.
    QTimer::singleShot(0, [this] {
        hook_.ProcessPendingEvents();
        tray_.Icon().show();
    });
}

void TavroApplication::Shutdown() {
    injector_.RestoreKeymap();
    QCoreApplication::quit();
}

void TavroApplication::WatchX11() {
    QObject::connect(&hookEvents_, &QSocketNotifier::activated,
                     [this] { hook_.ProcessPendingEvents(); });
    QObject::connect(&windowEvents_, &QSocketNotifier::activated,
                     [this] { connection_.ProcessPendingEvents(); });
    // Besides the foreground watch: keys that reached no application get
    // to the hook, and characters typed through borrowed keycodes get their
    // keys back once typing has paused.
    QObject::connect(&timer1_, &QTimer::timeout, [this] {
        main_.TheEngine().Timer1_Timer();
        hook_.RequestRecordedEvents();
        injector_.RestoreKeymapWhenIdle();
    });
    timer1_.start(kTimer1Milliseconds);
}

// However the program ends, edits that are still pending are saved: File >
// Exit and closing the window ask first when the save fails; the end of the
// login session asks when the session manager lets it; any other end of the
// event loop (a signal, for one) saves without asking.
void TavroApplication::WatchShutdown() {
    frmTavro& form = main_.Form();
    form.onUnload = [this] {
        tray_.Icon().hide();
        QCoreApplication::quit();
    };
    FormLifecycle& lifecycle = main_.Lifecycle();
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &form,
                     [&lifecycle](QSessionManager& manager) {
                         if (!manager.allowsInteraction()) {
                             lifecycle.SavePendingEdits();
                             return;
                         }
                         if (!lifecycle.Form_Unload()) {
                             manager.cancel();
                         }
                         manager.release();
                     });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &form,
                     [&lifecycle] { lifecycle.SavePendingEdits(); });
}

}  // namespace tavro
