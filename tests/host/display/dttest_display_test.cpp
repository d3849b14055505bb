// A drive test run by a person on a display: cadhost --display under Xvfb with
// both modules, DTTest typed into the command line, the draw button clicked,
// the range dragged and a route polyline clicked in the drawing window; the
// previews then show the bands' colours (read from the screen), a table cell
// copied with Control+C reads back from the X clipboard, and Esc closes the
// dialog and takes lc.dwg with it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "displayprogram.h"
#include "dlgscript.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FindWindowOnScreen;
using testsupport::MakeProgramFolder;
using testsupport::ProgramOnDisplay;
using testsupport::Screen;
using testsupport::TakeScreenshot;
using testsupport::Within;
using testsupport::XvfbServer;

// Pixels of a rectangle near a colour.
int Count(const Screen& s, const RECT& r, uint32_t rgb, int tol = 30) { return s.Count(r.left, r.top, r.right, r.bottom, rgb, tol); }

class DriveTestOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_server.Running());
    // The modules are real files in a folder of their own: a module finds its
    // folder through its resolved name, and lc.dwg is written there.
    MakeProgramFolder(MODULE_DIR, m_bin, {"Cadcore.dbx", "Levelmap.arx", "setting.mdb"});
  }

  void Start() {
    m_host.Start({CADHOST, "--load", (m_bin / "Cadcore.dbx").string(), "--load", (m_bin / "Levelmap.arx").string(), "--open",
                  DRAWINGS_DIR "/office_floor.dxf", "--out", (m_host.Folder() / "out").string()});
  }
  std::string Transcript() const { return m_host.Output(); }
  bool WaitFor(const std::string& text, double seconds = 30) {
    return Within(seconds, [&] { return Transcript().find(text) != std::string::npos; });
  }
  // The world point the transcript shows after `prompt`.
  bool PointAfter(const std::string& prompt, double& x, double& y) const {
    std::smatch m;
    std::string t = Transcript();
    if (!std::regex_search(t, m, std::regex(prompt + R"(([-0-9.]+),([-0-9.]+))"))) return false;
    x = std::stod(m[1]);
    y = std::stod(m[2]);
    return true;
  }

  int Xdo(const std::string& args) { return m_server.Run("xdotool " + args); }
  std::string At(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

  Screen Shot() { return TakeScreenshot(m_server, m_host.Folder() / "screen.png", "dttest"); }

  // The dialog's X window (its caption is the product's short title), found
  // visible, and where its client area lies on the screen.
  bool FindDialog() {
    int x = 0, y = 0, w = 0, h = 0;
    if (!FindWindowOnScreen(m_server, "--name '^Marlo-'", x, y, w, h)) return false;
    // The template's font gives the dialog units; the frame is as wide on
    // each side and at the bottom, the caption adds to the top.
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, 96, 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&lf);
    m_base = win::DialogBaseUnits(font);
    DeleteObject(font);
    int cw = MulDiv(569, m_base.cx, 4), ch = MulDiv(397, m_base.cy, 8);
    int side = (w - cw) / 2;
    m_client = {x + side, y + h - side - ch};
    return side >= 0 && h - ch - 2 * side >= 0;
  }
  bool DialogShown() { return !m_server.Output("xdotool search --onlyvisible --name '^Marlo-'").empty(); }
  // A point of the dialog in dialog units, on the screen.
  POINT Du(int x, int y) const {
    return {m_client.x + MulDiv(x, m_base.cx, 4), m_client.y + MulDiv(y, m_base.cy, 8)};
  }
  RECT DuRect(int x, int y, int w, int h) const {
    POINT a = Du(x, y), b = Du(x + w, y + h);
    return {a.x + 3, a.y + 3, b.x - 3, b.y - 3};  // inside the sunken edge
  }

  XvfbServer m_server;
  ProgramOnDisplay m_host{m_server, fs::temp_directory_path() / ("cadhost-dttest-" + std::to_string(getpid()))};
  const fs::path m_bin = m_host.Folder() / "bin";
  SIZE m_base{0, 0};
  POINT m_client{0, 0};
};

