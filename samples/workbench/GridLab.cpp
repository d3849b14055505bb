// GRIDLAB: the grid workbench. Asks for a delimited grid file (or takes a
// built-in sample of 40 rows by 6 columns) and shows it in a modal dialog
// with the grid control (100) and the buttons Save (201), Print (202) and
// Close (2). Save writes "gridlab-saved.csv" into the host's output folder,
// Print prints the grid into "gridlab.pdf" there. Cells can be dragged.
//
// It is also the example an add-on developer reads: it uses only the grid
// classes Levelmap.arx exports.
#include <ctime>

#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "GridCellDateTime.h"
#include "GridCellNumeric.h"
#include "GridCtrl.h"
#include "GridURLCell.h"
#include "Workbench.h"
#include "afxdlgs.h"
#include "acedframe.h"
#include "acutprint.h"
#include "adscodes.h"
#include "dlgscript.h"
#include "edprompt.h"
#include "resourcetable.h"
#include "textconv.h"

namespace {

enum {
  IDD_GRIDLAB = 3100,
  IDC_GRIDLAB_GRID = 100,
  IDC_GRIDLAB_SAVE = 201,
  IDC_GRIDLAB_PRINT = 202,
};

const win::ResourceTable kGridLabResources{
    {win::DialogResource{IDD_GRIDLAB,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 360, 230, L"Grid workbench", L"Tahoma", 8,
                         {{GRIDCTRL_CLASSNAME, L"", IDC_GRIDLAB_GRID, 7, 7, 346, 192, WS_TABSTOP | WS_BORDER, 0},
                          {L"Button", L"Save", IDC_GRIDLAB_SAVE, 193, 207, 50, 16, BS_PUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"Print", IDC_GRIDLAB_PRINT, 248, 207, 50, 16, BS_PUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"Close", IDCANCEL, 303, 207, 50, 16, BS_PUSHBUTTON | WS_TABSTOP, 0}}}}};

// The sample's bands, cycled down the rows.
const wchar_t* const kBands[] = {L"GSM900", L"DCS1800", L"WCDMA"};

// The built-in sample: a heading row and 39 numbered rows of a drive test's
// sites, one column of each special cell kind (see the workbench README).
void FillSample(CGridCtrl& grid) {
  grid.SetRowCount(40);
  grid.SetColumnCount(6);
  grid.SetFixedRowCount(1);
  grid.SetFixedColumnCount(1);
  const wchar_t* const headings[] = {L"No.", L"Band", L"Checked", L"Points", L"Date", L"Link"};
  for (int col = 0; col < 6; ++col) grid.SetItemText(0, col, headings[col]);
  CStringArray arBands;
  for (const wchar_t* pszBand : kBands) arBands.Add(pszBand);
  for (int row = 1; row < 40; ++row) {
    CString text;
    text.Format(L"%d", row);
    grid.SetItemText(row, 0, text);

    // Band: chosen from a list.
    grid.SetCellType(row, 1, RUNTIME_CLASS(CGridCellCombo));
    auto* pCombo = static_cast<CGridCellCombo*>(grid.GetCell(row, 1));
    pCombo->SetOptions(arBands);
    pCombo->SetStyle(CBS_DROPDOWNLIST);
    grid.SetItemText(row, 1, kBands[(row - 1) % 3]);

    // Checked: a check box, ticked on every fourth row.
    grid.SetCellType(row, 2, RUNTIME_CLASS(CGridCellCheck));
    static_cast<CGridCellCheck*>(grid.GetCell(row, 2))->SetCheck(row % 4 == 0);

    // Points: digits only.
    grid.SetCellType(row, 3, RUNTIME_CLASS(CGridCellNumeric));
    text.Format(L"%d", (row * 37) % 500);
    grid.SetItemText(row, 3, text);

    // Date: a day of March 2024 at noon, shown as the short date.
    grid.SetCellType(row, 4, RUNTIME_CLASS(CGridCellDateTime));
    std::tm day{};
    day.tm_year = 124;
    day.tm_mon = 2;
    day.tm_mday = 1 + (row - 1) % 31;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    static_cast<CGridCellDateTime*>(grid.GetCell(row, 4))->SetTime(std::mktime(&day));

    // Link: opened by a click on it.
    grid.SetCellType(row, 5, RUNTIME_CLASS(CGridURLCell));
    if (row % 5 == 0) text = L"none";
    else text.Format(L"www.site%02d.example.com", row);
    grid.SetItemText(row, 5, text);
  }
}

class CGridLabDlg : public CDialog {
 public:
  CGridLabDlg(const CString& strFile, CWnd* pParent)
      : CDialog(IDD_GRIDLAB, pParent), m_strFile(strFile) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    // The dialog made the grid's window from its template; the grid object
    // takes it over.
    m_Grid.SubclassDlgItem(IDC_GRIDLAB_GRID, this);
    m_Grid.SetFont(GetFont());
    m_Grid.SetEditable(TRUE);
    m_Grid.EnableSelection(TRUE);
    m_Grid.SetHeaderSort(TRUE);
    m_Grid.EnableTitleTips(TRUE);
    m_Grid.EnableDragAndDrop(TRUE);
    if (m_strFile.IsEmpty()) {
      FillSample(m_Grid);
    } else {
      m_Grid.Load(m_strFile, L',');
      // Load leaves no fixed rows or columns; the workbench shows a heading
      // row and a heading column.
      m_Grid.SetFixedRowCount(1);
      m_Grid.SetFixedColumnCount(1);
    }
    m_Grid.AutoSize();
    return TRUE;
  }

