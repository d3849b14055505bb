// The class library's COM exceptions, beside the base, memory and file
// exceptions of afxfile.h: thrown as pointers to heap objects (throw new ...;
// AfxThrow... do it) and caught as pointers; the catching code deletes them
// with Delete() - or lets the TRY / CATCH / AND_CATCH / END_CATCH macros do
// it at the end of the handler.
#pragma once

#include "afxfile.h"
#include "cstring.h"
#include "oaidl.h"
#include "wintypes.h"

// A failed COM call: its result code.
class COleException : public CException {
 public:
  explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
  // The result code a caught exception stands for (E_OUTOFMEMORY for a
  // memory exception, E_UNEXPECTED for others than these two).
  static SCODE Process(const CException* e);

  SCODE m_sc;
};

// A member of an automation object that failed and said why (the server's
// exception record).
class COleDispatchException : public CException {
 public:
  COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
      : m_wCode(wCode), m_strDescription(lpszDescription ? lpszDescription : L""), m_dwHelpContext(nHelpID) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  WORD m_wCode;
  CString m_strDescription;
  DWORD m_dwHelpContext;
  CString m_strHelpFile;
  CString m_strSource;
  SCODE m_scError = S_OK;
};

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
