// The command-line window on a display (cmdlinewindow.h): a subclass of the
// command-line window of the CAD layer, which still types every character
// into the command line's input; this one paints the transcript it hears of
// and keeps the history of the words entered.
#include "cmdlinewindow.h"

#include <deque>
#include <string>
#include <vector>

#include "acedcmdline.h"
#include "textconv.h"
#include "transcript.h"

namespace host::cmdline {
namespace {

constexpr size_t kKeptLines = 400;

struct State {
  HWND window = nullptr;
  WNDPROC base = nullptr;
  user::Listener oldListener = nullptr;
  std::deque<std::wstring> lines{std::wstring()};  // the last one is being written
  std::vector<std::wstring> history;
  size_t recalled = 0;  // history.size(): nothing recalled
  HFONT font = nullptr;
};

State& S() {
  static State s;
  return s;
}

void Heard(std::string_view utf8) {
  State& s = S();
  for (wchar_t c : win::Utf8ToWide(std::string(utf8))) {
    if (c == L'\n') {
      s.lines.emplace_back();
      if (s.lines.size() > kKeptLines) s.lines.pop_front();
    } else if (c != L'\r') {
      s.lines.back().push_back(c);
    }
  }
  if (s.window) InvalidateRect(s.window, nullptr, FALSE);
}

// Replaces the word being typed by `text`.
void Retype(const std::wstring& text) {
  acad::CommandLineInput& in = acad::CommandLineInput::Instance();
  in.Type(L'\x1B');
  in.Type(text);
}

void Paint(HWND h) {
  State& s = S();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
  if (!s.font) {
    LOGFONTW lf{};
    lf.lfHeight = -13;
    wcscpy(lf.lfFaceName, L"Monospace");
    s.font = CreateFontIndirectW(&lf);
  }
  HGDIOBJ old = SelectObject(dc, s.font);
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  int lineH = std::max<int>(tm.tmHeight, 12);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  // The last line is the prompt with what is being typed and a caret.
  std::wstring current = s.lines.back() + acad::CommandLineInput::Instance().Typing() + L"_";
  int y = rc.bottom - 4 - lineH;
  TextOutW(dc, 4, y, current.c_str(), static_cast<int>(current.size()));
  for (auto it = std::next(s.lines.rbegin()); it != s.lines.rend() && y > 0; ++it) {
    y -= lineH;
    TextOutW(dc, 4, y, it->c_str(), static_cast<int>(it->size()));
  }
  SelectObject(dc, old);
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, rc.right, 0);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  EndPaint(h, &ps);
}

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: SetFocus(h); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        if (s.history.empty()) return 0;
        if (wParam == VK_UP && s.recalled > 0) --s.recalled;
        if (wParam == VK_DOWN && s.recalled < s.history.size()) ++s.recalled;
        Retype(s.recalled < s.history.size() ? s.history[s.recalled] : L"");
        InvalidateRect(h, nullptr, FALSE);
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        // Esc cancels the prompt or command waiting, as ^C does in a script.
        acad::CommandLineInput::Instance().Type(L"\x1B^C\r");
        InvalidateRect(h, nullptr, FALSE);
        return 0;
      }
      return 0;
    case WM_CHAR: {
      const std::wstring& typing = acad::CommandLineInput::Instance().Typing();
      if ((wParam == L'\r' || wParam == L' ') && !typing.empty() && (s.history.empty() || s.history.back() != typing))
        s.history.push_back(typing);
      LRESULT r = CallWindowProcW(s.base, h, msg, wParam, lParam);
      if (wParam == L'\r' || wParam == L' ') s.recalled = s.history.size();
      InvalidateRect(h, nullptr, FALSE);
      return r;
    }
    default: break;
  }
  return CallWindowProcW(s.base, h, msg, wParam, lParam);
}

}  // namespace

void Attach(HWND window) {
  State& s = S();
  if (s.window || !IsWindow(window)) return;
  s.window = window;
  s.base = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  s.oldListener = user::SetListener(Heard);
  InvalidateRect(window, nullptr, FALSE);
}

void Detach() {
  State& s = S();
  if (!s.window) return;
  user::SetListener(s.oldListener);
  if (IsWindow(s.window)) SetWindowLongPtrW(s.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.base));
  if (s.font) DeleteObject(s.font);
  s = State{};
}

std::wstring Text() {
  std::wstring all;
  for (const std::wstring& l : S().lines) all += l + L"\n";
  return all;
}

}  // namespace host::cmdline
