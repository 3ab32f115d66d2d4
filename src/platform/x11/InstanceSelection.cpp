#include "platform/x11/InstanceSelection.h"

namespace tavro::x11 {

InstanceSelection::InstanceSelection(XConnection& connection)
    : connection_(connection),
      selection_(XInternAtom(display(), "TAVRO_INSTANCE", False)),
      showRequest_(XInternAtom(display(), "TAVRO_SHOW_MAIN_WINDOW", False)),
      window_(XCreateSimpleWindow(display(), connection.Root(), -1, -1, 1, 1, 0, 0, 0)) {
    connection_.AddListener(*this);
}

InstanceSelection::~InstanceSelection() {
    connection_.RemoveListener(*this);
    XDestroyWindow(display(), window_);
    XFlush(display());
}

bool InstanceSelection::TakeOrAskOwner() {
    // Looking and taking in one step: of two programs starting at once, one
    // finds the other as the owner.
    XGrabServer(display());
    const Window owner = XGetSelectionOwner(display(), selection_);
    if (owner == None) {
        XSetSelectionOwner(display(), selection_, window_, CurrentTime);
    }
    XUngrabServer(display());
    if (owner == None) {
        return XGetSelectionOwner(display(), selection_) == window_;
    }
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = owner;
    request.xclient.message_type = showRequest_;
    request.xclient.format = 32;
    XSendEvent(display(), owner, False, NoEventMask, &request);
    XSync(display(), False);
    return false;
}

void InstanceSelection::OnXEvent(const XEvent& event) {
    if (event.type == ClientMessage && event.xclient.window == window_ &&
        event.xclient.message_type == showRequest_) {
        if (onShowRequest) {
            onShowRequest();
        }
    } else if (event.type == SelectionRequest && event.xselectionrequest.owner == window_) {
        // The selection only marks the running program: it holds nothing to
        // paste, and says so.
        const XSelectionRequestEvent& asked = event.xselectionrequest;
        XEvent refusal{};
        refusal.xselection.type = SelectionNotify;
        refusal.xselection.requestor = asked.requestor;
        refusal.xselection.selection = asked.selection;
        refusal.xselection.target = asked.target;
        refusal.xselection.property = None;
        refusal.xselection.time = asked.time;
        XSendEvent(display(), asked.requestor, False, NoEventMask, &refusal);
        XFlush(display());
    }
}

}  // namespace tavro::x11
