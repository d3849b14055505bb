// Exceptions, CFile and CStdioFile over POSIX descriptors and C streams.
#include "afxfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cwchar>
#include <string>

#include "afxwin.h"
#include "fileapi.h"
#include "paths.h"
#include "textconv.h"

// ---------------------------------------------------------------- exceptions

namespace {

BOOL CopyMessage(const CString& text, LPTSTR lpszError, UINT nMaxError) {
  if (!lpszError || nMaxError == 0) return FALSE;
  UINT n = std::min<UINT>(static_cast<UINT>(text.GetLength()), nMaxError - 1);
  wmemcpy(lpszError, text.GetString(), n);
  lpszError[n] = 0;
  return TRUE;
}

}  // namespace

void CException::Delete() { delete this; }

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError) lpszError[0] = 0;
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const {
  wchar_t text[512] = {0};
  if (GetErrorMessage(text, 512)) return AfxMessageBox(text, nType);
  if (nMessageID) return AfxMessageBox(nMessageID, nType);
  return AfxMessageBox(L"An unsupported operation was attempted.", nType);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(L"Out of memory.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(L"A required resource was unavailable.", lpszError, nMaxError);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return badPath;
    case 4: return tooManyOpenFiles;  // ERROR_TOO_MANY_OPEN_FILES
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case 16: return removeCurrentDir;  // ERROR_CURRENT_DIRECTORY
    case 25: return badSeek;           // ERROR_SEEK
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case 33: return lockViolation;  // ERROR_LOCK_VIOLATION
    case 39:                        // ERROR_HANDLE_DISK_FULL
    case 112: return diskFull;      // ERROR_DISK_FULL
    case 38: return endOfFile;      // ERROR_HANDLE_EOF
    default: return genericException;
  }
}

int PASCAL CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    case EBUSY:
    case ETXTBSY: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    default: return genericException;
  }
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(GetErrorMessage(), lpszError, nMaxError);
}

CString CFileException::GetErrorMessage() const {
  static const wchar_t* const kTexts[] = {
      L"No error occurred.",
      L"An unknown error occurred while accessing %s.",
      L"%s was not found.",
      L"%s contains an incorrect path.",
      L"Could not open %s because there are too many open files.",
      L"Access to %s was denied.",
      L"An incorrect file handle was associated with %s.",
      L"Could not remove %s because it is the current directory.",
      L"Could not create %s because the directory is full.",
      L"Seek failed on %s.",
      L"A hardware I/O error was reported while accessing %s.",
      L"A sharing violation occurred while accessing %s.",
      L"A locking violation occurred while accessing %s.",
      L"Disk full while accessing %s.",
      L"An attempt was made to access %s past its end.",
  };
  int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : genericException;
  CString name = m_strFileName.IsEmpty() ? CString(L"an unnamed file") : m_strFileName;
  CString text;
  text.Format(kTexts[cause], name.GetString());
  return text;
}

void AFXAPI AfxThrowMemoryException() { throw new CMemoryException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

// ---------------------------------------------------------------- CFile

namespace {

HANDLE FdHandle(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd)); }
int HandleFd(HANDLE h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }

int PosixFlags(UINT nOpenFlags) {
  int flags = O_CLOEXEC;
  switch (nOpenFlags & 3) {
    case CFile::modeWrite: flags |= O_WRONLY; break;
    case CFile::modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  if (nOpenFlags & CFile::modeCreate) {
    flags |= O_CREAT;
    if (!(nOpenFlags & CFile::modeNoTruncate)) flags |= O_TRUNC;
  }
  return flags;
}

void FillError(CFileException* pError, int nErrno, LPCTSTR lpszFileName) {
  if (!pError) return;
  pError->m_cause = CFileException::ErrnoToException(nErrno);
  pError->m_lOsError = static_cast<LONG>(win::ErrorFromErrno(nErrno));
  pError->m_strFileName = lpszFileName ? lpszFileName : L"";
}

}  // namespace

