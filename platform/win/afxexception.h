// The class library's exceptions: thrown as pointers to heap objects
// (throw new ...; AfxThrow... do it) and caught as pointers, and the
// catching code deletes them with Delete() - or lets the TRY / CATCH /
// AND_CATCH / END_CATCH macros do it at the end of the handler.
//
// CFileException has its own header, afxfileexception.h.
#pragma once

#include "afxobject.h"
#include "cstring.h"
#include "oaidl.h"
#include "winuser.h"
#include "wintypes.h"

typedef UINT* PUINT;

class CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  // Deletes an exception made on the heap; one made otherwise stays.
  void Delete();
  // The message for the user; FALSE when there is none.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
  // Shows the message in a message box; returns the box's answer.
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

  BOOL m_bAutoDelete;
};

// Out of memory.
class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)

 public:
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// A failed COM call: its result code.
class COleException : public CException {
  DECLARE_DYNAMIC(COleException)

 public:
  explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
  // The result code a caught exception stands for (E_OUTOFMEMORY for a
  // memory exception, E_UNEXPECTED for others than these two).
  static SCODE Process(const CException* e);

  SCODE m_sc;
};

// A member of an automation object that failed and said why (the server's
// exception record).
class COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)

 public:
  COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
      : m_wCode(wCode), m_strDescription(lpszDescription ? lpszDescription : L""), m_dwHelpContext(nHelpID) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  WORD m_wCode;
  CString m_strDescription;
  DWORD m_dwHelpContext;
  CString m_strHelpFile;
  CString m_strSource;
  SCODE m_scError = S_OK;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
// E_OUTOFMEMORY throws a CMemoryException, as the library does.
[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);

// Deletes the caught exception when the handler ends (CATCH and AND_CATCH).
class AfxCaughtException {
 public:
  explicit AfxCaughtException(CException* e) : m_e(e) {}
  ~AfxCaughtException() {
    if (m_e) m_e->Delete();
  }
  AfxCaughtException(const AfxCaughtException&) = delete;
  AfxCaughtException& operator=(const AfxCaughtException&) = delete;

 private:
  CException* m_e;
};

#define TRY try {
#define CATCH(class_name, e) \
  }                          \
  catch (class_name * e) {   \
    ::AfxCaughtException afxCaught_##e(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL }
