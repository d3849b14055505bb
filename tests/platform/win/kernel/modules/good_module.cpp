// A test module whose entry notes each process attach and detach in the file
// named by $TEST_MODULE_LOG, and which exports two functions.
#include <cstdio>
#include <cstdlib>

#include "wintypes.h"

namespace {

HINSTANCE g_hInstance = nullptr;

void Note(const char* what) {
  const char* log = std::getenv("TEST_MODULE_LOG");
  if (!log) return;
  if (FILE* f = std::fopen(log, "a")) {
    std::fprintf(f, "good %s\n", what);
    std::fclose(f);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hInstance = instance;
    Note("attach");
  } else if (reason == DLL_PROCESS_DETACH) {
    Note("detach");
  }
  return TRUE;
}

extern "C" __declspec(dllexport) int Core2Answer() { return 42; }

// The instance handle the entry was given.
extern "C" __declspec(dllexport) HINSTANCE Core2Instance() { return g_hInstance; }
