// The host on a display (displayhost.h): the main window's layout (menu bar
// on top, drawing window, command line, status bar with the pointer's
// coordinates and the progress meter), the user's lines from the person's
// input, and the File menu's Open and Save As through the file dialog.
#include "displayhost.h"

#include <deque>
#include <optional>

#include "acdocman.h"
#include "acedcmdline.h"
#include "acedcoord.h"
#include "acedframe.h"
#include "acedpointer.h"
#include "acedstatus.h"
#include "acutprint.h"
#include "cmdlinewindow.h"
#include "commandline.h"
#include "commdlg.h"
#include "display.h"
#include "drawingwindow.h"
#include "format.h"
#include "menubar.h"
#include "rxmfcapi.h"
#include "script.h"
#include "textconv.h"

namespace host::screen {
namespace {

constexpr int kCommandLineHeight = 110;
constexpr int kStatusHeight = 22;

struct State {
  HWND frame = nullptr;
  WNDPROC frameBase = nullptr;
  HWND menu = nullptr, drawing = nullptr, cmdline = nullptr, status = nullptr;
  std::deque<std::string> lines;  // the first script's, then the File menu's
  bool quit = false;
  bool lastWasDrag = false;
};

State& S() {
  static State s;
  return s;
}

void Layout() {
  State& s = S();
  RECT rc;
  GetClientRect(s.frame, &rc);
  int w = rc.right, h = rc.bottom;
  int statusTop = h - kStatusHeight, cmdTop = statusTop - kCommandLineHeight;
  if (s.menu) MoveWindow(s.menu, 0, 0, w, menubar::kHeight, TRUE);
  if (s.drawing) MoveWindow(s.drawing, 0, menubar::kHeight, w, std::max(1, cmdTop - menubar::kHeight), TRUE);
  if (s.cmdline) MoveWindow(s.cmdline, 0, cmdTop, w, kCommandLineHeight, TRUE);
  if (s.status) MoveWindow(s.status, 0, statusTop, w, kStatusHeight, TRUE);
}

// ---- the status bar

void PaintStatus(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_TOP);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  // The pointer's place in the drawing.
  POINT p;
  GetCursorPos(&p);
  if (S().drawing) {
    ScreenToClient(S().drawing, &p);
    ads_point world;
    if (acedCoordFromPixelToWorld(0, CPoint(p.x, p.y), world)) {
      std::wstring at = win::Format(L"%.4f, %.4f, %.4f", world[0], world[1], world[2]);
      RECT tr{8, 0, 320, rc.bottom};
      DrawTextW(dc, at.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
  }
  const acad::ProgressMeter& meter = acad::CurrentProgressMeter();
  if (meter.active) {
    RECT label{340, 0, 600, rc.bottom};
    DrawTextW(dc, acad::ProgressMeterCaption().c_str(), -1, &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    RECT bar{610, 4, std::max<LONG>(620, rc.right - 10), rc.bottom - 4};
    DrawEdge(dc, &bar, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    int span = std::max(1, meter.maxPos - meter.minPos);
    RECT done = bar;
    done.right = bar.left + static_cast<LONG>(static_cast<long long>(bar.right - bar.left) * (meter.pos - meter.minPos) / span);
    FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

LRESULT CALLBACK StatusProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PaintStatus(h);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcW(h, msg, wParam, lParam);
}

void ProgressMoved() {
  // A long piece of work shows its progress without taking input.
  if (S().status) InvalidateRect(S().status, nullptr, FALSE);
  win::display::PaintNow();
}

HWND MakeStatusBar(HWND parent) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = StatusProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"AcadStatusBar";
  RegisterClassW(&wc);
  return CreateWindowExW(0, L"AcadStatusBar", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, kStatusHeight, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(0xD2)), nullptr, nullptr);
}

// ---- the main window

LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  switch (msg) {
    case WM_SIZE: {
      LRESULT r = CallWindowProcW(s.frameBase, h, msg, wParam, lParam);
      Layout();
      return r;
    }
    case WM_CLOSE: Quit(); return 0;
    case WM_SETFOCUS:
      if (s.cmdline) SetFocus(s.cmdline);
      return 0;
    case WM_MOUSEMOVE:
    case WM_SETCURSOR:
      if (s.status) InvalidateRect(s.status, nullptr, FALSE);
      break;
    default: break;
  }
  return CallWindowProcW(s.frameBase, h, msg, wParam, lParam);
}

// ---- File menu

std::wstring AskFile(bool save) {
  wchar_t file[1024] = {0};
  std::wstring initial;
  if (AcApDocument* doc = acDocManager->curDocument()) {
    std::wstring name = doc->fileName();
    size_t slash = name.find_last_of(L'\\');
    if (slash != std::wstring::npos) initial = name.substr(0, slash);
    if (save && slash != std::wstring::npos) wcsncpy(file, name.substr(slash + 1).c_str(), 1023);
  }
  OPENFILENAMEW ofn{};
  ofn.hwndOwner = S().frame;
  ofn.lpstrFilter = L"Drawing (*.dwg;*.dxf)\0*.dwg;*.dxf\0All files\0*.*\0\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = 1024;
  ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
  ofn.lpstrDefExt = L"dwg";
  ofn.Flags = save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  return ok ? std::wstring(file) : std::wstring();
}

// Runs a built-in command line once the command loop is free for it.
void Command(const std::wstring& line) {
  if (!CommandLine::AtCommandPrompt()) {
    acutPrintf(L"\nFinish or cancel the current command first (Esc).\n");
    return;
  }
  S().lines.push_back(win::WideToUtf8(line));
}

// ---- the person's lines

std::optional<std::string> NextLine() {
  State& s = S();
  // Between two answers the drawing may have changed; following the pointer
  // changes nothing.
  if (!s.lastWasDrag) drawing::ModelChanged();
  for (;;) {
    if (s.quit) return std::nullopt;
    std::optional<std::string> line;
    if (!s.lines.empty()) {
      line = s.lines.front();
      s.lines.pop_front();
    } else if (std::optional<std::wstring> word = acad::CommandLineInput::Instance().TakeWord()) {
      line = win::WideToUtf8(*word);
      // While acedGrRead follows the pointer, typing is its keyboard input:
      // the word's characters, then the key that ended it.
      if (acad::CurrentPointerRequest().wants == acad::PointerWants::kTracking && *line != "^C") {
        if (!line->empty()) s.lines.push_front("@type");
        line = "@type " + *line;
      }
    } else if (!drawing::PendingInput().empty()) {
      line = drawing::PendingInput().front();
      drawing::PendingInput().pop_front();
    } else {
      line = drawing::TakeHeldCorner();
    }
    if (line) {
      s.lastWasDrag = line->rfind("@drag ", 0) == 0;
      return line;
    }
    if (!win::display::WaitForInput()) return std::nullopt;
  }
}

}  // namespace

bool Start(const std::string& displayName, std::vector<std::string> firstLines, std::string& error) {
  if (!win::display::Open(displayName, error)) return false;
  State& s = S();
  CWnd* frame = acedGetAcadFrame();
  CWnd* cmdline = acedGetAcadDockCmdLine();
  if (!frame || !cmdline) {
    error = "the main window could not be made";
    win::display::Close();
    return false;
  }
  s.frame = frame->m_hWnd;
  s.cmdline = cmdline->m_hWnd;
  s.lines.assign(firstLines.begin(), firstLines.end());
  s.frameBase = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(s.frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProc)));
  RECT none{0, 0, 10, 10};
  menubar::FileActions actions;
  actions.open = [] {
    std::wstring path = AskFile(false);
    if (!path.empty()) Command(L"OPEN \"" + path + L"\"");
  };
  actions.saveAs = [] {
    std::wstring path = AskFile(true);
    if (!path.empty()) Command(L"SAVEAS \"" + path + L"\"");
  };
  actions.quit = [] { Quit(); };
  s.menu = menubar::Create(s.frame, none, actions);
  s.drawing = drawing::Create(s.frame, none);
  s.status = MakeStatusBar(s.frame);
  cmdline::Attach(s.cmdline);
  acad::SetProgressListener(ProgressMoved);
  Layout();
  SetFocus(s.cmdline);
  user::Script::Instance().UseSource(NextLine);
  CommandLine::SetOpenedHook(ZoomExtents);
  return true;
}

void Stop() {
  State& s = S();
  acad::SetProgressListener(nullptr);
  CommandLine::SetOpenedHook(nullptr);
  cmdline::Detach();
  for (HWND* h : {&s.menu, &s.drawing, &s.status})
    if (IsWindow(*h)) DestroyWindow(*h);
  if (IsWindow(s.frame) && s.frameBase) SetWindowLongPtrW(s.frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.frameBase));
  win::display::Close();
  s = State{};
}

void Feed(const std::vector<std::string>& lines) { S().lines.insert(S().lines.end(), lines.begin(), lines.end()); }

void ZoomExtents() { drawing::ZoomExtents(); }

void Quit() { S().quit = true; }

}  // namespace host::screen
