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

// Searching a folder for names that match a mask with * and ? (as CFileFind
// does): the first match fills the record, the next ones follow with
// FindNextFileW; FindClose ends the search. INVALID_HANDLE_VALUE (and
// ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND) when nothing matches.
// FindNextFile has no plain-name macro here: it would rename
// CFileFind::FindNextFile in some translation units and not in others.
typedef struct _WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
} WIN32_FIND_DATAW, *PWIN32_FIND_DATAW, *LPWIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW WIN32_FIND_DATA;
typedef LPWIN32_FIND_DATAW LPWIN32_FIND_DATA;

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
// FALSE with ERROR_NO_MORE_FILES after the last match.
BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData);
// FALSE with ERROR_INVALID_HANDLE for a handle that is not an open search.
BOOL FindClose(HANDLE findFile);
#define FindFirstFile FindFirstFileW

namespace win {

// The Windows error code for a C library errno value.
DWORD ErrorFromErrno(int error);

}  // namespace win
