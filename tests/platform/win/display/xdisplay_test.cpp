// The window system on an X display (a private Xvfb per test process):
// windows become X windows with their pixels, a person's pointer and keys
// (sent with xdotool) become window messages, modal loops and message boxes
// wait for them, timers run on the real clock and the clipboard is the X
// CLIPBOARD selection that other programs (xclip) read and write.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "display.h"
#include "dlgscript.h"
#include "textconv.h"
#include "transcript.h"
#include "windows.h"
#include "xvfbserver.h"

// Xlib last: its macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using testsupport::XvfbServer;

XvfbServer* g_server = nullptr;

struct Seen {
  UINT msg;
  WPARAM wParam;
  int x, y;
};
std::vector<Seen> g_seen;
bool g_captureOnPress = false;

std::vector<Seen> Take(UINT msg);

LRESULT CALLBACK RecordProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SIZE:
    case WM_TIMER:
      g_seen.push_back({msg, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (msg == WM_LBUTTONDOWN && g_captureOnPress) SetCapture(h);
      if (msg == WM_LBUTTONUP && GetCapture() == h) ReleaseCapture();
      if (msg == WM_TIMER && Take(WM_TIMER).size() == 3) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

void RegisterRecorder() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = RecordProc;
  wc.hbrBackground = CreateSolidBrush(RGB(200, 0, 0));
  wc.lpszClassName = L"Recorder";
  RegisterClassW(&wc);
}

std::vector<Seen> Take(UINT msg) {
  std::vector<Seen> out;
  for (const Seen& s : g_seen)
    if (s.msg == msg) out.push_back(s);
  return out;
}

class DisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_server = new XvfbServer(); }
  static void TearDownTestSuite() {
    delete g_server;
    g_server = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(g_server->Running()) << "Xvfb did not start";
    std::string error;
    ASSERT_TRUE(win::display::Open(g_server->Display(), error)) << error;
    m_dpy = XOpenDisplay(g_server->Display().c_str());
    ASSERT_NE(m_dpy, nullptr);
    RegisterRecorder();
    g_seen.clear();
    g_captureOnPress = false;
  }

  void TearDown() override {
    for (HWND h : m_windows)
      if (IsWindow(h)) DestroyWindow(h);
    win::display::Close();
    if (m_dpy) XCloseDisplay(m_dpy);
  }

  HWND Recorder(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU) {
    HWND hw = CreateWindowExW(0, L"Recorder", L"Recorder", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(hw);
    return hw;
  }

  // Handles the display's events until `done` holds (or ten seconds pass).
  bool PumpUntil(const std::function<bool()>& done) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      win::display::Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  // Runs a command (xdotool, xclip) beside the event loop, which keeps
  // answering the X server until the command has ended.
  int RunBeside(const std::string& command, const std::function<void()>& loop = {}) {
    std::atomic<bool> finished{false};
    int status = -1;
    std::thread t([&] {
      status = g_server->Run(command);
      finished = true;
    });
    if (loop) loop();
    PumpUntil([&] { return finished.load(); });
    t.join();
    win::display::Pump();
    return status;
  }

  // A pixel of the screen as 0xRRGGBB.
  unsigned long ScreenPixel(int x, int y) {
    XImage* img = XGetImage(m_dpy, DefaultRootWindow(m_dpy), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
    XDestroyImage(img);
    return p;
  }

  Display* m_dpy = nullptr;
  std::vector<HWND> m_windows;
};

TEST_F(DisplayTest, TopLevelWindowsBecomeXWindowsShowingTheirPixels) {
  HWND h = Recorder(50, 60, 220, 160);
  EXPECT_EQ(win::display::XWindowOf(h), 0u) << "a hidden window has no X window yet";
  ShowWindow(h, SW_SHOW);
  ::Window xw = win::display::XWindowOf(h);
  ASSERT_NE(xw, 0u);
  XWindowAttributes a{};
  ASSERT_TRUE(PumpUntil([&] {
    XGetWindowAttributes(m_dpy, xw, &a);
    return a.map_state == IsViewable;
  }));
  EXPECT_EQ(a.x, 50);
  EXPECT_EQ(a.y, 60);
  EXPECT_EQ(a.width, 220);
  EXPECT_EQ(a.height, 160);
  win::display::Pump();
  XSync(m_dpy, False);
  // The client area's class brush and the caption's colour are on the screen.
  POINT mid{100, 80};
  ClientToScreen(h, &mid);
  EXPECT_EQ(ScreenPixel(mid.x, mid.y), 0xC80000u);
  COLORREF cap = GetSysColor(COLOR_ACTIVECAPTION);
  EXPECT_EQ(ScreenPixel(60, 66), (static_cast<unsigned long>(GetRValue(cap)) << 16) | (GetGValue(cap) << 8) | GetBValue(cap));

  // The caption is the X window's name, in UTF-8.
  SetWindowTextW(h, L"路测 window");
  win::display::Pump();
  XTextProperty prop{};
  ASSERT_TRUE(XGetTextProperty(m_dpy, xw, &prop, XInternAtom(m_dpy, "_NET_WM_NAME", False)));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(prop.value), prop.nitems), "路测 window");
  XFree(prop.value);

  // Moving and resizing follow; hiding unmaps; destroying takes the X window away.
  SetWindowPos(h, nullptr, 300, 200, 260, 180, SWP_NOZORDER);
  ASSERT_TRUE(PumpUntil([&] {
    XGetWindowAttributes(m_dpy, xw, &a);
    return a.width == 260 && a.height == 180;
  }));
  int rx = 0, ry = 0;
  ::Window child;
  XTranslateCoordinates(m_dpy, xw, DefaultRootWindow(m_dpy), 0, 0, &rx, &ry, &child);
  EXPECT_EQ(rx, 300);
  EXPECT_EQ(ry, 200);
  ShowWindow(h, SW_HIDE);
  ASSERT_TRUE(PumpUntil([&] {
    XGetWindowAttributes(m_dpy, xw, &a);
    return a.map_state == IsUnmapped;
  }));
  DestroyWindow(h);
  EXPECT_EQ(win::display::XWindowOf(h), 0u);
}

