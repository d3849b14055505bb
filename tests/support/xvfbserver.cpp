// Starts Xvfb with -displayfd, so that the server itself chooses a display
// number no other server uses, and ends it (and waits for it) at the end.
#include "xvfbserver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

XvfbServer::XvfbServer(int width, int height) {
  int fds[2];
  if (pipe(fds) != 0) return;
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::string fd = std::to_string(fds[1]);
  m_pid = fork();
  if (m_pid == 0) {
    // The server goes with the test process, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(fds[0]);
    int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      dup2(devnull, 0);
      dup2(devnull, 1);
      dup2(devnull, 2);
    }
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (m_pid < 0) {
    close(fds[0]);
    return;
  }
  // The server writes its display number once it accepts connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, 20000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (!number.empty()) m_display = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGTERM);
  int status = 0;
  waitpid(m_pid, &status, 0);
}

int XvfbServer::Run(const std::string& command) const {
  std::string line = "export DISPLAY=" + m_display + "; " + command;
  int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string XvfbServer::Output(const std::string& command) const {
  std::string line = "export DISPLAY=" + m_display + "; " + command;
  std::string out;
  if (FILE* f = popen(line.c_str(), "r")) {
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), f)) > 0) out.append(buf.data(), n);
    pclose(f);
  }
  return out;
}

}  // namespace testsupport
