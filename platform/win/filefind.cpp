// CFileFind and wildcard matching: the files of a folder whose names match a
// mask, in the order of the original's file system.
#include "filefind.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cwctype>
#include <memory>

#include "fileapi.h"
#include "module.h"
#include "paths.h"
#include "textconv.h"
#include "textutil.h"

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

namespace win {

bool MatchesWildcard(std::wstring_view name, std::wstring_view mask) {
  std::wstring n = textutil::Upper(name);
  std::wstring m = textutil::Upper(mask);
  // Iterative match with backtracking to the last star.
  size_t i = 0, j = 0, star = std::wstring::npos, mark = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == L'?' || m[j] == n[i])) {
      ++i, ++j;
    } else if (j < m.size() && m[j] == L'*') {
      star = j++;
      mark = i;
    } else if (star != std::wstring::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == L'*') ++j;
  return j == m.size();
}

}  // namespace win

BOOL CFileFind::FindFile(LPCWSTR pstrName, DWORD) {
  Close();
  std::wstring pattern = pstrName && *pstrName ? pstrName : L"*.*";
  size_t cut = pattern.find_last_of(L"\\/");
  std::wstring folder;
  std::wstring mask = pattern;
  if (cut != std::wstring::npos) {
    folder = pattern.substr(0, cut + 1);
    mask = pattern.substr(cut + 1);
  } else if (pattern.size() >= 2 && pattern[1] == L':') {
    folder = pattern.substr(0, 2) + L"\\";
    mask = pattern.substr(2);
  }
  std::string posixFolder = folder.empty() ? std::string(".") : win::ToPosixPath(folder);
  if (posixFolder.empty() || posixFolder[0] != '/') {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return FALSE;
    }
    posixFolder = std::string(cwd) + "/" + (posixFolder == "." ? std::string() : posixFolder);
  }
  if (posixFolder.back() != '/') posixFolder += '/';
  if (mask == L"*.*") mask = L"*";

  std::unique_ptr<DIR, DirCloser> dir(opendir(posixFolder.c_str()));
  if (!dir) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (!mask.empty()) {
    while (dirent* item = readdir(dir.get())) {
      std::wstring name = win::Utf8ToWide(item->d_name);
      if (!win::MatchesWildcard(name, mask)) continue;
      Entry entry;
      entry.name = name;
      struct stat st {};
      if (fstatat(dirfd(dir.get()), item->d_name, &st, 0) != 0 &&
          fstatat(dirfd(dir.get()), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        continue;
      if (S_ISDIR(st.st_mode)) entry.attributes |= FILE_ATTRIBUTE_DIRECTORY;
      if (!(st.st_mode & S_IWUSR)) entry.attributes |= FILE_ATTRIBUTE_READONLY;
      if (name.size() > 1 && name[0] == L'.' && name != L"..") entry.attributes |= FILE_ATTRIBUTE_HIDDEN;
      if (entry.attributes == 0) entry.attributes = FILE_ATTRIBUTE_NORMAL;
      entry.length = S_ISDIR(st.st_mode) ? 0 : static_cast<ULONGLONG>(st.st_size);
      m_entries.push_back(std::move(entry));
    }
  }
  if (m_entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // In the order of the original's file system, which compares names in upper case.
  std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
    std::wstring ua = win::textutil::Upper(a.name), ub = win::textutil::Upper(b.name);
    return ua != ub ? ua < ub : a.name < b.name;
  });
  m_root = win::ToWindowsPath(posixFolder);
  if (m_root.empty() || m_root.back() != L'\\') m_root += L'\\';
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_nNext >= m_entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  m_bStarted = true;
  ++m_nNext;
  return m_nNext < m_entries.size();
}

void CFileFind::Close() {
  m_entries.clear();
  m_root.clear();
  m_nNext = 0;
  m_bStarted = false;
}

const CFileFind::Entry* CFileFind::Current() const {
  if (!m_bStarted || m_nNext == 0 || m_nNext > m_entries.size()) return nullptr;
  return &m_entries[m_nNext - 1];
}

CString CFileFind::GetFileName() const {
  const Entry* e = Current();
  return e ? CString(e->name) : CString();
}

CString CFileFind::GetFilePath() const {
  const Entry* e = Current();
  return e ? CString(m_root + e->name) : CString();
}

CString CFileFind::GetFileTitle() const {
  const Entry* e = Current();
  if (!e) return CString();
  size_t dot = e->name.rfind(L'.');
  return CString(dot == std::wstring::npos || dot == 0 ? e->name : e->name.substr(0, dot));
}

CString CFileFind::GetRoot() const { return m_entries.empty() ? CString() : CString(m_root); }

ULONGLONG CFileFind::GetLength() const {
  const Entry* e = Current();
  return e ? e->length : 0;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
  const Entry* e = Current();
  return e && (e->attributes & dwMask) == dwMask ? TRUE : FALSE;
}

BOOL CFileFind::IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
BOOL CFileFind::IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
BOOL CFileFind::IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
BOOL CFileFind::IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }

BOOL CFileFind::IsDots() const {
  const Entry* e = Current();
  return e && (e->attributes & FILE_ATTRIBUTE_DIRECTORY) && (e->name == L"." || e->name == L"..") ? TRUE : FALSE;
}