TEST_F(DisplayTest, PointerBecomesButtonMovesWheelDoubleClicksAndCapture) {
  HWND h = Recorder(100, 100, 300, 200);
  ShowWindow(h, SW_SHOW);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(h) && g_server->Run("xdotool search --onlyvisible --name Recorder >/dev/null") == 0; }));
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  std::string at = std::to_string(origin.x + 40) + " " + std::to_string(origin.y + 30);

  EXPECT_EQ(RunBeside("xdotool mousemove " + at + " click 1"), 0);
  ASSERT_TRUE(PumpUntil([&] { return !Take(WM_LBUTTONUP).empty(); }));
  ASSERT_EQ(Take(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Take(WM_LBUTTONDOWN)[0].x, 40);
  EXPECT_EQ(Take(WM_LBUTTONDOWN)[0].y, 30);
  EXPECT_EQ(Take(WM_LBUTTONDOWN)[0].wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_FALSE(Take(WM_MOUSEMOVE).empty());

  // Two quick clicks in a class that asks for double clicks.
  g_seen.clear();
  EXPECT_EQ(RunBeside("xdotool click --repeat 2 --delay 80 1"), 0);
  ASSERT_TRUE(PumpUntil([&] { return Take(WM_LBUTTONUP).size() == 2; }));
  EXPECT_EQ(Take(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Take(WM_LBUTTONDBLCLK).size(), 1u);

  // The wheel: up is +120, down -120, with the pointer in screen coordinates.
  g_seen.clear();
  EXPECT_EQ(RunBeside("xdotool click 4 click 5"), 0);
  ASSERT_TRUE(PumpUntil([&] { return Take(WM_MOUSEWHEEL).size() == 2; }));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Take(WM_MOUSEWHEEL)[0].wParam), 120);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Take(WM_MOUSEWHEEL)[1].wParam), -120);
  EXPECT_EQ(Take(WM_MOUSEWHEEL)[0].x, origin.x + 40);

  // With the capture the window follows the pointer outside itself.
  g_seen.clear();
  g_captureOnPress = true;
  EXPECT_EQ(RunBeside("xdotool mousedown 1 mousemove 20 20 mouseup 1"), 0);
  ASSERT_TRUE(PumpUntil([&] { return !Take(WM_LBUTTONUP).empty(); }));
  bool outside = false;
  for (const Seen& s : Take(WM_MOUSEMOVE)) outside = outside || (s.x < 0 && s.y < 0);
  EXPECT_TRUE(outside) << "moves outside the window reach the capturing window";
  EXPECT_EQ(Take(WM_LBUTTONUP).back().x, 20 - origin.x);
  EXPECT_EQ(GetCapture(), nullptr);
}

// A dialog with an edit field, OK and Cancel.
win::DialogResource EditDialog() {
  win::DialogResource r;
  r.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  r.caption = L"Typing";
  r.cx = 160;
  r.cy = 60;
  r.items.push_back({L"Edit", L"", 100, 7, 7, 146, 12, WS_TABSTOP | WS_BORDER, 0});
  r.items.push_back({L"ComboBox", L"", 101, 7, 22, 60, 60, WS_TABSTOP | CBS_DROPDOWNLIST, 0});
  r.items.push_back({L"Button", L"OK", IDOK, 50, 38, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON, 0});
  r.items.push_back({L"Button", L"Cancel", IDCANCEL, 104, 38, 50, 14, WS_TABSTOP, 0});
  return r;
}

