// Marlo on a display, under Xvfb: its dialog is a window on the screen, "登 入"
// clicked with the pointer starts the registered host, and that host shows
// its main window on the same display with both modules loaded from the
// launcher's folder (DTTest typed there opens the drive-test dialog); closing
// the host's window ends the host and then Marlo.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "dlgscript.h"
#include "windows.h"
#include "xvfbserver.h"

namespace {

namespace fs = std::filesystem;
using testsupport::XvfbServer;

bool Within(double seconds, const std::function<bool()>& done) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// The processes whose parent is `parent`, from /proc.
std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  for (const fs::directory_entry& e : fs::directory_iterator("/proc")) {
    std::string name = e.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(e.path() / "stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 2));
    char state = 0;
    pid_t ppid = 0;
    rest >> state >> ppid;
    if (ppid == parent) children.push_back(std::stoi(name));
  }
  return children;
}

class MarloOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_server.Running());
    m_dir = fs::temp_directory_path() / ("marlo-display-" + std::to_string(getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir / "prefix");
    fs::create_directories(m_dir / "launcher");
    setenv("MARLO_PREFIX", (m_dir / "prefix").c_str(), 1);
    // Under the sanitizer the font and text libraries' caches are no leaks
    // (for the programs this test starts).
    setenv("LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    ASSERT_EQ(std::system(("\"" MODULE_DIR "/cadhost\" --register R17.2 >/dev/null")), 0);
    // The launcher's folder: Marlo and the modules as real files (they find
    // their folder through their resolved names), the rest linked.
    for (const fs::directory_entry& e : fs::directory_iterator(MODULE_DIR)) {
      std::string name = e.path().filename().string();
      if (name == "Marlo" || name == "Cadcore.dbx" || name == "Levelmap.arx" || name == "setting.mdb")
        fs::copy_file(e.path(), m_dir / "launcher" / name);
      else
        fs::create_symlink(e.path(), m_dir / "launcher" / name);
    }
  }
  void TearDown() override {
    if (m_pid > 0) {
      // The host Marlo started goes first, by its id.
      for (pid_t child : ChildrenOf(m_pid)) kill(child, SIGTERM);
      kill(m_pid, SIGTERM);
      waitpid(m_pid, nullptr, 0);
    }
    unsetenv("MARLO_PREFIX");
    unsetenv("LSAN_OPTIONS");
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }

  std::string Output() const {
    std::ifstream in(m_dir / "output.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Shown(const std::string& search) {
    return !m_server.Output("xdotool search --onlyvisible " + search + " 2>/dev/null").empty();
  }
  int Xdo(const std::string& args) { return m_server.Run("xdotool " + args); }

  XvfbServer m_server;
  fs::path m_dir;
  pid_t m_pid = -1;
};

TEST_F(MarloOnDisplay, ShowsItsDialogAndStartsTheHostOnTheSameDisplay) {
  const std::string marlo = (m_dir / "launcher/Marlo").string(), out = (m_dir / "output.txt").string();
  const std::string display = "--display=" + m_server.Display();
  m_pid = fork();
  if (m_pid == 0) {
    if (chdir(m_dir.c_str()) != 0) _exit(126);
    FILE* f = freopen(out.c_str(), "w", stdout);
    (void)f;
    FILE* in = freopen("/dev/null", "r", stdin);
    (void)in;
    execl(marlo.c_str(), marlo.c_str(), display.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }

  // Marlo's dialog on the screen, and no host yet.
  std::string id = m_server.Output("timeout 20 xdotool search --sync --onlyvisible --classname Marlo | head -1");
  ASSERT_FALSE(id.empty()) << "Marlo's dialog is not on the display: " << Output();
  EXPECT_FALSE(Shown("--classname cadhost"));
  EXPECT_TRUE(Shown("--name '^Marlo\\[路测仿真系统]$'")) << "the caption as UTF-8 for other programs";
  std::string geo = m_server.Output("xdotool getwindowgeometry --shell " + id);
  int x = 0, y = 0, w = 0, h = 0;
  std::smatch m;
  for (auto [key, value] : {std::pair{"X", &x}, {"Y", &y}, {"WIDTH", &w}, {"HEIGHT", &h}}) {
    ASSERT_TRUE(std::regex_search(geo, m, std::regex(std::string("\\b") + key + "=(-?[0-9]+)"))) << geo;
    *value = std::stoi(m[1]);
  }
  // "登 入" from the template (宋体 9, 186 x 83 dialog units).
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(9, 96, 72);
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"宋体");
  HFONT font = CreateFontIndirectW(&lf);
  SIZE base = win::DialogBaseUnits(font);
  DeleteObject(font);
  int cw = MulDiv(186, base.cx, 4), ch = MulDiv(83, base.cy, 8), side = (w - cw) / 2;
  ASSERT_GE(side, 0) << geo;
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
  EXPECT_TRUE(fs::exists(m_dir / "launcher/lc.dwg"));
  Xdo("key Escape");
  EXPECT_TRUE(Within(20, [&] { return !Shown("--name '^Marlo-'"); }));
  EXPECT_TRUE(Within(10, [&] { return !fs::exists(m_dir / "launcher/lc.dwg"); }));

  // The host's close box ends the host; Marlo, which waited for it, ends too.
  Xdo("mousemove " + std::to_string(1280 - 4 - 2 - 9) + " " + std::to_string(4 + 11) + " click 1");
  int status = -1;
  ASSERT_TRUE(Within(30, [&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; })) << Output();
  m_pid = -1;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
