// Programs and screenshots on a test's X server.
#include "displayprogram.h"

#include <cairo.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

// The processes whose parent is `parent`, from /proc.
std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  for (const fs::directory_entry& e : fs::directory_iterator("/proc")) {
    std::string name = e.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(e.path() / "stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 > stat.size()) continue;
    std::istringstream rest(stat.substr(close + 2));
    char state = 0;
    pid_t ppid = 0;
    rest >> state >> ppid;
    if (ppid == parent) children.push_back(std::stoi(name));
  }
  return children;
}

}  // namespace

bool Within(double seconds, const std::function<bool()>& done) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

int Screen::Count(int left, int top, int right, int bottom, uint32_t rgb, int tol) const {
  int n = 0;
  for (int y = std::max(0, top); y < std::min(height, bottom); ++y)
    for (int x = std::max(0, left); x < std::min(width, right); ++x) {
      uint32_t p = At(x, y);
      bool near = true;
      for (int shift : {16, 8, 0})
        near = near && std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) <= tol;
      n += near;
    }
  return n;
}

Screen TakeScreenshot(const XvfbServer& server, const fs::path& file, const std::string& name) {
  Screen s;
  if (server.Run("scrot -o '" + file.string() + "'") != 0) return s;
  if (const char* keep = std::getenv("KEEP_SCREENSHOTS")) {
    static int shots = 0;
    std::error_code ec;
    fs::copy_file(file, fs::path(keep) / (name + std::to_string(shots++) + ".png"), fs::copy_options::overwrite_existing,
                  ec);
  }
  cairo_surface_t* img = cairo_image_surface_create_from_png(file.c_str());
  if (cairo_surface_status(img) == CAIRO_STATUS_SUCCESS) {
    s.width = cairo_image_surface_get_width(img);
    s.height = cairo_image_surface_get_height(img);
    int stride = cairo_image_surface_get_stride(img);
    cairo_surface_flush(img);
    const unsigned char* data = cairo_image_surface_get_data(img);
    s.pixels.resize(static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x)
        s.pixels[static_cast<size_t>(y) * s.width + x] =
            reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride)[x] & 0xFFFFFF;
  }
  cairo_surface_destroy(img);
  return s;
}

bool FindWindowOnScreen(const XvfbServer& server, const std::string& search, int& x, int& y, int& width, int& height) {
  std::string id = server.Output("timeout 20 xdotool search --sync --onlyvisible " + search + " | head -1");
  if (id.empty()) return false;
  std::string geo = server.Output("xdotool getwindowgeometry --shell " + id);
  std::smatch m;
  for (auto [key, value] : {std::pair{"X", &x}, {"Y", &y}, {"WIDTH", &width}, {"HEIGHT", &height}}) {
    if (!std::regex_search(geo, m, std::regex(std::string("\\b") + key + "=(-?[0-9]+)"))) return false;
    *value = std::stoi(m[1]);
  }
  return true;
}

void MakeProgramFolder(const fs::path& from, const fs::path& folder, const std::vector<std::string>& copied) {
  fs::create_directories(folder);
  for (const fs::directory_entry& e : fs::directory_iterator(from)) {
    std::string name = e.path().filename().string();
    if (std::find(copied.begin(), copied.end(), name) != copied.end())
      fs::copy_file(e.path(), folder / name, fs::copy_options::overwrite_existing);
    else
      fs::create_symlink(e.path(), folder / name);
  }
}

ProgramOnDisplay::ProgramOnDisplay(const XvfbServer& server, fs::path folder)
    : m_server(server), m_folder(std::move(folder)) {
  fs::remove_all(m_folder);
  fs::create_directories(m_folder / "prefix");
}

ProgramOnDisplay::~ProgramOnDisplay() {
  Stop();
  std::error_code ec;
  fs::remove_all(m_folder, ec);
}

void ProgramOnDisplay::Start(const std::vector<std::string>& argv) {
  Stop();
  std::vector<std::string> args = argv;
  args.insert(args.begin() + 1, "--display=" + m_server.Display());
  std::string out = (m_folder / "output.txt").string(), prefix = (m_folder / "prefix").string();
  m_pid = fork();
  if (m_pid != 0) return;
  setenv("MARLO_PREFIX", prefix.c_str(), 1);
  // Under the sanitizer the font and text libraries' caches are no leaks.
  setenv("LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
  if (chdir(m_folder.c_str()) != 0) _exit(126);
  if (!freopen(out.c_str(), "w", stdout) || !freopen("/dev/null", "r", stdin)) _exit(126);
  std::vector<char*> raw;
  for (std::string& a : args) raw.push_back(a.data());
  raw.push_back(nullptr);
  execv(raw[0], raw.data());
  _exit(127);
}

std::string ProgramOnDisplay::Output() const {
  std::ifstream in(m_folder / "output.txt");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int ProgramOnDisplay::WaitForExit(double seconds) {
  int status = 0;
  if (m_pid <= 0 || !Within(seconds, [&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; })) return -1;
  m_pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ProgramOnDisplay::Stop() {
  if (m_pid <= 0) return;
  for (pid_t child : ChildrenOf(m_pid)) kill(child, SIGTERM);
  kill(m_pid, SIGTERM);
  waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

}  // namespace testsupport
