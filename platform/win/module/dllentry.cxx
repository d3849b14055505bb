// Linked into every module: runs the module's DllMain for process attach when
// the shared object is loaded and for process detach when it is unloaded, as
// the original loader did. The module defines DllMain; visibility keeps each
// module's own.
#include "module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

HINSTANCE ThisModule() { return win::ModuleFromAddress(reinterpret_cast<const void*>(&ThisModule)); }

__attribute__((constructor)) void ProcessAttach() {
  win::NoteModuleAttach(ThisModule(), DllMain(ThisModule(), DLL_PROCESS_ATTACH, nullptr));
}

// Runs after a failed attach too: the original loader sends the detach then.
__attribute__((destructor)) void ProcessDetach() { DllMain(ThisModule(), DLL_PROCESS_DETACH, nullptr); }

}  // namespace
