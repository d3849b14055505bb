// The clipboard on the X display: text set in this process is offered as the
// CLIPBOARD selection (UTF8_STRING, TEXT and STRING, and the TARGETS list);
// text another program offers is fetched when this process does not own the
// selection. Text larger than one piece goes both ways in pieces (INCR).
#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

#include "xdisplayimpl.h"

namespace win::xdisplay {

namespace {

// The largest piece put into a property at once: within one request, and
// small enough for any requestor.
size_t PieceSize(Display* dpy) {
  long limit = XExtendedMaxRequestSize(dpy);
  if (limit == 0) limit = XMaxRequestSize(dpy);
  return static_cast<size_t>(std::clamp<long>(limit * 4 - 256, 4096, 256 * 1024));
}

// Waits up to a second for the helper window's `property` to get a new value.
bool WaitForNewValue(XBackend& x, Atom property) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  XEvent ev;
  for (;;) {
    while (XCheckTypedWindowEvent(x.dpy, x.helper, PropertyNotify, &ev))
      if (ev.xproperty.atom == property && ev.xproperty.state == PropertyNewValue) return true;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(x.dpy), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50)));
    XEventsQueued(x.dpy, QueuedAfterReading);
  }
}

}  // namespace

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
  bool incr = type == atoms.incr;
  if (data && format == 8 && !incr) text = std::string(reinterpret_cast<char*>(data), count);
  if (data) XFree(data);
  if (!incr) return text;
  // In pieces: deleting the property (done by the read above) asks for the
  // next one; an empty piece ends the text. A stalled owner gives nothing.
  std::string whole;
  for (;;) {
    if (!WaitForNewValue(*this, atoms.property)) return std::nullopt;
    data = nullptr;
    if (XGetWindowProperty(dpy, helper, atoms.property, 0, 0x1000000, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success)
      return std::nullopt;
    std::string piece = data && format == 8 ? std::string(reinterpret_cast<char*>(data), count) : std::string();
    if (data) XFree(data);
    if (piece.empty()) return whole;
    whole += piece;
  }
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
      Atom type = req.target == XA_STRING ? XA_STRING : a.utf8String;
      if (x.clipboardText.size() <= PieceSize(x.dpy)) {
        XChangeProperty(x.dpy, req.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(x.clipboardText.data()),
                        static_cast<int>(x.clipboardText.size()));
      } else {
        // INCR: the size announced; the requestor deleting the property asks
        // for each piece (ContinueIncrTransfer).
        XSelectInput(x.dpy, req.requestor, PropertyChangeMask);
        long size = static_cast<long>(x.clipboardText.size());
        XChangeProperty(x.dpy, req.requestor, property, a.incr, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&size), 1);
        std::erase_if(x.incrTransfers, [&](const XBackend::IncrTransfer& t) {
          return t.requestor == req.requestor && t.property == property;
        });
        x.incrTransfers.push_back({req.requestor, property, type, x.clipboardText, 0});
      }
      reply.property = property;
    }
  }
  XSendEvent(x.dpy, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
  XFlush(x.dpy);
}

}  // namespace win::xdisplay

namespace win::xdisplay {

bool ContinueIncrTransfer(XBackend& x, const XPropertyEvent& ev) {
  if (ev.state != PropertyDelete) return false;
  auto it = std::find_if(x.incrTransfers.begin(), x.incrTransfers.end(), [&](const XBackend::IncrTransfer& t) {
    return t.requestor == ev.window && t.property == ev.atom;
  });
  if (it == x.incrTransfers.end()) return false;
  size_t n = std::min(it->text.size() - it->sent, PieceSize(x.dpy));
  XChangeProperty(x.dpy, it->requestor, it->property, it->type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(it->text.data() + it->sent), static_cast<int>(n));
  it->sent += n;
  if (n == 0) {
    // The empty piece has gone out: the transfer is over.
    XSelectInput(x.dpy, it->requestor, NoEventMask);
    x.incrTransfers.erase(it);
  }
  XFlush(x.dpy);
  return true;
}

}  // namespace win::xdisplay
