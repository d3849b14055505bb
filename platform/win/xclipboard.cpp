// The clipboard on the X display: text set in this process is offered as the
// CLIPBOARD selection (UTF8_STRING, TEXT and STRING, and the TARGETS list);
// text another program offers is fetched when this process does not own the
// selection. Text too large for one request is refused rather than cut.
#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>

#include "xdisplayimpl.h"

namespace win::xdisplay {

void XBackend::ClipboardSet(const std::string& utf8) {
  clipboardText = utf8;
  XSetSelectionOwner(dpy, atoms.clipboard, helper, CurrentTime);
  ownsClipboard = XGetSelectionOwner(dpy, atoms.clipboard) == helper;
  XFlush(dpy);
}

std::optional<std::string> XBackend::ClipboardFetch() {
  if (ownsClipboard) return std::nullopt;
  if (XGetSelectionOwner(dpy, atoms.clipboard) == None) return std::nullopt;
  XDeleteProperty(dpy, helper, atoms.property);
  XConvertSelection(dpy, atoms.clipboard, atoms.utf8String, atoms.property, helper, CurrentTime);
  XFlush(dpy);
  // The owner answers with SelectionNotify; a program that does not answer
  // within a second is given up on.
  XEvent ev;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  for (;;) {
    if (XCheckTypedWindowEvent(dpy, helper, SelectionNotify, &ev)) break;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return std::nullopt;
    pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50)));
  }
  if (ev.xselection.property == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, helper, atoms.property, 0, 0x1000000, True, AnyPropertyType, &type, &format, &count, &after,
                         &data) != Success)
    return std::nullopt;
  std::optional<std::string> text;
  if (data && format == 8 && type != atoms.incr) text = std::string(reinterpret_cast<char*>(data), count);
  if (data) XFree(data);
  return text;
}

void AnswerSelectionRequest(XBackend& x, const XSelectionRequestEvent& req) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = req.display;
  reply.requestor = req.requestor;
  reply.selection = req.selection;
  reply.target = req.target;
  reply.time = req.time;
  reply.property = None;
  Atom property = req.property == None ? req.target : req.property;
  const Atoms& a = x.atoms;
  if (req.selection == a.clipboard && x.ownsClipboard) {
    if (req.target == a.targets) {
      Atom offered[] = {a.targets, a.utf8String, a.text, XA_STRING};
      XChangeProperty(x.dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(offered), 4);
      reply.property = property;
    } else if (req.target == a.utf8String || req.target == a.text || req.target == XA_STRING) {
      long limit = XExtendedMaxRequestSize(x.dpy);
      if (limit == 0) limit = XMaxRequestSize(x.dpy);
      if (static_cast<long>(x.clipboardText.size()) < limit * 4 - 256) {
        XChangeProperty(x.dpy, req.requestor, property, req.target == XA_STRING ? XA_STRING : a.utf8String, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(x.clipboardText.data()),
                        static_cast<int>(x.clipboardText.size()));
        reply.property = property;
      }
    }
  }
  XSendEvent(x.dpy, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
  XFlush(x.dpy);
}

}  // namespace win::xdisplay
