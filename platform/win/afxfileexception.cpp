#include "afxfileexception.h"

#include <algorithm>
#include <cwchar>

#include "format.h"

IMPLEMENT_DYNAMIC(CFileException, CException)

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case 0: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return badPath;
    case ERROR_ACCESS_DENIED: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT: return hardIO;
    default: return genericException;
  }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
  AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || nMaxError == 0) return FALSE;
  static const wchar_t* const kCauses[] = {
      L"No error occurred.",
      L"An unspecified error occurred while accessing %s.",
      L"%s was not found.",
      L"%s contains an invalid path.",
      L"%s could not be opened because there are too many open files.",
      L"Access to %s was denied.",
      L"An invalid file handle was associated with %s.",
      L"%s could not be removed because it is the current directory.",
      L"%s could not be created because the directory is full.",
      L"Seek failed on %s.",
      L"A hardware I/O error was reported while accessing %s.",
      L"A sharing violation occurred while accessing %s.",
      L"A locking violation occurred while accessing %s.",
      L"Disk full while accessing %s.",
      L"An attempt was made to access %s past its end.",
  };
  int cause = m_cause >= none && m_cause <= endOfFile ? m_cause : genericException;
  std::wstring name = m_strFileName.IsEmpty() ? std::wstring(L"an unnamed file") : std::wstring(m_strFileName.View());
  std::wstring text = win::Format(kCauses[cause], name.c_str());
  size_t n = std::min<size_t>(text.size(), nMaxError - 1);
  std::wmemcpy(lpszError, text.data(), n);
  lpszError[n] = L'\0';
  return TRUE;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}
