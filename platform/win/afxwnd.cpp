// The class library's window objects: the handle maps, the window procedure
// that routes messages through message maps, device-context and drawing
// object wrappers, data exchange and dialogs.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <map>
#include <unordered_map>

#include "afxwin.h"
#include "afxexception.h"
#include "dlgscript.h"
#include "module.h"
#include "wndimpl.h"

// The maps from handles to the objects that wrap them. Permanent entries are
// objects the program made; temporary ones are made by FromHandle for
// handles nobody wraps and live until their handle is gone.
struct AfxTemporaryMaps {
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> tempWnd;
  std::map<std::pair<HGDIOBJ, int>, std::unique_ptr<CGdiObject>> tempGdi;
  std::unordered_map<HDC, std::unique_ptr<CDC>> tempDC;
  CWnd* pWndInit = nullptr;  // the object whose window is being made
  MSG current{};

  static AfxTemporaryMaps& Get() {
    static AfxTemporaryMaps maps;
    return maps;
  }
  static void MarkTemporary(CWnd* w) { w->m_bTemporary = true; }
  static void MarkTemporary(CGdiObject* g) { g->m_bTemporary = true; }
  static void MarkTemporary(CDC* d) { d->m_bTemporary = true; }
  static void SetSuper(CWnd* w, WNDPROC p) { w->m_pfnSuper = p; }

  // Drops the temporary wrappers of handles that are gone.
  void PurgeWindows() {
    for (auto it = tempWnd.begin(); it != tempWnd.end();) it = ::IsWindow(it->first) ? std::next(it) : tempWnd.erase(it);
  }
  void PurgeGdi() {
    if (tempGdi.size() < 2048) return;
    for (auto it = tempGdi.begin(); it != tempGdi.end();) it = ::GetObjectType(it->first.first) ? std::next(it) : tempGdi.erase(it);
  }
};

namespace {
AfxTemporaryMaps& Maps() { return AfxTemporaryMaps::Get(); }

// Attaches the object under construction to its window before the window's
// first message, so that WM_NCCREATE and WM_CREATE reach the message map.
void CreateHook(HWND hWnd) {
  CWnd* w = Maps().pWndInit;
  if (!w) return;
  Maps().pWndInit = nullptr;
  w->m_hWnd = hWnd;
  Maps().permanent[hWnd] = w;
  auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
  AfxTemporaryMaps::SetSuper(w, old);
}

struct DataExchangeFailure : std::exception {
  const char* what() const noexcept override { return "data exchange failed"; }
};

std::wstring& AppName() {
  static std::wstring name;
  if (name.empty()) {
    wchar_t path[MAX_PATH] = {0};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    size_t slash = p.find_last_of(L"\\/");
    name = slash == std::wstring::npos ? p : p.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) name.resize(dot);
    if (name.empty()) name = L"Application";
  }
  return name;
}

HINSTANCE g_resourceHandle = nullptr;
}  // namespace

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CDialog, CWnd)

// ---------------------------------------------------------------- GDI objects

CGdiObject::~CGdiObject() {
  if (!m_bTemporary) DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
  if (!h) return FALSE;
  if (m_hObject && !m_bTemporary) ::DeleteObject(m_hObject);
  m_hObject = h;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  BOOL ok = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return ok;
}

BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

CGdiObject* AfxTempGdiObject(HGDIOBJ h, int kind) {
  if (!h) return nullptr;
  auto& m = Maps();
  m.PurgeGdi();
  auto key = std::make_pair(h, kind);
  auto it = m.tempGdi.find(key);
  if (it != m.tempGdi.end()) return it->second.get();
  std::unique_ptr<CGdiObject> obj;
  switch (kind) {
    case 1: obj = std::make_unique<CPen>(); break;
    case 2: obj = std::make_unique<CBrush>(); break;
    case 3: obj = std::make_unique<CFont>(); break;
    case 4: obj = std::make_unique<CBitmap>(); break;
    case 5: obj = std::make_unique<CRgn>(); break;
    default: obj = std::make_unique<CGdiObject>(); break;
  }
  AfxTemporaryMaps::MarkTemporary(obj.get());
  obj->m_hObject = h;
  CGdiObject* raw = obj.get();
  m.tempGdi.emplace(key, std::move(obj));
  return raw;
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR face, CDC* dc) {
  LOGFONT lf{};
  lf.lfHeight = pointSize;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face ? face : L"", LF_FACESIZE - 1);
  return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lf, CDC*) {
  LOGFONT copy = *lf;
  // Tenths of a point at 96 pixels per inch, as a character height.
  copy.lfHeight = -MulDiv(std::abs(lf->lfHeight), 96, 720);
  return CreateFontIndirect(&copy);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

BOOL CBitmap::LoadBitmap(UINT id) { return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id))); }
BOOL CBitmap::LoadBitmap(LPCTSTR name) { return Attach(::LoadBitmapW(AfxGetResourceHandle(), name)); }

