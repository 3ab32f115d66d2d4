#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace tavro {

// SIGTERM, SIGINT and SIGHUP, turned into a call on the event loop: the
// signal handler only writes a byte into a pipe that the loop watches, the
// least a handler can safely do, and the call does the rest there. While
// the object lives, these signals no longer end the program by themselves.
class TerminationSignals {
  public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tavro
