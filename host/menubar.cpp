// The menu bar and its pop-up menus (menubar.h). The bar reads the model's
// titles each time it paints, so menus a module adds show at once. A pop-up
// is a window of its own that holds the pointer while open: a click on an
// item chooses it, a click anywhere else closes the menu.
#include "menubar.h"

#include <vector>

#include "acadmodel.h"
#include "acedframe.h"
#include "rxmfcapi.h"
#include "textutil.h"

namespace host::menubar {
namespace {

constexpr wchar_t kBarClass[] = L"AcadMenuBar";
constexpr wchar_t kPopupClass[] = L"AcadMenuPopup";
constexpr int kItemHeight = 20;

struct Entry {
  std::wstring label;  // empty: a separator
  std::function<void()> choose;
};

struct State {
  HWND bar = nullptr;
  HWND popup = nullptr;
  std::vector<Entry> entries;
  int hot = -1;
  int openIndex = -1;
  FileActions actions;
  HFONT font = nullptr;
};

State& S() {
  static State s;
  return s;
}

HFONT Font() {
  if (!S().font) {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    wcscpy(lf.lfFaceName, L"Tahoma");
    S().font = CreateFontIndirectW(&lf);
  }
  return S().font;
}

// The label without its '&' marks.
std::wstring Shown(const std::wstring& label) {
  std::wstring out;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] == L'&' && i + 1 < label.size() && label[i + 1] != L'&') continue;
    out.push_back(label[i]);
  }
  return out;
}

// The titles' left and right edges on the bar.
std::vector<std::pair<int, int>> TitleSpans(HDC dc, const std::vector<std::wstring>& titles) {
  std::vector<std::pair<int, int>> spans;
  int x = 4;
  HGDIOBJ old = SelectObject(dc, Font());
  for (const std::wstring& t : titles) {
    std::wstring shown = Shown(t);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    spans.emplace_back(x, x + size.cx + 16);
    x += size.cx + 16;
  }
  SelectObject(dc, old);
  return spans;
}

void TypeMacro(const std::wstring& macro) {
  if (CWnd* cmd = acedGetAcadDockCmdLine())
    for (wchar_t c : acad::MacroKeystrokes(macro)) cmd->SendMessage(WM_CHAR, c, 1);
}

void ClosePopup() {
  State& s = S();
  if (!s.popup) return;
  HWND p = s.popup;
  s.popup = nullptr;
  s.openIndex = -1;
  if (GetCapture() == p) ReleaseCapture();
  DestroyWindow(p);
  if (s.bar) InvalidateRect(s.bar, nullptr, FALSE);
}

void Choose(int index) {
  State& s = S();
  if (index < 0 || index >= static_cast<int>(s.entries.size()) || s.entries[index].label.empty()) return;
  std::function<void()> action = s.entries[index].choose;
  ClosePopup();
  if (action) action();
}