CSize CBitmap::GetBitmapDimension() const {
  BITMAP bm{};
  GetBitmap(&bm);
  return CSize(bm.bmWidth, bm.bmHeight);
}

// ---------------------------------------------------------------- device contexts

CDC::~CDC() {
  if (m_hDC && m_bOwned && !m_bTemporary) ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC hdc) {
  if (!hdc) return FALSE;
  m_hDC = m_hAttribDC = hdc;
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  m_bOwned = false;
  return h;
}

CDC* CDC::FromHandle(HDC hdc) {
  if (!hdc) return nullptr;
  auto& m = Maps();
  auto it = m.tempDC.find(hdc);
  if (it != m.tempDC.end()) return it->second.get();
  if (m.tempDC.size() > 256) m.tempDC.clear();
  auto dc = std::make_unique<CDC>();
  AfxTemporaryMaps::MarkTemporary(dc.get());
  dc->Attach(hdc);
  CDC* raw = dc.get();
  m.tempDC.emplace(hdc, std::move(dc));
  return raw;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  HDC h = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
  if (!h) return FALSE;
  Attach(h);
  m_bOwned = true;
  return TRUE;
}

BOOL CDC::CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const void* initData) {
  HDC h = ::CreateDCW(driver, device, output, static_cast<const DEVMODEW*>(initData));
  if (!h) return FALSE;
  Attach(h);
  m_bOwned = true;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  Maps().tempDC.erase(m_hDC);
  BOOL ok = ::DeleteDC(m_hDC);
  m_hDC = m_hAttribDC = nullptr;
  m_bOwned = false;
  m_bPrinting = FALSE;
  return ok;
}

CPen* CDC::SelectObject(CPen* pen) {
  return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen ? pen->m_hObject : nullptr)));
}
CBrush* CDC::SelectObject(CBrush* brush) {
  return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush ? brush->m_hObject : nullptr)));
}
CFont* CDC::SelectObject(CFont* font) {
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font ? font->m_hObject : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : nullptr)));
}
CGdiObject* CDC::SelectObject(CGdiObject* object) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, object ? object->m_hObject : nullptr));
}
CGdiObject* CDC::SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }

void CDC::FillSolidRect(LPCRECT r, COLORREF c) {
  HBRUSH b = ::CreateSolidBrush(c);
  ::FillRect(m_hDC, r, b);
  ::DeleteObject(b);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }
CPaintDC::~CPaintDC() {
  Maps().tempDC.erase(m_hDC);
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() {
  Maps().tempDC.erase(m_hDC);
  ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }
CWindowDC::~CWindowDC() {
  Maps().tempDC.erase(m_hDC);
  ::ReleaseDC(m_hWnd, Detach());
}

// ---------------------------------------------------------------- windows

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() { win::wnd::SetCreateHook(&CreateHook); }

CWnd::CWnd(HWND special) : m_hWnd(special) { m_bTemporary = true; }

CWnd::~CWnd() {
  if (m_bTemporary || !m_hWnd) return;
  auto& m = Maps();
  auto it = m.permanent.find(m_hWnd);
  if (it != m.permanent.end() && it->second == this) {
    // The object goes before its window: the window goes too, without
    // calling into the half-destroyed object.
    HWND h = m_hWnd;
    UnsubclassWindow();
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  auto& m = Maps();
  auto it = m.permanent.find(hWnd);
  return it == m.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (CWnd* w = FromHandlePermanent(hWnd)) return w;
  auto& m = Maps();
  auto it = m.tempWnd.find(hWnd);
  if (it != m.tempWnd.end()) return it->second.get();
  if (m.tempWnd.size() > 64) m.PurgeWindows();
  auto w = std::make_unique<CWnd>();
  AfxTemporaryMaps::MarkTemporary(w.get());
  w->m_hWnd = hWnd;
  CWnd* raw = w.get();
  m.tempWnd.emplace(hWnd, std::move(w));
  return raw;
}

BOOL CWnd::Attach(HWND hWnd) {
  if (!hWnd || FromHandlePermanent(hWnd)) return FALSE;
  m_hWnd = hWnd;
  Maps().permanent[hWnd] = this;
  Maps().tempWnd.erase(hWnd);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) {
    auto& m = Maps();
    auto it = m.permanent.find(h);
    if (it != m.permanent.end() && it->second == this) m.permanent.erase(it);
  }
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  return TRUE;
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs{param, AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x, static_cast<LONG>(style),
                  windowName, className, exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  Maps().pWndInit = this;
  HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx,
                             cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  Maps().pWndInit = nullptr;
  return h != nullptr;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

void CWnd::GetWindowText(CString& text) const {
  int n = ::GetWindowTextLengthW(m_hWnd);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  int got = ::GetWindowTextW(m_hWnd, buf.data(), n + 1);
  text = CString(buf.c_str(), got);
}

void CWnd::GetDlgItemText(int id, CString& text) const {
  text.Empty();
  if (HWND c = ::GetDlgItem(m_hWnd, id)) FromHandle(c)->GetWindowText(text);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
  RECT around{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  if (GetStyle() & WS_CHILD) {
    owner = ::GetParent(m_hWnd);
    ::GetClientRect(owner, &around);
  } else if (owner && ::IsWindowVisible(owner)) {
    ::GetWindowRect(owner, &around);
  }
  RECT r;
  ::GetWindowRect(m_hWnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  ::SetWindowPos(m_hWnd, nullptr, around.left + (around.right - around.left - w) / 2,
                 around.top + (around.bottom - around.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) {
  if (!dc) return 0;
  HDC h = dc->m_hDC;
  Maps().tempDC.erase(h);
  return ::ReleaseDC(m_hWnd, h);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  DWORD style = GetStyle();
  DWORD next = (style & ~remove) | add;
  if (next == style) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG>(next));
  if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  DWORD style = GetExStyle();
  DWORD next = (style & ~remove) | add;
  if (next == style) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(next));
  if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

int CWnd::GetScrollLimit(int bar) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  ::GetScrollInfo(m_hWnd, bar, &si);
  return si.nMax - std::max<int>(static_cast<int>(si.nPage) - 1, 0);
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  return ::MessageBoxW(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const DataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}

// ---------------------------------------------------------------- message routing

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const MSG* CWnd::GetCurrentMessage() { return &Maps().current; }

LRESULT CWnd::Default() {
  const MSG& m = Maps().current;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::DispatchEntries(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      UINT entryMessage = e->pnRegistered ? *e->pnRegistered : e->nMessage;
      if (entryMessage != message || (e->pnRegistered && message == 0)) continue;
      if (message == WM_COMMAND || message == WM_NOTIFY) {
        if (e->nCode != code || id < e->nID || id > e->nLastID) continue;
      } else if (message == WM_REFLECT_BASE + WM_COMMAND || message == WM_REFLECT_BASE + WM_NOTIFY) {
        if (e->nCode != code) continue;
      }
      UINT original = message == WM_CTLCOLOR ? Maps().current.message : message;
      if (e->pfn(this, original, wParam, lParam, pResult)) return TRUE;
      return FALSE;
    }
  }
  return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      *pResult = 1;
      return TRUE;
    }
    return FALSE;
  }
  if (message == WM_NOTIFY) {
    LRESULT r = 0;
    if (OnNotify(wParam, lParam, &r)) {
      *pResult = r;
      return TRUE;
    }
    return FALSE;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    return DispatchEntries(WM_CTLCOLOR, 0, 0, wParam, lParam, pResult);
  }
  return DispatchEntries(message, 0, 0, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam), code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control) {
    // The control may handle its own notification (reflection).
    if (CWnd* child = FromHandlePermanent(control); child && child != this)
      if (child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
  }
  LRESULT r = 0;
  return DispatchEntries(WM_COMMAND, code, id, wParam, lParam, &r);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (!hdr) return FALSE;
  if (CWnd* child = FromHandlePermanent(hdr->hwndFrom); child && child != this)
    if (child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) return TRUE;
  return DispatchEntries(WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom), wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT r = 0;
  if (!pResult) pResult = &r;
  if (message == WM_COMMAND) return DispatchEntries(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, wParam, lParam, pResult);
  if (message == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    return hdr && DispatchEntries(WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0, wParam, lParam, pResult);
  }
  return FALSE;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* w = FromHandlePermanent(hWnd);
  if (!w) return ::DefWindowProcW(hWnd, message, wParam, lParam);
  auto& m = Maps();
  MSG saved = m.current;
  m.current = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
  LRESULT r = 0;
  try {
    r = w->WindowProc(message, wParam, lParam);
  } catch (CException* e) {
    // A library exception that a handler let escape is reported to the
    // user, and the message counts as handled (a failed creation as failed).
    m.current = saved;
    e->ReportError(MB_ICONEXCLAMATION);
    e->Delete();
    r = message == WM_CREATE ? -1 : 0;
  }
  m.current = saved;
  if (message == WM_NCDESTROY) {
    // The window is gone: the object lets go of it and may delete itself.
    if (FromHandlePermanent(hWnd) == w) {
      WNDPROC super = w->m_pfnSuper;
      w->UnsubclassWindow();
      (void)super;
      w->PostNcDestroy();
    }
  }
  return r;
}

// ---------------------------------------------------------------- data exchange

HWND CDataExchange::PrepareCtrl(int id) {
  HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
  if (!h) Fail();
  return h;
}

void CDataExchange::Fail() { throw DataExchangeFailure(); }

void AFXAPI DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd) return;
  HWND h = pDX->PrepareCtrl(id);
  if (!control.SubclassWindow(h)) pDX->Fail();
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, CString& value) {
  HWND h = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) CWnd::FromHandle(h)->GetWindowText(value);
  else ::SetWindowTextW(h, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, int& value) {
  HWND h = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    CString text;
    CWnd::FromHandle(h)->GetWindowText(text);
    wchar_t* end = nullptr;
    long v = std::wcstol(text, &end, 10);
    if (end == text.GetString()) {
      ::MessageBoxW(pDX->m_pDlgWnd->m_hWnd, L"请输入一个整数。", nullptr, MB_OK | MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    value = static_cast<int>(v);
  } else {
    ::SetWindowTextW(h, std::to_wstring(value).c_str());
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, UINT& value) {
  int v = static_cast<int>(value);
  DDX_Text(pDX, id, v);
  if (pDX->m_bSaveAndValidate) value = static_cast<UINT>(v);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, double& value) {
  HWND h = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    CString text;
    CWnd::FromHandle(h)->GetWindowText(text);
    wchar_t* end = nullptr;
    double v = std::wcstod(text, &end);
    if (end == text.GetString()) {
      ::MessageBoxW(pDX->m_pDlgWnd->m_hWnd, L"请输入一个数字。", nullptr, MB_OK | MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    value = v;
  } else {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.15g", value);
    ::SetWindowTextW(h, buf);
  }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int id, int& value) {
  HWND h = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
  else ::SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
  HWND h = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageW(h, CB_GETCURSEL, 0, 0));
  else ::SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int id, CString& value) {
  HWND h = pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    CWnd::FromHandle(h)->GetWindowText(value);
  } else if (::SendMessageW(h, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR) {
    ::SetWindowTextW(h, value);
  }
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  wchar_t buf[128];
  std::swprintf(buf, 128, L"请输入 %d 到 %d 之间的整数。", minVal, maxVal);
  ::MessageBoxW(pDX->m_pDlgWnd->m_hWnd, buf, nullptr, MB_OK | MB_ICONEXCLAMATION);
  pDX->Fail();
}

// ---------------------------------------------------------------- dialogs

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
  ON_COMMAND(IDOK, &CDialog::OnOKCommand)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog() = default;
CDialog::CDialog(UINT idTemplate, CWnd* parent)
    : m_nIDHelp(idTemplate), m_lpszTemplateName(MAKEINTRESOURCEW(idTemplate)), m_pParentWnd(parent) {}
CDialog::CDialog(LPCTSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {
  if (IS_INTRESOURCE(templateName)) m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(templateName));
}
CDialog::~CDialog() = default;

BOOL CDialog::CreateFromResource(CWnd* parent, bool modal) {
  UINT id = IS_INTRESOURCE(m_lpszTemplateName) ? static_cast<UINT>(reinterpret_cast<uintptr_t>(m_lpszTemplateName)) : 0;
  HINSTANCE instance = m_hResource ? m_hResource : AfxGetResourceHandle();
  const win::DialogResource* tmpl = win::FindDialogResource(instance, id);
  if (!tmpl) return FALSE;
  win::DialogResource copy = *tmpl;
  if (modal) copy.style &= ~WS_VISIBLE;
  HWND owner = parent ? parent->m_hWnd : ::GetActiveWindow();
  if (owner) owner = ::GetAncestor(owner, GA_ROOT);
  HWND h = win::CreateDialogFromTemplate(copy, instance, owner, nullptr, 0, [this](HWND dlg) { SubclassWindow(dlg); });
  return h != nullptr;
}

INT_PTR CDialog::DoModal() {
  if (!CreateFromResource(m_pParentWnd, true)) return -1;
  HWND h = m_hWnd;
  if (!h) return IDCANCEL;
  return win::RunModalLoop(h);
}

BOOL CDialog::Create(UINT idTemplate, CWnd* parent) { return Create(MAKEINTRESOURCEW(idTemplate), parent); }

BOOL CDialog::Create(LPCTSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  if (IS_INTRESOURCE(templateName)) m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(templateName));
  if (parent) m_pParentWnd = parent;
  return CreateFromResource(m_pParentWnd, false);
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::OnInitDialog() { return UpdateData(FALSE) ? TRUE : TRUE; }

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}

// ---------------------------------------------------------------- controls

void CComboBox::GetLBText(int index, CString& text) const {
  int n = GetLBTextLen(index);
  if (n < 0) {
    text.Empty();
    return;
  }
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  GetLBText(index, buf.data());
  text = CString(buf.c_str(), n);
}

// ---------------------------------------------------------------- global functions

HINSTANCE AFXAPI AfxGetResourceHandle() { return g_resourceHandle; }
void AFXAPI AfxSetResourceHandle(HINSTANCE instance) { g_resourceHandle = instance; }
HINSTANCE AFXAPI AfxGetInstanceHandle() { return g_resourceHandle; }
LPCTSTR AFXAPI AfxGetAppName() { return AppName().c_str(); }
void win::SetAppName(const wchar_t* name) { AppName() = name ? name : L""; }

int AFXAPI AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  return ::MessageBoxW(::GetActiveWindow(), text, AfxGetAppName(), type);
}

int AFXAPI AfxMessageBox(UINT idPrompt, UINT type, UINT) {
  wchar_t buf[1024] = {0};
  ::LoadStringW(AfxGetResourceHandle(), idPrompt, buf, 1024);
  return AfxMessageBox(buf, type, 0);
}

BOOL AFXAPI AfxRegisterClass(WNDCLASS* wndClass) {
  WNDCLASS existing;
  if (::GetClassInfoW(wndClass->hInstance, wndClass->lpszClassName, &existing)) return TRUE;
  return ::RegisterClassW(wndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static std::map<std::wstring, std::wstring> names;
  wchar_t buf[128];
  std::swprintf(buf, 128, L"Afx:%x:%lx:%lx:%lx", classStyle, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(cursor)),
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(background)),
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(icon)));
  auto it = names.find(buf);
  if (it != names.end()) return it->second.c_str();
  std::wstring& name = names[buf];
  name = buf;
  WNDCLASS wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name.c_str();
  AfxRegisterClass(&wc);
  return name.c_str();
}

BOOL AFXAPI AfxOleInit() { return SUCCEEDED(::OleInitialize(nullptr)); }
