// The class library's exceptions and files: CException and its file,
// memory and resource kinds, CFile (binary, unbuffered), CStdioFile (buffered,
// text or binary), CMemFile and CSharedFile (a memory file on a global memory
// block that can be handed to the clipboard).
//
// As in the original, failures are thrown as heap-allocated exception
// objects caught by pointer and released with Delete():
//   try { ... } catch (CFileException* e) { e->ReportError(); e->Delete(); }
//
// Text mode follows the original platform: the file holds the multibyte code
// page (UTF-8), "\n" is written as "\r\n", and "\r\n" reads back as "\n".
#pragma once

#include <cstdio>

#include "afxobject.h"
#include "cstring.h"
#include "winuser.h"

// ---------------------------------------------------------------- exceptions

class CException : public CObject {
 public:
  CException() = default;
  // Frees an exception that was thrown (the catcher's duty).
  void Delete();
  // The text a person reads about the failure; FALSE when there is none.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
  // Shows the text in a message box (or the given fallback text when the
  // exception has none) and returns the box's answer.
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;
};

class CMemoryException : public CException {
 public:
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CResourceException : public CException {
 public:
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CFileException : public CException {
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName ? lpszArchiveName : L"") {}

  // The cause that goes with a platform error code (GetLastError values).
  static int PASCAL OsErrorToException(LONG lOsError);
  // The cause that goes with a C library errno value.
  static int PASCAL ErrnoToException(int nErrno);

  // "Access to Z:\x\y.txt was denied." and the like, with the file's name.
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
  CString GetErrorMessage() const;

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

// ---------------------------------------------------------------- files

class CFile : public CObject {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile();
  // Opens at once; a failure throws a CFileException.
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // FALSE on failure, with the reason in *pError when given.
  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  // Reads up to nCount bytes; returns how many (0 at the end).
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual void Flush();
  // Closes; a failure to write what was buffered throws.
  virtual void Close();
  // Closes without throwing.
  virtual void Abort();

  CString GetFileName() const;
  CString GetFilePath() const { return m_strFileName; }
  BOOL IsOpen() const { return m_hFile != hFileNull; }

  static const HANDLE hFileNull;
  HANDLE m_hFile;

 protected:
  // Throws the exception for the current errno.
  [[noreturn]] void ThrowErrno(int nErrno) const;

  CString m_strFileName;
};

class CStdioFile : public CFile {
 public:
  CStdioFile();
  CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~CStdioFile() override;

  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override;
  ULONGLONG GetLength() const override;
  void Flush() override;
  void Close() override;
  void Abort() override;

  // Writes the text (in text mode with "\n" as "\r\n").
  virtual void WriteString(LPCTSTR lpsz);
  // Reads at most nMax - 1 characters up to and including a line feed;
  // null at the end of the file.
  virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
  // Reads one whole line of any length without its line feed (and, in text
  // mode, without a "\r" before it); FALSE at the end of the file.
  virtual BOOL ReadString(CString& rString);

  FILE* m_pStream;

 protected:
  bool m_bText = false;
};

class CMemFile : public CFile {
 public:
  explicit CMemFile(UINT nGrowBytes = 1024);
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  ULONGLONG GetLength() const override { return m_nFileSize; }
  void SetLength(ULONGLONG dwNewLen) override;
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the buffer to the caller, who frees it; the file is left empty.
  BYTE* Detach();

 protected:
  // Memory management that a derived file replaces (global memory).
  virtual BYTE* Alloc(SIZE_T nBytes);
  virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
  virtual void Free(BYTE* lpMem);
  // Grows the buffer in steps of the grow size until it holds nNewLen bytes.
  void GrowFile(SIZE_T nNewLen);

  UINT m_nGrowBytes;
  SIZE_T m_nPosition = 0;
  SIZE_T m_nBufferSize = 0;
  SIZE_T m_nFileSize = 0;
  BYTE* m_lpBuffer = nullptr;
  BOOL m_bAutoDelete = TRUE;
};

class CSharedFile : public CMemFile {
 public:
  explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
  ~CSharedFile() override;

  // Hands the global memory block (sized to what was written) to the caller.
  HGLOBAL Detach();
  // Works on an existing block; with bAllowGrow writes may enlarge it.
  void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

 protected:
  BYTE* Alloc(SIZE_T nBytes) override;
  BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
  void Free(BYTE* lpMem) override;

  UINT m_nAllocFlags;
  HGLOBAL m_hGlobalMemory = nullptr;
  BOOL m_bAllowGrow = TRUE;
};