const HANDLE CFile::hFileNull = FdHandle(-1);

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull) Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != hFileNull) Abort();
  m_strFileName = lpszFileName ? lpszFileName : L"";
  if (!lpszFileName || !*lpszFileName) {
    FillError(pError, ENOENT, lpszFileName);
    return FALSE;
  }
  int fd = ::open(win::ToPosixPath(std::wstring_view(lpszFileName)).c_str(), PosixFlags(nOpenFlags), 0666);
  if (fd < 0) {
    FillError(pError, errno, lpszFileName);
    return FALSE;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    FillError(pError, EACCES, lpszFileName);
    return FALSE;
  }
  m_hFile = FdHandle(fd);
  return TRUE;
}

void CFile::ThrowErrno(int nErrno) const {
  AfxThrowFileException(CFileException::ErrnoToException(nErrno), static_cast<LONG>(win::ErrorFromErrno(nErrno)),
                        m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  UINT done = 0;
  auto* p = static_cast<char*>(lpBuf);
  while (done < nCount) {
    ssize_t n = ::read(HandleFd(m_hFile), p + done, nCount - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  UINT done = 0;
  const auto* p = static_cast<const char*>(lpBuf);
  while (done < nCount) {
    ssize_t n = ::write(HandleFd(m_hFile), p + done, nCount - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    done += static_cast<UINT>(n);
  }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  int whence = nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : SEEK_SET;
  off_t pos = ::lseek(HandleFd(m_hFile), static_cast<off_t>(lOff), whence);
  if (pos < 0) AfxThrowFileException(CFileException::badSeek, static_cast<LONG>(win::ErrorFromErrno(errno)), m_strFileName);
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetPosition() const {
  if (m_hFile == hFileNull) return 0;
  off_t pos = ::lseek(HandleFd(m_hFile), 0, SEEK_CUR);
  return pos < 0 ? 0 : static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
  struct stat st {};
  if (m_hFile == hFileNull || fstat(HandleFd(m_hFile), &st) != 0) return 0;
  return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  if (::ftruncate(HandleFd(m_hFile), static_cast<off_t>(dwNewLen)) != 0) ThrowErrno(errno);
}

void CFile::Flush() {
  if (m_hFile != hFileNull && ::fsync(HandleFd(m_hFile)) != 0 && errno != EINVAL) ThrowErrno(errno);
}

void CFile::Close() {
  if (m_hFile == hFileNull) return;
  int fd = HandleFd(m_hFile);
  m_hFile = hFileNull;
  if (::close(fd) != 0) ThrowErrno(errno);
}

void CFile::Abort() {
  if (m_hFile == hFileNull) return;
  ::close(HandleFd(m_hFile));
  m_hFile = hFileNull;
}

CString CFile::GetFileName() const {
  int slash = std::max(m_strFileName.ReverseFind(L'\\'), m_strFileName.ReverseFind(L'/'));
  return m_strFileName.Mid(slash + 1);
}

// ---------------------------------------------------------------- CStdioFile

CStdioFile::CStdioFile() : m_pStream(nullptr) {}

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_pStream(nullptr) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream) Abort();
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_pStream) Abort();
  if (!CFile::Open(lpszFileName, nOpenFlags, pError)) return FALSE;
  const char* mode = "r";
  switch (nOpenFlags & 3) {
    case modeWrite: mode = (nOpenFlags & modeNoTruncate) ? "a" : "w"; break;
    case modeReadWrite: mode = (nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate) ? "w+" : "r+"; break;
    default: break;
  }
  int fd = static_cast<int>(reinterpret_cast<intptr_t>(m_hFile));
  m_pStream = ::fdopen(fd, mode);
  if (!m_pStream) {
    int err = errno;
    CFile::Abort();
    FillError(pError, err, lpszFileName);
    return FALSE;
  }
  m_bText = !(nOpenFlags & typeBinary);
  return TRUE;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  size_t n = std::fread(lpBuf, 1, nCount, m_pStream);
  if (n < nCount && std::ferror(m_pStream)) {
    std::clearerr(m_pStream);
    ThrowErrno(errno ? errno : EIO);
  }
  return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  if (std::fwrite(lpBuf, 1, nCount, m_pStream) != nCount) ThrowErrno(errno ? errno : EIO);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  int whence = nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : SEEK_SET;
  if (::fseeko(m_pStream, static_cast<off_t>(lOff), whence) != 0)
    AfxThrowFileException(CFileException::badSeek, static_cast<LONG>(win::ErrorFromErrno(errno)), m_strFileName);
  return GetPosition();
}

ULONGLONG CStdioFile::GetPosition() const {
  if (!m_pStream) return 0;
  off_t pos = ::ftello(m_pStream);
  return pos < 0 ? 0 : static_cast<ULONGLONG>(pos);
}

ULONGLONG CStdioFile::GetLength() const {
  if (!m_pStream) return 0;
  std::fflush(m_pStream);
  return CFile::GetLength();
}

void CStdioFile::Flush() {
  if (m_pStream && std::fflush(m_pStream) != 0) ThrowErrno(errno ? errno : EIO);
}

void CStdioFile::Close() {
  if (!m_pStream) return;
  FILE* stream = m_pStream;
  m_pStream = nullptr;
  m_hFile = hFileNull;
  errno = 0;
  bool failed = std::ferror(stream) != 0;
  failed = (std::fflush(stream) != 0) || failed;
  int err = errno;
  failed = (std::fclose(stream) != 0) || failed;
  if (!err) err = errno;
  if (failed) ThrowErrno(err ? err : EIO);
}

void CStdioFile::Abort() {
  if (m_pStream) {
    std::fclose(m_pStream);
    m_pStream = nullptr;
    m_hFile = hFileNull;
  }
}

void CStdioFile::WriteString(LPCTSTR lpsz) {
  if (!lpsz) AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  std::string bytes = win::WideToUtf8(std::wstring_view(lpsz));
  if (m_bText) {
    std::string crlf;
    crlf.reserve(bytes.size() + 16);
    for (char c : bytes) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    bytes.swap(crlf);
  }
  Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

namespace {

// Reads bytes up to and including a line feed (or to the end). FALSE when
// nothing was left to read; a read error throws through the callback.
template <class ThrowFn>
bool ReadLineBytes(FILE* stream, std::string& line, size_t maxBytes, ThrowFn fail) {
  line.clear();
  int c = 0;
  while (line.size() < maxBytes && (c = std::fgetc(stream)) != EOF) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  if (c == EOF && std::ferror(stream)) {
    int err = errno;
    std::clearerr(stream);
    fail(err ? err : EIO);
  }
  return !line.empty();
}

}  // namespace

BOOL CStdioFile::ReadString(CString& rString) {
  rString.Empty();
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  std::string line;
  if (!ReadLineBytes(m_pStream, line, SIZE_MAX, [this](int err) { ThrowErrno(err); })) return FALSE;
  if (!line.empty() && line.back() == '\n') {
    line.pop_back();
    if (m_bText && !line.empty() && line.back() == '\r') line.pop_back();
  }
  rString = CString(win::Utf8ToWide(line));
  return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  if (!lpsz || nMax == 0) return nullptr;
  // Characters are read whole: at most nMax - 1 of them, each up to four bytes.
  std::wstring text;
  std::string pending;
  while (text.size() + 1 < nMax) {
    int c = std::fgetc(m_pStream);
    if (c == EOF) {
      if (std::ferror(m_pStream)) {
        int err = errno;
        std::clearerr(m_pStream);
        ThrowErrno(err ? err : EIO);
      }
      break;
    }
    pending += static_cast<char>(c);
    auto lead = static_cast<unsigned char>(pending[0]);
    size_t need = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (pending.size() < need) continue;
    std::wstring ch = win::Utf8ToWide(pending);
    pending.clear();
    if (m_bText && ch == L"\n" && !text.empty() && text.back() == L'\r') text.pop_back();
    text += ch;
    if (ch == L"\n") break;
  }
  if (!pending.empty()) text += win::Utf8ToWide(pending);
  if (text.empty()) {
    lpsz[0] = 0;
    return nullptr;
  }
  size_t n = std::min<size_t>(text.size(), nMax - 1);
  wmemcpy(lpsz, text.data(), n);
  lpsz[n] = 0;
  return lpsz;
}
