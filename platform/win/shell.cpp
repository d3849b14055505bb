// The shell's open verb and OLE initialisation. Opening a document or a link
// is written to the transcript; when the environment variable
// MARLO_SHELL_HANDLER names a program, that program is started with the
// target as its one argument, in the background, so a run never waits on it.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "textconv.h"
#include "transcript.h"
#include "winuser.h"

extern char** environ;

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR, int) {
  if (!file || !*file) return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(ERROR_FILE_NOT_FOUND));
  std::string v = verb && *verb ? win::WideToUtf8(verb) : "open";
  std::string target = win::WideToUtf8(file);
  std::string line = "[shell] " + v + " " + target;
  if (parameters && *parameters) line += " " + win::WideToUtf8(parameters);
  user::WriteLine(line);
  if (const char* handler = std::getenv("MARLO_SHELL_HANDLER"); handler && *handler) {
    // Double fork: the handler is adopted by init and never left a zombie.
    pid_t child = fork();
    if (child == 0) {
      pid_t grandchild = 0;
      char* argv[] = {const_cast<char*>(handler), const_cast<char*>(target.c_str()), nullptr};
      int rc = posix_spawnp(&grandchild, handler, nullptr, nullptr, argv, environ);
      _exit(rc == 0 ? 0 : 1);
    }
    if (child > 0) {
      int status = 0;
      waitpid(child, &status, 0);
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(ERROR_FILE_NOT_FOUND));
    }
  }
  // Values above 32 mean success.
  return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(42));
}

HRESULT OleInitialize(LPVOID) { return S_OK; }
void OleUninitialize() {}
BOOL MessageBeep(UINT) { return TRUE; }
