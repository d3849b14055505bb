// Modules: shared objects that play DLLs. A module handle (HINSTANCE/HMODULE)
// is the base address the object is mapped at, as on the original platform.
#pragma once

#include "wintypes.h"

// A module's DllMain runs from the loader's initialisation code, which does
// not order itself against the module's other static objects. An object that
// DllMain touches is declared with this so that it is built first, as the
// original runtime built every static object before DllMain.
#define DLLMAIN_STATIC __attribute__((init_priority(1000)))

HMODULE LoadLibraryW(LPCWSTR fileName);
BOOL FreeLibrary(HMODULE module);
void* GetProcAddress(HMODULE module, LPCSTR procName);
// Null: the executable.
HMODULE GetModuleHandleW(LPCWSTR moduleName);
// The module's file as a Windows path; null module: the executable. Returns the
// characters copied without the terminator, 0 on failure; truncates to the
// buffer like the original.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
#define GetModuleFileName GetModuleFileNameW
DWORD GetLastError();
void SetLastError(DWORD error);

namespace win {

// The module that holds the given code or data address.
HMODULE ModuleFromAddress(const void* address);

// A module's entry code reports the result of its process attach here; a
// load whose attach failed is undone.
void NoteModuleAttach(HMODULE module, BOOL ok);
bool ModuleAttachFailed(HMODULE module);

// The loader's reason for the last failed LoadLibraryW, in its own words.
const char* LastLoadError();

}  // namespace win
