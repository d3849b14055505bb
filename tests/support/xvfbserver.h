// A virtual X server for tests of the display mode: Xvfb started on a free
// display number (it picks one and says which), ended with the object. Each
// test process starts its own, so tests never share or leave a server.
#pragma once

#include <string>
#include <sys/types.h>

namespace testsupport {

class XvfbServer {
 public:
  // Starts Xvfb with a screen of the given size; Running() says whether it came up.
  explicit XvfbServer(int width = 1280, int height = 1024);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return m_pid > 0 && !m_display.empty(); }
  // ":N", for XOpenDisplay and the DISPLAY variable of helper programs.
  const std::string& Display() const { return m_display; }
  // Runs a shell command with DISPLAY set to this server; its exit status.
  int Run(const std::string& command) const;
  // Runs a shell command with DISPLAY set and returns what it printed.
  std::string Output(const std::string& command) const;

 private:
  pid_t m_pid = -1;
  std::string m_display;
};

}  // namespace testsupport
