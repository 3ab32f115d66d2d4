#pragma once

#include <functional>

#include "platform/x11/XConnection.h"

namespace tavro::x11 {

// One Tavro per X display: two would expand every trigger twice. The running
// one owns the selection TAVRO_INSTANCE on a small window of its own, which
// the server gives up when the program ends, however it ends. A second start
// finds the owner and asks it, with a client message to that window, to show
// its main window.
class InstanceSelection final : private XEventListener {
  public:
    explicit InstanceSelection(XConnection& connection);
    ~InstanceSelection();
    InstanceSelection(const InstanceSelection&) = delete;
    InstanceSelection& operator=(const InstanceSelection&) = delete;

    // Takes the selection when nobody holds it and returns true. When another
    // program holds it, asks that one to show its main window and returns
    // false.
    bool TakeOrAskOwner();

    // Called when a later start asks this program to show its main window.
    std::function<void()> onShowRequest;

  private:
    void OnXEvent(const XEvent& event) override;
    Display* display() const { return connection_.get(); }

    XConnection& connection_;
    Atom selection_;
    Atom showRequest_;
    Window window_;
};

}  // namespace tavro::x11
