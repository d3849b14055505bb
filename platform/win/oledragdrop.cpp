// OLE drag and drop: the registered drop targets and the drag loop, which
// takes the mouse into a hidden tracking window and the scripted user's
// lines until the drop or a cancel.
#include <algorithm>
#include <cstring>
#include <string>

#include "afxole.h"
#include "dlgscript.h"
#include "script.h"
#include "textutil.h"

namespace win {
namespace {

// Registered targets by window.
std::map<HWND, COleDropTarget*>& Targets() {
  static std::map<HWND, COleDropTarget*> targets;
  return targets;
}

// The drop target for a screen point: the innermost window under it that
// is registered, or one of its parents.
COleDropTarget* TargetAt(POINT screen, HWND& hTarget) {
  for (HWND h = WindowFromPoint(screen); h; h = GetParent(h)) {
    auto it = Targets().find(h);
    if (it != Targets().end() && IsWindow(h)) {
      hTarget = h;
      return it->second;
    }
  }
  hTarget = nullptr;
  return nullptr;
}

// What the tracking window saw since the last look.
struct TrackEvents {
  bool moved = false;
  bool dropped = false;
  bool cancelled = false;
  POINT screen{0, 0};
  DWORD keys = 0;
};
TrackEvents* g_pEvents = nullptr;

LRESULT CALLBACK TrackerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_pEvents) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
      case WM_MOUSEMOVE:
        ClientToScreen(hWnd, &pt);
        g_pEvents->moved = true;
        g_pEvents->screen = pt;
        g_pEvents->keys = static_cast<DWORD>(wParam);
        return 0;
      case WM_LBUTTONUP:
        ClientToScreen(hWnd, &pt);
        g_pEvents->dropped = true;
        g_pEvents->screen = pt;
        g_pEvents->keys = static_cast<DWORD>(wParam);
        return 0;
      case WM_RBUTTONDOWN:
        g_pEvents->cancelled = true;
        return 0;
      case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) g_pEvents->cancelled = true;
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CreateTracker() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TrackerProc;
    wc.lpszClassName = L"OleDragTracker";
    RegisterClassW(&wc);
    registered = true;
  }
  // At the screen's origin, so its client points are screen points.
  return CreateWindowExW(0, L"OleDragTracker", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

using textutil::Trim;
using textutil::Trimmed;
using textutil::Upper;

bool IsCancelLine(const std::string& raw) {
  std::string line = Upper(Trim(raw));
  if (line == "^C") return true;
  if (line.rfind("@KEY", 0) != 0) return false;
  std::string key = Trimmed(std::string_view(line).substr(4));
  return key == "ESC" || key == "ESCAPE";
}

// The effect a target's answer allows: within the source's effects, one of
// them, copy or move first.
DROPEFFECT Allowed(DROPEFFECT answer, DWORD effects) {
  DROPEFFECT masked = answer & effects & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
  if (masked & DROPEFFECT_MOVE) return (masked & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  if (masked & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  return masked & DROPEFFECT_LINK;
}

}  // namespace
}  // namespace win

using namespace win;

// ---------------------------------------------------------------- data

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const {
  return m_pSource && m_pSource->GetCachedData(cfFormat) != nullptr;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const {
  HGLOBAL hSource = m_pSource ? m_pSource->GetCachedData(cfFormat) : nullptr;
  if (!hSource) return nullptr;
  SIZE_T nSize = GlobalSize(hSource);
  HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, std::max<SIZE_T>(nSize, 1));
  if (!hCopy) return nullptr;
  void* pFrom = GlobalLock(hSource);
  void* pTo = GlobalLock(hCopy);
  if (pFrom && pTo && nSize) memcpy(pTo, pFrom, nSize);
  GlobalUnlock(hCopy);
  GlobalUnlock(hSource);
  return hCopy;
}

COleDataSource::~COleDataSource() { Empty(); }

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal) {
  if (!hGlobal) return;
  auto it = m_data.find(cfFormat);
  if (it != m_data.end() && it->second != hGlobal) GlobalFree(it->second);
  m_data[cfFormat] = hGlobal;
}

void COleDataSource::Empty() {
  for (auto& [format, hGlobal] : m_data) GlobalFree(hGlobal);
  m_data.clear();
}

