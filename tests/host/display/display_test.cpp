// cadhost --display under Xvfb, used as a person uses it: commands typed into
// the command line, points clicked in the drawing window (with the rubber
// line on the screen), an object picked, the view zoomed with the wheel about
// the pointer, a module's menu item chosen from the menu bar, and the main
// window closed with its close box.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "displayprogram.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ProgramOnDisplay;
using testsupport::Screen;
using testsupport::TakeScreenshot;
using testsupport::Within;
using testsupport::XvfbServer;

// A drawing of one horizontal line from (0,0) to (100,0).
const char* kOneLine =
    "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n100\n21\n0\n31\n0\n0\nENDSEC\n0\nEOF\n";

class HostOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_server.Running());
    std::ofstream(m_host.Folder() / "line.dxf") << kOneLine;
  }

  void Start(std::vector<std::string> args) {
    args.insert(args.begin(), CADHOST);
    m_host.Start(args);
  }
  std::string Transcript() const { return m_host.Output(); }

  // Waits until the transcript holds `text` `count` times (twenty seconds at most).
  bool WaitFor(const std::string& text, size_t count = 1) {
    return Within(20, [&] {
      std::string t = Transcript();
      size_t n = 0;
      for (size_t at = t.find(text); at != std::string::npos; at = t.find(text, at + 1)) ++n;
      return n >= count;
    });
  }

  int Xdo(const std::string& args) { return m_server.Run("xdotool " + args); }

  // The world point the transcript shows after `prompt` the n-th time (from 1).
  bool PointAfter(const std::string& prompt, int n, double& x, double& y) {
    std::regex re(prompt + R"(([-0-9.]+),([-0-9.]+))");
    std::string t = Transcript();
    int seen = 0;
    for (std::sregex_iterator it(t.begin(), t.end(), re), end; it != end; ++it)
      if (++seen == n) {
        x = std::stod((*it)[1]);
        y = std::stod((*it)[2]);
        return true;
      }
    return false;
  }

  // Whether a pixel within one of (x, y) is lit by white drawing (lines
  // off the pixel grid are smoothed into grey).
  static bool Lit(const Screen& screen, int x, int y) {
    if (screen.pixels.empty()) return false;
    return screen.Count(x - 1, y - 1, x + 2, y + 2, 0xFFFFFF, 0xFF - 0x50) > 0;
  }

  // Takes screenshots until the pixel near (x, y) is lit as expected (the
  // host paints once it waits for input again); eight seconds at most.
  bool ScreenShows(int x, int y, bool lit) {
    return Within(8, [&] { return Lit(TakeScreenshot(m_server, m_host.Folder() / "screen.png", "shot"), x, y) == lit; });
  }

  XvfbServer m_server;
  ProgramOnDisplay m_host{m_server, fs::temp_directory_path() / ("cadhost-display-" + std::to_string(getpid()))};
};