std::wstring g_typed;
std::wstring g_picked;
HWND g_dialog = nullptr;

// Ends a dialog the keys never reached, so that a failing test cannot hang.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
  if (IsWindow(g_dialog)) EndDialog(g_dialog, IDABORT);
  EndDialog(GetActiveWindow(), IDABORT);
}

INT_PTR CALLBACK EditDialogProc(HWND h, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) {
    g_dialog = h;
    for (const wchar_t* band : {L"GSM900", L"DCS1800", L"WCDMA"})
      SendDlgItemMessageW(h, 101, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(band));
    SendDlgItemMessageW(h, 101, CB_SETCURSEL, 0, 0);
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    wchar_t buf[128] = {0};
    GetDlgItemTextW(h, 100, buf, 128);
    g_typed = buf;
    GetDlgItemTextW(h, 101, buf, 128);
    g_picked = buf;
    EndDialog(h, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

TEST_F(DisplayTest, ModalDialogsTakeTypedTextAndTheirOwnKeys) {
  const std::string focus = "timeout 20 xdotool search --sync --onlyvisible --name Typing windowfocus --sync %1 2>/dev/null ";
  INT_PTR result = 0;
  UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, GiveUp);
  HWND dlg = win::CreateDialogFromTemplate(EditDialog(), nullptr, nullptr, EditDialogProc, 0);
  // The combo box opens its list under itself; the third item is picked.
  RECT combo;
  GetWindowRect(GetDlgItem(dlg, 101), &combo);
  std::string open = std::to_string((combo.left + combo.right) / 2) + " " + std::to_string((combo.top + combo.bottom) / 2);
  std::string third = std::to_string(combo.left + 10) + " " + std::to_string(combo.bottom + 1 + 2 * 16 + 8);
  std::thread keys([&] {
    g_server->Run(focus + "type --delay 30 'Hello, Bob!' && xdotool mousemove " + open + " click 1 sleep 0.3 mousemove " +
                  third + " click 1 sleep 0.3 key Return");
  });
  result = win::RunModalLoop(dlg);
  keys.join();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(g_typed, L"Hello, Bob!");
  EXPECT_EQ(g_picked, L"WCDMA");

  // Esc cancels; the close box of the window manager cancels too.
  std::thread esc([&] { g_server->Run(focus + "key Escape"); });
  result = win::RunModalLoop(win::CreateDialogFromTemplate(EditDialog(), nullptr, nullptr, EditDialogProc, 0));
  esc.join();
  EXPECT_EQ(result, IDCANCEL);

  // A message box: Tab moves to No and Enter presses it.
  std::ostringstream out;
  std::ostream* old = user::SetSink(&out);
  std::thread answer([&] {
    g_server->Run("timeout 20 xdotool search --sync --onlyvisible --name Question windowfocus --sync %1 2>/dev/null key Tab Return");
  });
  int box = MessageBoxW(nullptr, L"Keep the map?", L"Question", MB_YESNO);
  answer.join();
  user::SetSink(old);
  KillTimer(nullptr, watchdog);
  EXPECT_EQ(box, IDNO);
  EXPECT_EQ(out.str(), "[Question] Keep the map? {YES NO} -> NO\n");
}

TEST_F(DisplayTest, CloseBoxResizeAndTimersOnTheRealClock) {
  HWND h = Recorder(100, 100, 300, 200);
  ShowWindow(h, SW_SHOW);
  ::Window xw = win::display::XWindowOf(h);
  ASSERT_TRUE(PumpUntil([&] { return g_server->Run("xdotool search --onlyvisible --name Recorder >/dev/null") == 0; }));

  // Resized from outside (as a window manager does): the window hears WM_SIZE.
  XResizeWindow(m_dpy, xw, 320, 240);
  XSync(m_dpy, False);
  ASSERT_TRUE(PumpUntil([&] {
    RECT r;
    GetWindowRect(h, &r);
    return r.right - r.left == 320 && r.bottom - r.top == 240;
  }));
  RECT client;
  GetClientRect(h, &client);
  ASSERT_FALSE(Take(WM_SIZE).empty());
  EXPECT_EQ(Take(WM_SIZE).back().x, client.right);
  EXPECT_EQ(Take(WM_SIZE).back().y, client.bottom);

  // Timers fire while the message loop waits, and GetMessage waits rather
  // than ending the loop.
  SetTimer(h, 7, 20, nullptr);
  // (The window procedure posts a quit at the third WM_TIMER.)
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(Take(WM_TIMER).size(), 3u);
  EXPECT_EQ(Take(WM_TIMER)[0].wParam, 7u);
  KillTimer(h, 7);

  // The window manager's close asks the window to close.
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = xw;
  ev.xclient.message_type = XInternAtom(m_dpy, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(m_dpy, "WM_DELETE_WINDOW", False));
  XSendEvent(m_dpy, xw, False, NoEventMask, &ev);
  XSync(m_dpy, False);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(h); }));

  // The close box the window system draws closes the window when clicked.
  HWND other = Recorder(200, 150, 300, 200);
  ShowWindow(other, SW_SHOW);
  ASSERT_TRUE(PumpUntil([&] { return g_server->Run("xdotool search --onlyvisible --name Recorder >/dev/null") == 0; }));
  int s = GetSystemMetrics(SM_CYCAPTION) - 5;
  std::string box = std::to_string(200 + 300 - 3 - 2 - s / 2) + " " + std::to_string(150 + 3 + 2 + s / 2);
  EXPECT_EQ(RunBeside("xdotool mousemove " + box + " click 1"), 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(other); }));
}