TEST_F(DriveTestOnDisplay, APersonRunsADriveTestCopiesACellAndCloses) {
  Start();
  ASSERT_EQ(m_server.Run("timeout 20 xdotool search --sync --onlyvisible --classname cadhost >/dev/null"), 0);
  ASSERT_TRUE(WaitFor("Command: "));
  Xdo("type DTTest");
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("该功能只是模拟"));
  ASSERT_TRUE(FindDialog());
  EXPECT_TRUE(fs::exists(m_bin / "lc.dwg")) << "the reference drawing is made with the dialog";

  // The three previews (template rectangles) and the bands' colours.
  const RECT previews[3] = {DuRect(333, 14, 223, 120), DuRect(333, 139, 223, 117), DuRect(333, 261, 223, 123)};
  const uint32_t green = 0x00FF00, cyan = 0x00FFFF, yellow = 0xFFFF00, red = 0xFF0000;
  Screen before = Shot();
  ASSERT_FALSE(before.pixels.empty());
  for (const RECT& r : previews)
    for (uint32_t c : {green, cyan, yellow, red}) EXPECT_EQ(Count(before, r, c), 0) << "nothing drawn before the run";

  // 绘制路测图: the dialog steps aside for the range prompt.
  Xdo("mousemove " + At(Du(235 + 14, 366 + 12)) + " click 1");
  ASSERT_TRUE(WaitFor("请选择路测范围的第一个对角点:")) << Transcript();
  // As a person does, the range is dragged once the dialog has gone (a press
  // while it still holds the pointer would be its).
  ASSERT_TRUE(Within(30, [&] { return !DialogShown(); })) << "the dialog stays over the drawing";

  // The range dragged over the whole drawing window (extents with a margin);
  // the two answers tie pixels to world coordinates.
  const int top = 4 + GetSystemMetrics(SM_CYCAPTION) + 20;
  const int bottom = 984 - 4 - 132;
  const POINT from{20, top + 16}, to{1280 - 24, bottom - 16};
  Xdo("mousemove " + At(from) + " mousedown 1 mousemove 640 480 mousemove " + At(to) + " mouseup 1");
  ASSERT_TRUE(WaitFor("Select objects: ")) << Transcript();
  double x1, y1, x2, y2;
  ASSERT_TRUE(PointAfter("请选择路测范围的第一个对角点:", x1, y1));
  ASSERT_TRUE(PointAfter("请选择另一个对角:", x2, y2));
  EXPECT_LT(x1, 0);
  EXPECT_GT(x2, 80);
  EXPECT_GT(y1, 40);
  EXPECT_LT(y2, 0);
  double perX = (x2 - x1) / (to.x - from.x), perY = (y2 - y1) / (to.y - from.y);
  EXPECT_NEAR(perX, -perY, 1e-3 * perX) << "square pixels, y up";

  // The corridor's route polyline runs along y = 20; clicked away from any wall.
  POINT route{from.x + static_cast<int>((17 - x1) / perX), from.y + static_cast<int>((20 - y1) / perY)};
  Xdo("mousemove " + At(route) + " click 1");
  ASSERT_TRUE(WaitFor("1 found")) << Transcript();
  Xdo("key Return");
  ASSERT_TRUE(WaitFor("正在处理显示结果", 120)) << Transcript();

  // Back on the screen, each preview shows its measurement's bands: RxLev and
  // C/I have a cyan band, RxQual none.
  Screen after;
  bool coloured = Within(30, [&] {
    if (!DialogShown()) return false;
    after = Shot();
    for (const RECT& r : previews)
      if (Count(after, r, green) < 50 || Count(after, r, red) < 10) return false;
    return true;
  });
  ASSERT_TRUE(coloured) << "the previews show no drive-test points";
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("preview " + std::to_string(i + 1));
    EXPECT_GT(Count(after, previews[i], yellow), 50);
    if (i == 1) EXPECT_LT(Count(after, previews[i], cyan, 10), 3);
    else EXPECT_GT(Count(after, previews[i], cyan, 10), 50);
  }

  // The first RxLev band's range cell: a click gives it the focus, a second
  // opens its editor; Control+A, Control+C put its text on the CLIPBOARD.
  POINT cell = Du(14, 14);
  cell.x += 101;
  cell.y += 56;
  Xdo("mousemove " + At(cell) + " click 1 sleep 0.7 click 1");
  std::string copied;
  EXPECT_TRUE(Within(15, [&] {
    Xdo("key ctrl+a ctrl+c");
    copied = m_server.Output("timeout 5 xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null");
    return copied == "[-65,-10)";
  })) << "copied: " << copied;

  // Esc ends the editor, then closes the dialog; lc.dwg goes with it.
  Xdo("key Escape");
  if (!Within(3, [&] { return !DialogShown(); })) Xdo("key Escape");
  ASSERT_TRUE(Within(20, [&] { return !DialogShown(); })) << "the dialog stays";
  EXPECT_TRUE(Within(10, [&] { return !fs::exists(m_bin / "lc.dwg"); })) << "lc.dwg is left behind";

  // The close box ends the host.
  Xdo("mousemove " + std::to_string(1280 - 4 - 2 - 9) + " " + std::to_string(4 + 11) + " click 1");
  EXPECT_EQ(m_host.WaitForExit(20), 0) << Transcript();
}

}  // namespace