TEST_F(HostOnDisplay, APersonDrawsPicksZoomsChoosesAMenuAndCloses) {
  Start({"--load", std::string(TEST_MODULES_DIR) + "/menutest.arx", "--load", std::string(TEST_MODULES_DIR) + "/hosttest.arx",
         "--open", (m_host.Folder() / "line.dxf").string()});
  ASSERT_EQ(m_server.Run("timeout 20 xdotool search --sync --onlyvisible --classname cadhost >/dev/null"), 0);
  ASSERT_TRUE(WaitFor("Command: "));
  // The main window fills the screen's top left; its client area starts
  // inside the frame and caption, the drawing window below the menu bar,
  // and the command line and the status bar take 132 pixels at the bottom.
  const int left = 4, top = 4 + GetSystemMetrics(SM_CYCAPTION), menuH = 20;
  const int drawW = 1280 - 8, drawH = 984 - top - 4 - menuH - 132;
  const int cx = left + drawW / 2, cy = top + menuH + drawH / 2;

  // Zoomed to the extents: the line runs across the middle of the drawing.
  EXPECT_TRUE(ScreenShows(cx, cy, true)) << "the line is drawn white on black";
  EXPECT_TRUE(ScreenShows(cx, cy - 20, false));

  // Picking it for ERASE finds it; Enter ends the selection and it is gone.
  Xdo("type ERASE");
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("Select objects: "));
  Xdo("mousemove " + std::to_string(cx + 1) + " " + std::to_string(cy + 1) + " click 1");
  ASSERT_TRUE(WaitFor("1 found"));
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("Command: ", 2));
  EXPECT_TRUE(ScreenShows(cx + 100, cy, false)) << "the erased line is no longer drawn";

  // LINE by two clicks: the rubber line follows the pointer before the second.
  Xdo("type LINE");
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("Specify first point: "));
  Xdo("mousemove " + std::to_string(cx - 200) + " " + std::to_string(cy - 100) + " click 1");
  ASSERT_TRUE(WaitFor("Specify next point: "));
  Xdo("mousemove " + std::to_string(cx + 200) + " " + std::to_string(cy + 100));
  EXPECT_TRUE(ScreenShows(cx, cy, true)) << "the rubber line passes the middle";
  EXPECT_TRUE(ScreenShows(cx, cy - 30, false));
  Xdo("click 1");
  ASSERT_TRUE(WaitFor("Specify next point: ", 2));
  Xdo("key Escape");
  ASSERT_TRUE(WaitFor("*Cancel*"));
  double x1, y1, x2, y2;
  ASSERT_TRUE(PointAfter("Specify first point: ", 1, x1, y1));
  ASSERT_TRUE(PointAfter("Specify next point: ", 1, x2, y2));
  // 400 pixels right and 200 down: x grows, y falls by half as much.
  EXPECT_GT(x2 - x1, 0);
  EXPECT_NEAR((y1 - y2) / (x2 - x1), 0.5, 0.01);
  double pixel = (x2 - x1) / 400;

  // The wheel zooms about the pointer: the point under it stays, the
  // distance of 400 pixels shrinks by 0.8 a notch.
  Xdo("mousemove " + std::to_string(cx - 200) + " " + std::to_string(cy - 100) + " click 4 click 4");
  ASSERT_TRUE(WaitFor("Command: ", 3));
  Xdo("type LINE");
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("Specify first point: ", 2));
  Xdo("click 1");
  ASSERT_TRUE(WaitFor("Specify next point: ", 3));
  Xdo("mousemove " + std::to_string(cx + 200) + " " + std::to_string(cy - 100) + " click 1");
  ASSERT_TRUE(WaitFor("Specify next point: ", 4));
  Xdo("key Escape");
  double a, b, c, d;
  ASSERT_TRUE(PointAfter("Specify first point: ", 2, a, b));
  ASSERT_TRUE(PointAfter("Specify next point: ", 2, c, d));
  EXPECT_NEAR(a, x1, 2 * pixel);
  EXPECT_NEAR(b, y1, 2 * pixel);
  EXPECT_NEAR(c - a, (x2 - x1) * 0.64, 2 * pixel);

  // A corner prompt shows the rubber rectangle from its base point.
  ASSERT_TRUE(WaitFor("*Cancel*", 2));
  Xdo("type PTEST");
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("First point: "));
  Xdo("mousemove " + std::to_string(cx - 150) + " " + std::to_string(cy - 150) + " click 1");
  ASSERT_TRUE(WaitFor("Other corner: "));
  Xdo("mousemove " + std::to_string(cx + 150) + " " + std::to_string(cy + 150));
  EXPECT_TRUE(ScreenShows(cx, cy - 150, true)) << "the rectangle's top edge";
  EXPECT_TRUE(ScreenShows(cx - 150, cy + 50, true)) << "the rectangle's left edge";
  EXPECT_TRUE(ScreenShows(cx + 60, cy - 60, false)) << "nothing inside";
  Xdo("click 1");
  ASSERT_TRUE(WaitFor("rc=5100", 2));

  // The module's menu on the menu bar: its item runs the macro.
  HDC dc = CreateCompatibleDC(nullptr);
  LOGFONTW lf{};
  lf.lfHeight = -12;
  wcscpy(lf.lfFaceName, L"Tahoma");
  HFONT font = CreateFontIndirectW(&lf);
  SelectObject(dc, font);
  int x = left + 4, titleX = -1;
  for (const wchar_t* t : {L"File", L"Edit", L"View", L"Insert", L"Format", L"Tools", L"Draw", L"Dimension", L"Modify",
                           L"测试菜单——Host"}) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, t, static_cast<int>(wcslen(t)), &size);
    titleX = x + (size.cx + 16) / 2;
    x += size.cx + 16;
  }
  DeleteDC(dc);
  DeleteObject(font);
  Xdo("mousemove " + std::to_string(titleX) + " " + std::to_string(top + 10) + " click 1");
  ASSERT_TRUE(ScreenShows(titleX, top + menuH + 11, true)) << "the pop-up menu opens over the drawing";
  Xdo("mousemove " + std::to_string(titleX) + " " + std::to_string(top + menuH + 11) + " click 1");
  ASSERT_TRUE(WaitFor("[menu test command]"));

  // The close box ends the host.
  Xdo("mousemove " + std::to_string(1280 - 4 - 2 - 9) + " " + std::to_string(4 + 11) + " click 1");
  EXPECT_EQ(m_host.WaitForExit(10), 0) << Transcript();
}

}  // namespace
