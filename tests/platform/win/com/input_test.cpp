// Synthetic mouse input: what the transcript shows, and where the events go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comwire.h"
#include "wininput.h"
#include "wintest.h"

namespace {

std::vector<std::string> g_messages;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
      g_messages.push_back((msg == WM_NCLBUTTONDOWN ? "nc down " : "nc up ") + std::to_string(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      g_messages.push_back((msg == WM_LBUTTONDOWN ? "down " : "up ") + std::to_string(GET_X_LPARAM(lParam)) + "," +
                           std::to_string(GET_Y_LPARAM(lParam)));
      return 0;
    default: return ::DefWindowProcW(hWnd, msg, wParam, lParam);
  }
}

class SyntheticInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = RecordingProc;
      wc.lpszClassName = L"InputTarget";
      return ::RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    g_messages.clear();
    win::ClearSyntheticInputLog();
  }
  void TearDown() override {
    for (HWND h : m_windows) ::DestroyWindow(h);
    ::ClipCursor(nullptr);
  }
  HWND Make(int x, int width) {
    HWND h = ::CreateWindowExW(0, L"InputTarget", L"主窗口 Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 100, width,
                               200, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(h);
    return h;
  }
  std::vector<HWND> m_windows;
};

TEST_F(SyntheticInputTest, AConfinedClickIsShownAndHitsTheCaptionBar) {
  HWND target = Make(200, 400);
  wintest::Transcript transcript;
  RECT clip = {550, 112, 551, 113};
  ::ClipCursor(&clip);
  ::SetCursorPos(0, 0);  // clamped into the confinement
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  ::ClipCursor(nullptr);
  EXPECT_EQ(
      "[input] left button down at 550,112 (cursor confined to 550,112 551,113)\n"
      "[input] left button down at 550,112: caption bar of \"主窗口 Target\"\n"
      "[input] left button up at 550,112 (cursor confined to 550,112 551,113)\n"
      "[input] left button up at 550,112: caption bar of \"主窗口 Target\"\n",
      transcript.Text());
  EXPECT_EQ((std::vector<std::string>{"nc down 2", "nc up 2"}), g_messages);
  EXPECT_EQ(target, ::GetActiveWindow());
  ASSERT_EQ(2u, win::SyntheticInputLog().size());
  EXPECT_TRUE(win::SyntheticInputLog()[0].confined);
  EXPECT_EQ(MOUSEEVENTF_LEFTUP, win::SyntheticInputLog()[1].flag);
}

TEST_F(SyntheticInputTest, SendInputMovesThenClicksInTheClientArea) {
  HWND target = Make(200, 400);
  RECT client;
  ::GetClientRect(target, &client);
  POINT inside = {20, 30};
  ::ClientToScreen(target, &inside);
  ::SetCursorPos(inside.x - 5, inside.y - 5);
  wintest::Transcript transcript;
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dx = 5;
  inputs[0].mi.dy = 5;
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  EXPECT_EQ(2u, SendInput(2, inputs, sizeof(INPUT)));
  EXPECT_EQ((std::vector<std::string>{"down 20,30", "up 20,30"}), g_messages);
  EXPECT_NE(std::string::npos, transcript.Text().find("[input] pointer moved to " + std::to_string(inside.x) + "," +
                                                      std::to_string(inside.y) + "\n"));
  EXPECT_NE(std::string::npos, transcript.Text().find(": client area of \"主窗口 Target\""));
  // Keyboard records are not synthesised: the call stops there.
  INPUT key = {};
  key.type = INPUT_KEYBOARD;
  EXPECT_EQ(0u, SendInput(1, &key, sizeof(INPUT)));
  EXPECT_EQ(0u, SendInput(1, inputs, 3));
}

TEST_F(SyntheticInputTest, AClickBesideANarrowWindowReachesNoWindow) {
  // The launcher's point for a window 30 pixels wide: 50 in from the right
  // edge, so 20 pixels left of the window.
  Make(100, 30);
  const int x = 100 + 30 - 50, y = 100 + 12;
  ::SetCursorPos(x, y);
  wintest::Transcript transcript;
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ("[input] left button down at 80,112\n", transcript.Text());
  // Forwarded to a server, such a click is ignored there and said so.
  com::wire::Writer event;
  event.U32(MOUSEEVENTF_LEFTDOWN);
  event.I32(x);
  event.I32(y);
  win::DeliverForwardedInput(event.Data());
  EXPECT_TRUE(g_messages.empty());
  EXPECT_NE(std::string::npos, transcript.Text().find("[input] left button down at 80,112: no window there, ignored\n"));
}

}  // namespace
