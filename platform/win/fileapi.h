// File and folder calls. Every path may be given in Windows form ("Z:\a\b")
// or POSIX form ("/a/b"). Failures return FALSE (or INVALID_FILE_ATTRIBUTES)
// and leave the reason in GetLastError as a Windows error code.
#pragma once

#include "wintypes.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

#ifndef ERROR_NOT_SAME_DEVICE
#define ERROR_NOT_SAME_DEVICE 17L
#endif
#ifndef ERROR_NO_MORE_FILES
#define ERROR_NO_MORE_FILES 18L
#endif
#ifndef ERROR_DIRECTORY
#define ERROR_DIRECTORY 267L
#endif

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

// FILE_ATTRIBUTE_DIRECTORY for a folder; a file without write permission is
// FILE_ATTRIBUTE_READONLY; a plain file FILE_ATTRIBUTE_NORMAL.
DWORD GetFileAttributesW(LPCWSTR fileName);
// Only FILE_ATTRIBUTE_READONLY can be changed (the owner's write permission).
BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes);

// Deletes a file; a folder is refused with ERROR_ACCESS_DENIED.
BOOL DeleteFileW(LPCWSTR fileName);
// Creates one folder; its parent must exist. An existing one: ERROR_ALREADY_EXISTS.
BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes);
// Removes an empty folder.
BOOL RemoveDirectoryW(LPCWSTR pathName);
// Copies a file with its permissions; with failIfExists an existing target
// is left alone and the call fails with ERROR_FILE_EXISTS.
BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
// Renames or moves a file or folder; an existing target is an error
// (ERROR_ALREADY_EXISTS). Across file systems a file is copied and deleted.
BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);

// Whether a file or folder exists at the path.
BOOL PathFileExistsW(LPCWSTR path);

namespace win {

// The Windows error code for a C library errno value.
DWORD ErrorFromErrno(int error);

}  // namespace win
