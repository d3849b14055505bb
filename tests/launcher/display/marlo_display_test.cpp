// Marlo on a display, under Xvfb: its dialog is a window on the screen, "登 入"
// clicked with the pointer starts the registered host, and that host shows
// its main window on the same display with both modules loaded from the
// launcher's folder (DTTest typed there opens the drive-test dialog); closing
// the host's window ends the host and then Marlo.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
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
using testsupport::Within;
using testsupport::XvfbServer;

class MarloOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_server.Running());
    // The host registers itself under the test's own prefix, where Marlo looks.
    setenv("MARLO_PREFIX", (m_marlo.Folder() / "prefix").c_str(), 1);
    setenv("LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    ASSERT_EQ(std::system(("\"" MODULE_DIR "/cadhost\" --register R17.2 >/dev/null")), 0);
    // The launcher's folder: Marlo and the modules as real files, the rest linked.
    MakeProgramFolder(MODULE_DIR, m_launcher, {"Marlo", "Cadcore.dbx", "Levelmap.arx", "setting.mdb"});
  }

  void TearDown() override {
    unsetenv("MARLO_PREFIX");
    unsetenv("LSAN_OPTIONS");
  }

  std::string Output() const { return m_marlo.Output(); }
  bool Shown(const std::string& search) {
    return !m_server.Output("xdotool search --onlyvisible " + search + " 2>/dev/null").empty();
  }
  int Xdo(const std::string& args) { return m_server.Run("xdotool " + args); }

  XvfbServer m_server;
  ProgramOnDisplay m_marlo{m_server, fs::temp_directory_path() / ("marlo-display-" + std::to_string(getpid()))};
  const fs::path m_launcher = m_marlo.Folder() / "launcher";
};

TEST_F(MarloOnDisplay, ShowsItsDialogAndStartsTheHostOnTheSameDisplay) {
  m_marlo.Start({(m_launcher / "Marlo").string()});

  // Marlo's dialog on the screen, and no host yet.
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(FindWindowOnScreen(m_server, "--classname Marlo", x, y, w, h))
      << "Marlo's dialog is not on the display: " << Output();
  EXPECT_FALSE(Shown("--classname cadhost"));
  EXPECT_TRUE(Shown("--name '^Marlo\\[路测仿真系统]$'")) << "the caption as UTF-8 for other programs";
  // "登 入" from the template (宋体 9, 186 x 83 dialog units).
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(9, 96, 72);
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"宋体");
  HFONT font = CreateFontIndirectW(&lf);
  SIZE base = win::DialogBaseUnits(font);
  DeleteObject(font);
  int cw = MulDiv(186, base.cx, 4), ch = MulDiv(83, base.cy, 8), side = (w - cw) / 2;
  ASSERT_GE(side, 0);
  int bx = x + side + MulDiv(35 + 25, base.cx, 4), by = y + h - side - ch + MulDiv(49 + 9, base.cy, 8);
  Xdo("mousemove " + std::to_string(bx) + " " + std::to_string(by) + " click 1");

  // The host comes up on this display, made visible by Marlo, whose dialog
  // has gone; its command line waits for the person.
  ASSERT_TRUE(Within(60, [&] { return Shown("--classname cadhost"); })) << Output();
  EXPECT_TRUE(Within(10, [&] { return !Shown("--classname Marlo"); }));
  ASSERT_TRUE(Within(20, [&] { return Output().find("Command: ") != std::string::npos; })) << Output();

  // Both modules came from the launcher's folder: DTTest opens its dialog
  // on the display and writes lc.dwg there; Esc closes it again.
  Xdo("type DTTest");
  Xdo("key Return");
  ASSERT_TRUE(Within(30, [&] { return Shown("--name '^Marlo-'"); })) << Output();
  EXPECT_TRUE(fs::exists(m_launcher / "lc.dwg"));
  Xdo("key Escape");
  EXPECT_TRUE(Within(20, [&] { return !Shown("--name '^Marlo-'"); }));
  EXPECT_TRUE(Within(10, [&] { return !fs::exists(m_launcher / "lc.dwg"); }));

  // The host's close box ends the host; Marlo, which waited for it, ends too.
  Xdo("mousemove " + std::to_string(1280 - 4 - 2 - 9) + " " + std::to_string(4 + 11) + " click 1");
  EXPECT_EQ(m_marlo.WaitForExit(30), 0) << Output();
}

}  // namespace