HGLOBAL COleDataSource::GetCachedData(CLIPFORMAT cfFormat) const {
  auto it = m_data.find(cfFormat);
  return it == m_data.end() ? nullptr : it->second;
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (bEscapePressed) return DRAGDROP_S_CANCEL;
  if (!(dwKeyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---------------------------------------------------------------- targets

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd) {
  if (!pWnd || !pWnd->GetSafeHwnd() || m_hWnd) return FALSE;
  auto& targets = Targets();
  auto it = targets.find(pWnd->GetSafeHwnd());
  // A window whose old target went with the window before it may be taken.
  if (it != targets.end() && it->second != this) {
    if (IsWindow(it->first) && it->second->m_hWnd == it->first) return FALSE;
    targets.erase(it);
  }
  m_hWnd = pWnd->GetSafeHwnd();
  targets[m_hWnd] = this;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (!m_hWnd) return;
  auto& targets = Targets();
  auto it = targets.find(m_hWnd);
  if (it != targets.end() && it->second == this) targets.erase(it);
  m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
  return static_cast<DROPEFFECT>(-1);
}
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

// ---------------------------------------------------------------- the drag loop

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT, COleDropSource* pDropSource) {
  COleDropSource defaultSource;
  if (!pDropSource) pDropSource = &defaultSource;
  // Lines that are not the drag's go to the dialog the drag began in.
  HWND hSource = GetCapture() ? GetCapture() : GetFocus();
  HWND hRoot = hSource ? GetAncestor(hSource, GA_ROOT) : GetActiveWindow();
  if (!hRoot) return DROPEFFECT_NONE;

  TrackEvents events;
  HWND hTracker = CreateTracker();
  if (!hTracker) return DROPEFFECT_NONE;
  TrackEvents* pOuter = g_pEvents;
  g_pEvents = &events;
  SetCapture(hTracker);

  COleDataObject dataObject;
  dataObject.Attach(this);
  COleDropTarget* pTarget = nullptr;
  HWND hTarget = nullptr;
  DROPEFFECT effect = DROPEFFECT_NONE;
  // Enters, or leaves and enters, the target under the point, then drags over it.
  auto over = [&](POINT screen, DWORD keys) {
    HWND hNew = nullptr;
    COleDropTarget* pNew = TargetAt(screen, hNew);
    if (hNew != hTarget || pNew != pTarget) {
      if (pTarget && IsWindow(hTarget)) pTarget->OnDragLeave(CWnd::FromHandle(hTarget));
      pTarget = pNew;
      hTarget = hNew;
      effect = DROPEFFECT_NONE;
      if (!pTarget) return;
      POINT client = screen;
      ScreenToClient(hTarget, &client);
      effect = Allowed(pTarget->OnDragEnter(CWnd::FromHandle(hTarget), &dataObject, keys, client), dwEffects);
      return;
    }
    if (!pTarget) return;
    POINT client = screen;
    ScreenToClient(hTarget, &client);
    effect = Allowed(pTarget->OnDragOver(CWnd::FromHandle(hTarget), &dataObject, keys, client), dwEffects);
  };

  POINT start{0, 0};
  GetCursorPos(&start);
  over(start, MK_LBUTTON);

  DROPEFFECT result = DROPEFFECT_NONE;
  bool done = false;
  while (!done) {
    std::optional<std::string> line = user::Script::Instance().Next();
    if (!line || IsCancelLine(*line)) {
      events.cancelled = true;
    } else {
      events.moved = events.dropped = false;
      HandleWindowLine(hRoot, *line);
      // A window that took the mouse away (a message box) ends the drag.
      if (GetCapture() != hTracker) events.cancelled = true;
    }
    SCODE sc = pDropSource->QueryContinueDrag(events.cancelled, events.dropped ? events.keys & ~MK_LBUTTON : MK_LBUTTON);
    if (sc == DRAGDROP_S_CANCEL) {
      if (pTarget && IsWindow(hTarget)) pTarget->OnDragLeave(CWnd::FromHandle(hTarget));
      done = true;
    } else if (sc == DRAGDROP_S_DROP) {
      over(events.screen, events.keys | MK_LBUTTON);
      if (pTarget && effect != DROPEFFECT_NONE) {
        POINT client = events.screen;
        ScreenToClient(hTarget, &client);
        CWnd* pWnd = CWnd::FromHandle(hTarget);
        DROPEFFECT dropped = pTarget->OnDropEx(pWnd, &dataObject, effect, dwEffects, client);
        if (dropped == static_cast<DROPEFFECT>(-1))
          dropped = pTarget->OnDrop(pWnd, &dataObject, effect, client) ? effect : DROPEFFECT_NONE;
        result = dropped;
      } else if (pTarget && IsWindow(hTarget)) {
        pTarget->OnDragLeave(CWnd::FromHandle(hTarget));
      }
      done = true;
    } else if (events.moved) {
      over(events.screen, events.keys | MK_LBUTTON);
      pDropSource->GiveFeedback(effect);
    }
  }
  g_pEvents = pOuter;
  if (GetCapture() == hTracker) ReleaseCapture();
  DestroyWindow(hTracker);
  dataObject.Release();
  return result;
}