  // Enter in the dialog does not close it; Close does.
  void OnOK() override {}

  void OnSave() {
    std::string folder = win::SnapshotFolder();
    ::CreateDirectoryW(CString(folder.c_str()), nullptr);
    CString strPath = CString(folder.c_str()) + L"/gridlab-saved.csv";
    if (m_Grid.Save(strPath, L',')) acutPrintf(L"\nGrid saved as gridlab-saved.csv.");
  }

  void OnPrint() {
    std::string folder = win::SnapshotFolder();
    ::CreateDirectoryW(CString(folder.c_str()), nullptr);
    CString strPath = CString(folder.c_str()) + L"/gridlab.pdf";
    // The printer that writes this PDF file (A4 at 600 dpi): no dialog.
    CPrintDialog dlg(FALSE, PD_ALLPAGES | PD_NOPAGENUMS | PD_NOSELECTION, this);
    dlg.m_pd.hDC = ::CreateDC(L"WINSPOOL", strPath, nullptr, nullptr);
    if (m_Grid.Print(&dlg)) acutPrintf(L"\nGrid printed as gridlab.pdf.");
    else AfxMessageBox(L"The grid could not be printed.", MB_OK | MB_ICONEXCLAMATION);
  }

  DECLARE_MESSAGE_MAP()

 private:
  CString m_strFile;
  CGridCtrl m_Grid;
};

BEGIN_MESSAGE_MAP(CGridLabDlg, CDialog)
  ON_BN_CLICKED(IDC_GRIDLAB_SAVE, &CGridLabDlg::OnSave)
  ON_BN_CLICKED(IDC_GRIDLAB_PRINT, &CGridLabDlg::OnPrint)
END_MESSAGE_MAP()

void GridLab() {
  ACHAR szFile[512] = {0};
  int nResult = acedGetString(1, L"\nGrid file <sample>: ", szFile, 512);
  if (nResult != RTNORM && nResult != RTNONE) return;
  CGridLabDlg dlg(CString(szFile).Trim(), acedGetAcadFrame());
  dlg.DoModal();
}

WorkbenchCommand g_cmdGridLab(L"GRIDLAB", L"GRIDLAB", &GridLab);

}  // namespace
