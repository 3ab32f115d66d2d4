#include "app/TavroApplication.h"

#include <cstdlib>

#include "capture/KeyVocabulary.h"
#include "store/DataFolder.h"

namespace tavro {

namespace {

constexpr int kTimer1Milliseconds = 500;

}  // namespace

void ImmediateExit::EndProgram(int exitCode) {
    std::exit(exitCode);
}

TavroApplication::TavroApplication(const std::filesystem::path& programFolder)
    : programFolder_(programFolder),
      mainWindow_(programFolder),
      engine_(EnginePorts{.windows = windows_,
                          .layout = layout_,
                          .injector = injector_,
                          .shell = shell_,
                          .program = mainWindow_,
                          .keyBufferPage = mainWindow_,
                          .commands = mainWindow_,
                          .staging = staging_,
                          .clipboard = clipboard_,
                          .tray = tray_,
                          .eventLoop = eventLoop_,
                          .clock = clock_,
                          .choice = choice_,
                          .messages = messages_}),
      staging_(engine_, programFolder),
      clipboard_([this] { return staging_.TriggerPicture(); }),
      choice_(engine_),
      store_({.triggers = engine_.Triggers(),
              .applications = engine_.Applications(),
              .programFolder = programFolder,
              .engine = database_,
              .messages = messages_,
              .exit = exit_,
              .lstTriggers = lstTriggers_,
              .tray = mainWindow_,
              .lstSendKey = lstSendKey_,
              .lstTextOnly = lstTextOnly_,
              .staging = staging_}),
      hookEvents_(hook_.FileDescriptor(), QSocketNotifier::Read),
      windowEvents_(connection_.FileDescriptor(), QSocketNotifier::Read) {}

void TavroApplication::Start() {
    store_.LoadTriggers();
    CheckDataFolder(programFolder_);
    engine_.Capture().modifiers.CapsLockOn = engine_.Windows().KeyStateOn(kKeyCapsLock);
    WatchX11();
    hook_.Start(engine_);
    tray_.Icon().show();
}

void TavroApplication::WatchX11() {
    QObject::connect(&hookEvents_, &QSocketNotifier::activated,
                     [this] { hook_.ProcessPendingEvents(); });
    QObject::connect(&windowEvents_, &QSocketNotifier::activated,
                     [this] { connection_.ProcessPendingEvents(); });
    QObject::connect(&timer1_, &QTimer::timeout, [this] { engine_.Timer1_Timer(); });
    timer1_.start(kTimer1Milliseconds);
    // The server sends recorded key events only when it flushes output to
    // some client; and characters typed through borrowed keycodes get their
    // keys back once typing pauses.
    QObject::connect(&flushTimer_, &QTimer::timeout, [this] {
        hook_.FlushRecordedEvents();
        injector_.RestoreKeymapWhenIdle();
    });
    flushTimer_.start(static_cast<int>(x11::X11KeyboardHook::kFlushPeriod.count()));
}

}  // namespace tavro