void PaintPopup(HWND h) {
  State& s = S();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_MENU));
  HGDIOBJ old = SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < s.entries.size(); ++i) {
    RECT r{0, static_cast<LONG>(i) * kItemHeight, rc.right, static_cast<LONG>(i + 1) * kItemHeight};
    if (s.entries[i].label.empty()) {
      RECT line{4, r.top + kItemHeight / 2, rc.right - 4, r.top + kItemHeight / 2 + 1};
      FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
      continue;
    }
    bool hot = static_cast<int>(i) == s.hot;
    if (hot) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT tr{r.left + 18, r.top, r.right - 8, r.bottom};
    DrawTextW(dc, s.entries[i].label.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

LRESULT CALLBACK PopupProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT rc;
  GetClientRect(h, &rc);
  int at = PtInRect(&rc, p) ? p.y / kItemHeight : -1;
  switch (msg) {
    case WM_PAINT: PaintPopup(h); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE:
      if (at != s.hot) {
        s.hot = at;
        InvalidateRect(h, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      // The press that opened the menu ends here too; only a release on an
      // item chooses, a release elsewhere after a click outside closes.
      if (at >= 0) Choose(at);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (at < 0) ClosePopup();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != h && s.popup == h) PostMessageW(h, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      if (s.popup == h) ClosePopup();
      return 0;
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

void OpenMenu(int index, int left) {
  State& s = S();
  ClosePopup();
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  if (index < 0 || index >= static_cast<int>(titles.size())) return;
  s.entries.clear();
  if (win::textutil::EqualNoCase(Shown(titles[index]), L"File")) {
    s.entries.push_back({L"Open...", s.actions.open});
    s.entries.push_back({L"Save As...", s.actions.saveAs});
    s.entries.push_back({L"", nullptr});
    s.entries.push_back({L"Quit", s.actions.quit});
  }
  for (const auto& [label, macro] : acad::MenuBarItems(static_cast<size_t>(index))) {
    if (!s.entries.empty() && s.entries.size() == 4 && s.entries[0].label == L"Open...") s.entries.push_back({L"", nullptr});
    std::wstring m = macro;
    s.entries.push_back({Shown(label), [m] { TypeMacro(m); }});
  }
  if (s.entries.empty()) s.entries.push_back({L"(empty)", nullptr});
  HDC dc = GetDC(s.bar);
  HGDIOBJ old = SelectObject(dc, Font());
  int width = 160;
  for (const Entry& e : s.entries) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, e.label.c_str(), static_cast<int>(e.label.size()), &size);
    width = std::max<int>(width, size.cx + 40);
  }
  SelectObject(dc, old);
  ReleaseDC(s.bar, dc);
  POINT at{left, kHeight};
  ClientToScreen(s.bar, &at);
  s.hot = -1;
  s.openIndex = index;
  s.popup = CreateWindowExW(0, kPopupClass, L"", WS_POPUP | WS_BORDER, at.x, at.y, width,
                            static_cast<int>(s.entries.size()) * kItemHeight + 2, GetAncestor(s.bar, GA_ROOT), nullptr,
                            nullptr, nullptr);
  ShowWindow(s.popup, SW_SHOWNA);
  SetCapture(s.popup);
  InvalidateRect(s.bar, nullptr, FALSE);
}

void PaintBar(HWND h) {
  State& s = S();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_MENU));
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  std::vector<std::pair<int, int>> spans = TitleSpans(dc, titles);
  HGDIOBJ old = SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < titles.size(); ++i) {
    RECT r{spans[i].first, 0, spans[i].second, rc.bottom};
    bool open = static_cast<int>(i) == s.openIndex;
    if (open) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(open ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    std::wstring shown = Shown(titles[i]);
    DrawTextW(dc, shown.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

LRESULT CALLBACK BarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: PaintBar(h); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: {
      int x = GET_X_LPARAM(lParam);
      HDC dc = GetDC(h);
      std::vector<std::pair<int, int>> spans = TitleSpans(dc, acad::MenuBarTitles());
      ReleaseDC(h, dc);
      for (size_t i = 0; i < spans.size(); ++i)
        if (x >= spans[i].first && x < spans[i].second) {
          if (S().openIndex == static_cast<int>(i)) ClosePopup();
          else OpenMenu(static_cast<int>(i), spans[i].first);
          return 0;
        }
      ClosePopup();
      return 0;
    }
    case WM_DESTROY:
      ClosePopup();
      if (S().font) DeleteObject(S().font);
      S().font = nullptr;
      S().bar = nullptr;
      return 0;
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace

HWND Create(HWND parent, const RECT& r, FileActions actions) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BarProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBarClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = PopupProc;
    wc.lpszClassName = kPopupClass;
    RegisterClassW(&wc);
    registered = true;
  }
  S().actions = std::move(actions);
  S().bar = CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                            parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(0xD1)), nullptr, nullptr);
  return S().bar;
}

HWND OpenPopup() { return S().popup; }

}  // namespace host::menubar