TEST_F(DisplayTest, ClipboardIsTheXClipboardBothWays) {
  HWND h = Recorder(10, 10, 100, 80);
  ShowWindow(h, SW_SHOW);
  win::display::Pump();
  const std::wstring text = L"电平 -75\t12";
  ASSERT_TRUE(OpenClipboard(h));
  EmptyClipboard();
  std::u16string wide = win::WideToUtf16(text);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * 2);
  memcpy(GlobalLock(mem), wide.c_str(), (wide.size() + 1) * 2);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();

  // Another program reads it while the event loop answers.
  std::string read;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    read = g_server->Output("xclip -selection clipboard -o -t UTF8_STRING");
    done = true;
  });
  PumpUntil([&] { return done.load(); });
  reader.join();
  EXPECT_EQ(read, win::WideToUtf8(text));

  // Another program sets it; this process reads it in both text formats.
  ASSERT_EQ(g_server->Run("printf 'from xclip 中文' | xclip -selection clipboard -i -loops 1"), 0);
  std::string got;
  ASSERT_TRUE(PumpUntil([&] {
    if (!OpenClipboard(h)) return false;
    HANDLE m = GetClipboardData(CF_TEXT);
    got = m ? static_cast<const char*>(GlobalLock(m)) : "";
    if (m) GlobalUnlock(m);
    HANDLE u = GetClipboardData(CF_UNICODETEXT);
    bool wideOk = u && win::Utf16ToWide(static_cast<const char16_t*>(GlobalLock(u))) == L"from xclip 中文";
    if (u) GlobalUnlock(u);
    CloseClipboard();
    return got == "from xclip 中文" && wideOk;
  })) << got;

  // Text larger than one piece goes in pieces (INCR) both ways, whole and in order.
  std::string big;
  for (int i = 0; big.size() < 700000; ++i) big += "行 " + std::to_string(i) + "\t-75.5\n";
  ASSERT_TRUE(OpenClipboard(h));
  EmptyClipboard();
  HGLOBAL bigMem = GlobalAlloc(GMEM_MOVEABLE, big.size() + 1);
  memcpy(GlobalLock(bigMem), big.c_str(), big.size() + 1);
  GlobalUnlock(bigMem);
  SetClipboardData(CF_TEXT, bigMem);
  CloseClipboard();
  const std::string file = "/tmp/xclip-big-" + std::to_string(getpid());
  done = false;
  int copied = -1;
  std::thread bigReader([&] {
    copied = g_server->Run("xclip -selection clipboard -o -t UTF8_STRING > " + file);
    done = true;
  });
  PumpUntil([&] { return done.load(); });
  bigReader.join();
  std::ifstream in(file);
  std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(copied, 0);
  EXPECT_EQ(back.size(), big.size());
  EXPECT_TRUE(back == big) << "the pieces came back out of order or cut";

  big = "x" + big + "y";  // another text, from another program
  std::ofstream(file, std::ios::trunc) << big;
  ASSERT_EQ(g_server->Run("xclip -selection clipboard -i -loops 1 " + file), 0);
  std::remove(file.c_str());
  std::string fetched;
  ASSERT_TRUE(PumpUntil([&] {
    if (!OpenClipboard(h)) return false;
    HANDLE m = GetClipboardData(CF_TEXT);
    fetched = m ? static_cast<const char*>(GlobalLock(m)) : "";
    if (m) GlobalUnlock(m);
    CloseClipboard();
    return fetched.size() == big.size();
  })) << fetched.size();
  EXPECT_TRUE(fetched == big);
}

}  // namespace
