#include "app/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace tavro {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler reaches nothing but process-wide state: the pipe's
// writing end, set while a TerminationSignals lives.
volatile std::sig_atomic_t signalPipe = -1;

void WriteToSignalPipe(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds bytes enough to wake the loop.
    [[maybe_unused]] const ssize_t written = write(signalPipe, &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("cannot make a pipe for the termination signals");
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    signalPipe = writeEnd_;
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                     [this, onSignal = std::move(onSignal)] {
                         char bytes[16];
                         while (read(readEnd_, bytes, sizeof(bytes)) > 0) {
                         }
                         onSignal();
                     });
    struct sigaction action {};
    action.sa_handler = WriteToSignalPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) {
        sigaction(signal, &action, nullptr);
    }
    signalPipe = -1;
    notifier_.reset();
    close(readEnd_);
    close(writeEnd_);
}

}  // namespace tavro
