// CFileFind: the files of a folder whose names match a mask with * and ?
// (matched ignoring case; "*.*" matches every name). Use as the original:
//   BOOL more = finder.FindFile(L"Z:\\data\\*.ini");
//   while (more) { more = finder.FindNextFile(); use finder.GetFilePath(); }
// Names come in a stable order (by their upper-case form); "." and ".." are
// reported like any other match and recognised by IsDots.
#pragma once

#include <string>
#include <vector>

#include "cstring.h"
#include "wintypes.h"

class CFileFind {
 public:
  CFileFind() = default;
  CFileFind(const CFileFind&) = delete;
  CFileFind& operator=(const CFileFind&) = delete;
  virtual ~CFileFind() = default;

  // Starts a search; null means "*.*" in the current folder. TRUE when at
  // least one name matches (then call FindNextFile to reach it).
  BOOL FindFile(LPCWSTR pstrName = nullptr, DWORD dwUnused = 0);
  // Moves to the next match; TRUE while more matches follow it.
  BOOL FindNextFile();
  void Close();

  CString GetFileName() const;
  // The file's full path in Windows form.
  CString GetFilePath() const;
  // The name without its extension.
  CString GetFileTitle() const;
  // The folder searched, in Windows form with a trailing backslash.
  CString GetRoot() const;
  ULONGLONG GetLength() const;

  BOOL IsDirectory() const;
  BOOL IsDots() const;
  BOOL IsReadOnly() const;
  BOOL IsHidden() const;
  BOOL IsNormal() const;
  // Whether the current file has all the given FILE_ATTRIBUTE_ flags.
  BOOL MatchesMask(DWORD dwMask) const;

 private:
  struct Entry {
    std::wstring name;
    DWORD attributes = 0;
    ULONGLONG length = 0;
  };

  const Entry* Current() const;

  std::vector<Entry> m_entries;
  std::wstring m_root;  // Windows form, ends with a backslash
  size_t m_nNext = 0;   // the entry FindNextFile moves to
  bool m_bStarted = false;
};

namespace win {

// Whether the name matches a mask of * (any run) and ? (any one character),
// ignoring case.
bool MatchesWildcard(std::wstring_view name, std::wstring_view mask);

}  // namespace win
