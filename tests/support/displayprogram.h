// What the display tests share beside the server itself: waiting for a
// condition, a screenshot read into pixels, and a program started on the
// server (cadhost or Marlo) in a folder of its own, with its output kept.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "xvfbserver.h"

namespace testsupport {

// Polls `done` every 50 ms until it holds or `seconds` have passed.
bool Within(double seconds, const std::function<bool()>& done);

// The whole screen, taken with scrot; empty when that failed.
struct Screen {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // How many pixels of [left, right) x [top, bottom) are within `tol` per channel of `rgb`.
  int Count(int left, int top, int right, int bottom, uint32_t rgb, int tol = 30) const;
};

// Writes the screen to `file` and reads it back. With KEEP_SCREENSHOTS set
// to a folder, a copy is kept there as `<name><n>.png` for a person to look at.
Screen TakeScreenshot(const XvfbServer& server, const std::filesystem::path& file, const std::string& name);

// The first visible window `search` (xdotool search's arguments) finds
// within twenty seconds, and where it lies on the screen, frame included.
bool FindWindowOnScreen(const XvfbServer& server, const std::string& search, int& x, int& y, int& width, int& height);

// A folder to start programs from: the files named in `copied` are copied
// from `from` (a module finds its folder through its resolved name, and
// writes beside itself), everything else there is linked.
void MakeProgramFolder(const std::filesystem::path& from, const std::filesystem::path& folder,
                       const std::vector<std::string>& copied);

// A program on the server, run in `folder`: standard output goes to
// folder/output.txt, standard input is empty, MARLO_PREFIX points at
// folder/prefix (so the user's own registry is never touched) and the leak
// suppressions of the font and text libraries apply. Whatever still runs at
// the end is ended, the programs it started first.
class ProgramOnDisplay {
 public:
  ProgramOnDisplay(const XvfbServer& server, std::filesystem::path folder);
  ~ProgramOnDisplay();
  ProgramOnDisplay(const ProgramOnDisplay&) = delete;
  ProgramOnDisplay& operator=(const ProgramOnDisplay&) = delete;

  // argv[0] is the program's path; --display=<server> is added after it.
  void Start(const std::vector<std::string>& argv);
  std::string Output() const;
  // Waits up to `seconds` for the program to end; its exit status, or -1.
  int WaitForExit(double seconds);
  const std::filesystem::path& Folder() const { return m_folder; }

 private:
  void Stop();

  const XvfbServer& m_server;
  std::filesystem::path m_folder;
  pid_t m_pid = -1;
};

}  // namespace testsupport
