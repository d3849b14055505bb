// FindFirstFileW / FindNextFileW / FindClose over CFileFind: a search handle
// owns one CFileFind positioned on the match last reported.
#include <cwchar>
#include <memory>
#include <mutex>
#include <set>

#include "fileapi.h"
#include "filefind.h"
#include "module.h"

namespace {

struct FindSearch {
  CFileFind finder;
  bool more = false;  // whether a match follows the one last reported
};

// The open searches, so that a stale or foreign handle is refused instead of
// being used.
std::mutex& SearchesMutex() {
  static std::mutex mutex;
  return mutex;
}
std::set<FindSearch*>& Searches() {
  static std::set<FindSearch*> searches;
  return searches;
}

bool IsOpen(FindSearch* search) {
  std::lock_guard<std::mutex> lock(SearchesMutex());
  return Searches().count(search) != 0;
}

void Fill(const CFileFind& finder, LPWIN32_FIND_DATAW data) {
  *data = WIN32_FIND_DATAW{};
  DWORD attributes = 0;
  if (finder.IsDirectory()) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (finder.IsReadOnly()) attributes |= FILE_ATTRIBUTE_READONLY;
  if (finder.IsHidden()) attributes |= FILE_ATTRIBUTE_HIDDEN;
  data->dwFileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  ULONGLONG length = finder.GetLength();
  data->nFileSizeHigh = static_cast<DWORD>(length >> 32);
  data->nFileSizeLow = static_cast<DWORD>(length & 0xFFFFFFFFu);
  CString name = finder.GetFileName();
  size_t n = static_cast<size_t>(name.GetLength());
  if (n >= MAX_PATH) n = MAX_PATH - 1;
  std::wmemcpy(data->cFileName, name.GetString(), n);
  data->cFileName[n] = 0;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  if (!fileName || !*fileName || !findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<FindSearch>();
  if (!search->finder.FindFile(fileName)) return INVALID_HANDLE_VALUE;  // the reason is set
  search->more = search->finder.FindNextFile() != FALSE;
  Fill(search->finder, findData);
  std::lock_guard<std::mutex> lock(SearchesMutex());
  FindSearch* raw = search.release();
  Searches().insert(raw);
  return static_cast<HANDLE>(raw);
}

BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
  auto* search = static_cast<FindSearch*>(findFile);
  if (!IsOpen(search) || !findData) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!search->more) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  search->more = search->finder.FindNextFile() != FALSE;
  Fill(search->finder, findData);
  return TRUE;
}

BOOL FindClose(HANDLE findFile) {
  auto* search = static_cast<FindSearch*>(findFile);
  {
    std::lock_guard<std::mutex> lock(SearchesMutex());
    if (Searches().erase(search) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  delete search;
  return TRUE;
}
