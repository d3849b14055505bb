// The class library's common dialogs: the print dialog. Its DoModal shows the
// platform's "Print" dialog (commdlg.h) and GetDefaults takes the default
// printer without a window; the printer context it makes belongs to the
// caller, the printer names and settings to the dialog object.
#pragma once

#include "afxwin.h"
#include "commdlg.h"

class CPrintDialog : public CObject {
 public:
  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                        CWnd* pParentWnd = nullptr);
  ~CPrintDialog() override;
  CPrintDialog(const CPrintDialog&) = delete;
  CPrintDialog& operator=(const CPrintDialog&) = delete;

  // IDOK or IDCANCEL.
  virtual INT_PTR DoModal();
  BOOL GetDefaults();
  // The printer context the dialog made (PD_RETURNDC); the caller deletes it.
  HDC GetPrinterDC() const { return m_pd.hDC; }
  // Makes a context for the chosen printer (and keeps it in m_pd.hDC).
  HDC CreatePrinterDC();
  CString GetDeviceName() const;
  CString GetDriverName() const;
  CString GetPortName() const;
  // The printer settings (locked for the caller), or null.
  LPDEVMODE GetDevMode() const;
  int GetCopies() const { return m_pd.nCopies; }
  BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
  int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

  PRINTDLG m_pdActual;
  PRINTDLG& m_pd;

 private:
  CString DevNamesPart(int nPart) const;
};
