// A test module whose process attach fails; it notes attach and detach in
// the file named by $TEST_MODULE_LOG.
#include <cstdio>
#include <cstdlib>

#include "wintypes.h"

namespace {

void Note(const char* what) {
  const char* log = std::getenv("TEST_MODULE_LOG");
  if (!log) return;
  if (FILE* f = std::fopen(log, "a")) {
    std::fprintf(f, "fail %s\n", what);
    std::fclose(f);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Note("attach");
    return FALSE;
  }
  if (reason == DLL_PROCESS_DETACH) Note("detach");
  return TRUE;
}

extern "C" __declspec(dllexport) int Core2Unreachable() { return 1; }
