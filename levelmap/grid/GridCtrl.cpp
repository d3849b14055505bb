// The grid window: its class, construction and creation, row and column
// counts, the option setters that do more than store a value, and the
// notifications it sends to its owner.
#include "GridCtrl.h"

#include <climits>
#include <new>

#include "scriptprobe.h"

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_MOUSEWHEEL()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETCURSOR()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_GETDLGCODE()
  ON_WM_DESTROY()
  ON_NOTIFY(GVN_ENDLABELEDIT, IDC_INPLACE_CONTROL, &CGridCtrl::OnEndInPlaceEdit)
  ON_COMMAND(ID_EDIT_COPY, &CGridCtrl::OnEditCopy)
  ON_COMMAND(ID_EDIT_CUT, &CGridCtrl::OnEditCut)
  ON_COMMAND(ID_EDIT_PASTE, &CGridCtrl::OnEditPaste)
  ON_COMMAND(ID_EDIT_SELECT_ALL, &CGridCtrl::OnEditSelectAll)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CGridCtrl::OnUpdateEditCopy)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CGridCtrl::OnUpdateEditCut)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CGridCtrl::OnUpdateEditPaste)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, &CGridCtrl::OnUpdateEditSelectAll)
  ON_MESSAGE(WM_SETFONT, &CGridCtrl::OnSetFont)
  ON_MESSAGE(WM_GETFONT, &CGridCtrl::OnGetFont)
  ON_MESSAGE(WM_SCRIPT_PRINT, &CGridCtrl::OnScriptPrint)
  ON_MESSAGE(WM_SCRIPT_CELLPOINT, &CGridCtrl::OnScriptCellPoint)
END_MESSAGE_MAP()

namespace {

// The lines a wheel notch scrolls: the system's setting, or the desktop
// setting of the current user, else 3. "A page at a time" (and any other
// huge value) is held to a number a scroll can use.
UINT WheelScrollLines() {
  const UINT kMaxLines = 100;
  UINT nLines = 3;
  if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0)) {
    nLines = 3;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS) {
      wchar_t szData[128] = {0};
      DWORD dwType = 0, dwSize = sizeof szData - sizeof(wchar_t);
      if (::RegQueryValueExW(hKey, L"WheelScrollLines", nullptr, &dwType, reinterpret_cast<LPBYTE>(szData), &dwSize) ==
          ERROR_SUCCESS)
        nLines = static_cast<UINT>(std::max(0, _wtoi(szData)));
      ::RegCloseKey(hKey);
    }
  }
  return std::min(nLines, kMaxLines);
}

}  // namespace

// ---------------------------------------------------------------- window class

void CGridCtrl::RegisterWindowClass() {
  // Once per module: this flag lives in the module that holds the grid.
  static bool s_bRegistered = false;
  if (s_bRegistered) return;
  HINSTANCE hInst = AfxGetInstanceHandle();
  WNDCLASS wndcls{};
  if (!::GetClassInfoW(hInst, GRIDCTRL_CLASSNAME, &wndcls)) {
    wndcls.style = CS_DBLCLKS;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.cbClsExtra = wndcls.cbWndExtra = 0;
    wndcls.hInstance = hInst;
    wndcls.hIcon = nullptr;
    wndcls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wndcls.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
    wndcls.lpszMenuName = nullptr;
    wndcls.lpszClassName = GRIDCTRL_CLASSNAME;
    // A class that already exists (the module loaded a second time, or
    // another module registered it) serves as well as a new one.
    if (!AfxRegisterClass(&wndcls) && !::GetClassInfoW(hInst, GRIDCTRL_CLASSNAME, &wndcls)) AfxThrowResourceException();
  }
  s_bRegistered = true;
}

// ---------------------------------------------------------------- construction

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_nRows(0),
      m_nFixedRows(0),
      m_nFreezedRows(0),
      m_nCols(0),
      m_nFixedCols(0),
      m_nFreezedCols(0),
      m_bFreezedFrame(TRUE),
      m_pRtcDefault(RUNTIME_CLASS(CGridCell)),
      m_nSortColumn(-1),
      m_bAscending(TRUE),
      m_pfnCompare(nullptr),
      m_pfnVirtualCompare(nullptr),
      m_bModified(FALSE),
      m_bVirtualMode(FALSE),
      m_pfnCallback(nullptr),
      m_lParam(0),
      m_pVirtualCell(nullptr),
      m_pVirtualDispInfo(nullptr),
      m_pImageList(nullptr),
      m_crGridBkColour(::GetSysColor(COLOR_3DSHADOW)),
      m_crGridLineColour(RGB(192, 192, 192)),
      m_crTTipBackClr(CLR_DEFAULT),
      m_crTTipTextClr(CLR_DEFAULT),
      m_nGridLines(GVL_BOTH),
      m_bEditable(TRUE),
      m_bListMode(FALSE),
      m_bSingleRowSelection(FALSE),
      m_bSingleColSelection(FALSE),
      m_bEnableSelection(TRUE),
      m_bFixedColumnSelection(TRUE),
      m_bFixedRowSelection(TRUE),
      m_bAllowDragAndDrop(FALSE),
      m_bAllowRowResize(TRUE),
      m_bAllowColumnResize(TRUE),
      m_bSortOnClick(FALSE),
      m_bHandleTabKey(TRUE),
      m_bDoubleBuffer(TRUE),
      m_bTitleTips(TRUE),
      m_bTrackFocusCell(FALSE),
      m_bFrameFocus(TRUE),
      m_nAutoSizeColumnStyle(GVS_BOTH),
      m_bHiddenColUnhide(TRUE),
      m_bHiddenRowUnhide(TRUE),
      m_bAllowColHide(TRUE),
      m_bAllowRowHide(TRUE),
      m_bWysiwygPrinting(FALSE),
      m_bShadedPrintOut(TRUE),
      m_AllowReorderColumn(FALSE),
      m_bDragRowMode(TRUE),
      m_QuitFocusOnTab(FALSE),
      m_AllowSelectRowInFixedCol(FALSE),
      m_bShowHorzNonGridArea(TRUE),
      m_bAllowDraw(TRUE),
      m_MouseMode(MOUSE_NOTHING),
      m_nRowsPerWheelNotch(WheelScrollLines()),
      m_bInResetScrollBars(FALSE),
      m_hWindowFont(nullptr),
      m_nVScrollMax(0),
      m_nHScrollMax(0),
      m_nEditEndKey(0),
      m_nSizingIndex(-1),
      m_nSizingLinePos(-1),
      m_nDragColumn(-1),
      m_bTimerRunning(FALSE) {
  RegisterWindowClass();
  if (FAILED(::OleInitialize(nullptr)))
    AfxMessageBox(L"OLE initialization failed. Make sure that the OLE libraries are the correct version");

  SetupDefaultCells();
  m_pVirtualCell = new CGridCell;
  m_pVirtualCell->SetGrid(this);
  m_pVirtualDispInfo = new GV_DISPINFO{};

  SetRowCount(nRows);
  SetColumnCount(nCols);
  SetFixedRowCount(nFixedRows);
  SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl() {
  // The window goes while the grid is whole (its children may still talk
  // to it), then the cells.
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
  BOOL bVirtual = m_bVirtualMode;
  m_bVirtualMode = FALSE;
  for (int row = 0; row < m_RowData.GetSize(); ++row) {
    GRID_ROW* pRow = m_RowData[row];
    if (!pRow) continue;
    for (int col = 0; col < pRow->GetSize(); ++col) delete pRow->GetAt(col);
    delete pRow;
  }
  m_RowData.RemoveAll();
  m_bVirtualMode = bVirtual;
  delete m_pVirtualCell;
  delete m_pVirtualDispInfo;
}

void CGridCtrl::SetupDefaultCells() {
  m_cellDefault.SetGrid(this);
  m_cellFixedColDef.SetGrid(this);
  m_cellFixedRowDef.SetGrid(this);
  m_cellFixedRowColDef.SetGrid(this);
  m_cellDefault.SetTextClr(CLR_DEFAULT);
  m_cellDefault.SetBackClr(CLR_DEFAULT);
  for (CGridDefaultCell* pCell : {&m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
    pCell->SetTextClr(CLR_DEFAULT);
    pCell->SetBackClr(CLR_DEFAULT);
  }
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle) {
  if (!CWnd::Create(GRIDCTRL_CLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID)) return FALSE;
  try {
    CUIntArray arRowHeights, arColWidths;
    arRowHeights.SetSize(m_nRows);
    arColWidths.SetSize(m_nCols);
    for (int i = 0; i < m_nRows; ++i) arRowHeights[i] = static_cast<UINT>(m_cellDefault.GetHeight());
    for (int i = 0; i < m_nCols; ++i) arColWidths[i] = static_cast<UINT>(m_cellDefault.GetWidth());
    m_arRowHeights.Copy(arRowHeights);
    m_arColWidths.Copy(arColWidths);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  ResetScrollBars();
  if (m_bAllowDragAndDrop) m_DropTarget.Register(this);
  return TRUE;
}

// ---------------------------------------------------------------- counts

BOOL CGridCtrl::SetRowCount(int nRows) {
  if (nRows < 0) return FALSE;
  if (nRows == GetRowCount()) return TRUE;

  int nOldRows = m_nRows;
  try {
    if (nRows < nOldRows) {
      if (!m_bVirtualMode)
        for (int row = nRows; row < nOldRows; ++row) {
          for (int col = 0; col < m_nCols; ++col) DestroyCell(row, col);
          delete m_RowData[row];
          m_RowData[row] = nullptr;
        }
      m_RowData.SetSize(m_bVirtualMode ? 0 : nRows);
      m_arRowHeights.SetSize(nRows);
    } else {
      // Everything is made before the grid takes it, so a failure leaves
      // the grid as it was.
      std::vector<GRID_ROW*> arNewRows;
      if (!m_bVirtualMode) {
        try {
          for (int row = nOldRows; row < nRows; ++row) {
            auto* pRow = new GRID_ROW;
            arNewRows.push_back(pRow);
            pRow->SetSize(m_nCols);
          }
        } catch (...) {
          for (GRID_ROW* pRow : arNewRows) delete pRow;
          throw;
        }
      }
      m_arRowHeights.SetSize(nRows);
      if (!m_bVirtualMode) {
        m_RowData.SetSize(nRows);
        for (int row = nOldRows; row < nRows; ++row) m_RowData[row] = arNewRows[static_cast<size_t>(row - nOldRows)];
      }
      m_nRows = nRows;
      for (int row = nOldRows; row < nRows; ++row) {
        m_arRowHeights[row] = static_cast<UINT>(m_cellFixedRowDef.GetHeight());
        if (!m_bVirtualMode)
          for (int col = 0; col < m_nCols; ++col) {
            GRID_ROW* pRow = m_RowData[row];
            pRow->SetAt(col, CreateCell(row, col));
          }
      }
    }
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  m_nRows = nRows;
  if (m_nFixedRows > nRows) m_nFixedRows = nRows;
  if (m_nFreezedRows > nRows - m_nFixedRows) m_nFreezedRows = nRows - m_nFixedRows;
  if (m_bVirtualMode) ResetVirtualOrder();
  if (nRows < nOldRows) {
    if (m_idCurrentCell.row >= nRows) m_idCurrentCell = CCellID(-1, -1);
    if (m_SelectionStartCell.row >= nRows) m_SelectionStartCell = CCellID(-1, -1);
    PruneSelection();
    PruneMergedCells();
  }
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetColumnCount(int nCols) {
  if (nCols < 0) return FALSE;
  if (nCols == GetColumnCount()) return TRUE;

  int nOldCols = m_nCols;
  try {
    // Build every row's new cells first so a failure changes nothing.
    std::vector<std::vector<CGridCellBase*>> arNewCells;
    if (nCols > nOldCols && !m_bVirtualMode) {
      try {
        arNewCells.resize(static_cast<size_t>(m_nRows));
        for (int row = 0; row < m_nRows; ++row) {
          arNewCells[static_cast<size_t>(row)].reserve(static_cast<size_t>(nCols - nOldCols));
          for (int col = nOldCols; col < nCols; ++col) arNewCells[static_cast<size_t>(row)].push_back(nullptr);
        }
      } catch (...) {
        throw;
      }
    }
    CUIntArray arColWidths;
    arColWidths.Copy(m_arColWidths);
    arColWidths.SetSize(nCols);
    std::vector<int> arColOrder(static_cast<size_t>(nCols));

    if (nCols < nOldCols && !m_bVirtualMode)
      for (int row = 0; row < m_nRows; ++row)
        for (int col = nCols; col < nOldCols; ++col) {
          GRID_ROW* pRow = m_RowData[row];
          delete pRow->GetAt(col);
          pRow->SetAt(col, nullptr);
        }
    if (!m_bVirtualMode)
      for (int row = 0; row < m_nRows; ++row) m_RowData[row]->SetSize(nCols);
    m_arColWidths.Copy(arColWidths);
    m_nCols = nCols;
    for (int col = nOldCols; col < nCols; ++col) {
      m_arColWidths[col] = static_cast<UINT>(m_cellFixedColDef.GetWidth());
      if (!m_bVirtualMode)
        for (int row = 0; row < m_nRows; ++row) m_RowData[row]->SetAt(col, CreateCell(row, col));
    }
    for (int i = 0; i < nCols; ++i) arColOrder[static_cast<size_t>(i)] = i;
    m_arColOrder.swap(arColOrder);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  if (m_nFixedCols > nCols) m_nFixedCols = nCols;
  if (m_nFreezedCols > nCols - m_nFixedCols) m_nFreezedCols = nCols - m_nFixedCols;
  if (nCols < nOldCols) {
    if (m_idCurrentCell.col >= nCols) m_idCurrentCell = CCellID(-1, -1);
    if (m_SelectionStartCell.col >= nCols) m_SelectionStartCell = CCellID(-1, -1);
    if (m_nSortColumn >= nCols) m_nSortColumn = -1;
    PruneSelection();
    PruneMergedCells();
  }
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows) {
  if (nFixedRows < 0) return FALSE;
  if (m_nFixedRows == nFixedRows) return TRUE;
  if (nFixedRows > GetRowCount())
    if (!SetRowCount(nFixedRows)) return FALSE;

  ClearSelectionAndFocus();
  if (!m_bVirtualMode) {
    int nOld = m_nFixedRows;
    int nFrom = std::min(nOld, nFixedRows), nTo = std::max(nOld, nFixedRows);
    bool bEntering = nFixedRows > nOld;
    for (int row = nFrom; row < nTo && row < m_nRows; ++row)
      for (int col = 0; col < m_nCols; ++col) {
        CGridCellBase* pCell = GetStoredCell(row, col);
        if (!pCell) continue;
        DWORD nState = pCell->GetState();
        if (bEntering) {
          nState |= GVIS_FIXED | GVIS_FIXEDROW;
        } else {
          nState &= ~GVIS_FIXEDROW;
          if (!(nState & GVIS_FIXEDCOL)) nState &= ~GVIS_FIXED;
        }
        pCell->SetState(nState);
        pCell->SetTextClr(CLR_DEFAULT);
        pCell->SetBackClr(CLR_DEFAULT);
      }
  }
  m_nFixedRows = nFixedRows;
  if (m_nFreezedRows > m_nRows - m_nFixedRows) m_nFreezedRows = m_nRows - m_nFixedRows;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols) {
  if (nFixedCols < 0) return FALSE;
  if (m_nFixedCols == nFixedCols) return TRUE;
  if (nFixedCols > GetColumnCount())
    if (!SetColumnCount(nFixedCols)) return FALSE;

  ClearSelectionAndFocus();
  if (!m_bVirtualMode) {
    int nOld = m_nFixedCols;
    int nFrom = std::min(nOld, nFixedCols), nTo = std::max(nOld, nFixedCols);
    bool bEntering = nFixedCols > nOld;
    for (int col = nFrom; col < nTo && col < m_nCols; ++col)
      for (int row = 0; row < m_nRows; ++row) {
        CGridCellBase* pCell = GetCell(row, col);
        if (!pCell) continue;
        DWORD nState = pCell->GetState();
        if (bEntering) {
          nState |= GVIS_FIXED | GVIS_FIXEDCOL;
        } else {
          nState &= ~GVIS_FIXEDCOL;
          if (!(nState & GVIS_FIXEDROW)) nState &= ~GVIS_FIXED;
        }
        pCell->SetState(nState);
        pCell->SetTextClr(CLR_DEFAULT);
        pCell->SetBackClr(CLR_DEFAULT);
      }
  }
  m_nFixedCols = nFixedCols;
  if (m_nFreezedCols > m_nCols - m_nFixedCols) m_nFreezedCols = m_nCols - m_nFixedCols;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetFreezedRowCount(int nFreezedRows) {
  if (nFreezedRows < 0 || m_nFixedRows + nFreezedRows > m_nRows) return FALSE;
  m_nFreezedRows = nFreezedRows;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::SetFreezedColumnCount(int nFreezedCols) {
  if (nFreezedCols < 0 || m_nFixedCols + nFreezedCols > m_nCols) return FALSE;
  m_nFreezedCols = nFreezedCols;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

// ---------------------------------------------------------------- options

void CGridCtrl::SetFixedTextColor(COLORREF clr) {
  m_cellFixedRowDef.SetTextClr(clr);
  m_cellFixedColDef.SetTextClr(clr);
  m_cellFixedRowColDef.SetTextClr(clr);
}

void CGridCtrl::SetFixedBkColor(COLORREF clr) {
  m_cellFixedRowDef.SetBackClr(clr);
  m_cellFixedColDef.SetBackClr(clr);
  m_cellFixedRowColDef.SetBackClr(clr);
}

void CGridCtrl::SetDefCellWidth(int nWidth) {
  for (CGridDefaultCell* pCell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
    pCell->SetWidth(nWidth);
}

void CGridCtrl::SetDefCellHeight(int nHeight) {
  for (CGridDefaultCell* pCell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
    pCell->SetHeight(nHeight);
}

void CGridCtrl::SetDefCellMargin(int nMargin) {
  for (CGridDefaultCell* pCell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
    pCell->SetMargin(static_cast<UINT>(nMargin));
}

void CGridCtrl::SetGridLines(int nWhichLines) {
  m_nGridLines = nWhichLines;
  Refresh();
}

void CGridCtrl::SetListMode(BOOL bEnableListMode) {
  ResetSelectedRange();
  SetSortColumn(-1);
  m_bListMode = bEnableListMode;
  SetFixedRowSelection(FALSE);
  Refresh();
}

void CGridCtrl::EnableSelection(BOOL bEnable) {
  ResetSelectedRange();
  m_bEnableSelection = bEnable;
  ResetSelectedRange();
}

void CGridCtrl::EnableDragRowMode(BOOL b) {
  m_bDragRowMode = b;
  if (b) EnableDragAndDrop(TRUE);
}

void CGridCtrl::SetVirtualMode(BOOL bVirtual) {
  DeleteAllItems();
  m_bVirtualMode = bVirtual;
  ResetVirtualOrder();
  Refresh();
}

// ---------------------------------------------------------------- drawing switches

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars) {
  if (bAllowDraw && !m_bAllowDraw) {
    m_bAllowDraw = TRUE;
    Refresh();
  }
  m_bAllowDraw = bAllowDraw;
  if (bResetScrollBars) ResetScrollBars();
}

void CGridCtrl::Refresh() {
  if (m_hWnd && ::IsWindow(m_hWnd) && m_bAllowDraw) Invalidate();
}

// ---------------------------------------------------------------- fonts

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM lParam) {
  LRESULT result = Default();
  LOGFONT lf{};
  if (hFont && ::GetObjectW(reinterpret_cast<HGDIOBJ>(hFont), sizeof lf, &lf)) {
    m_hWindowFont = reinterpret_cast<HFONT>(hFont);
    for (CGridDefaultCell* pCell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
      pCell->SetFont(&lf);
    if (LOWORD(lParam)) Refresh();
  }
  return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_hWindowFont ? m_hWindowFont
                                                 : static_cast<HFONT>(m_cellDefault.GetFontObject()->GetSafeHandle()));
}

// ---------------------------------------------------------------- notifications

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage) const {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return 0;
  NM_GRIDVIEW nmgv{};
  nmgv.iRow = nRow;
  nmgv.iColumn = nCol;
  nmgv.hdr.hwndFrom = m_hWnd;
  nmgv.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  nmgv.hdr.code = static_cast<UINT>(nMessage);
  CWnd* pOwner = GetOwner();
  if (pOwner && pOwner->m_hWnd && ::IsWindow(pOwner->m_hWnd) && pOwner->m_hWnd != m_hWnd)
    return pOwner->SendMessage(WM_NOTIFY, nmgv.hdr.idFrom, reinterpret_cast<LPARAM>(&nmgv));
  return 0;
}

LRESULT CGridCtrl::SendEditMessageToParent(int nRow, int nCol, int nMessage, LPCTSTR szText, UINT nKey) const {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return 0;
  GV_DISPINFO dispinfo{};
  dispinfo.hdr.hwndFrom = m_hWnd;
  dispinfo.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  dispinfo.hdr.code = static_cast<UINT>(nMessage);
  dispinfo.item.mask = GVIF_TEXT | GVIF_PARAM;
  dispinfo.item.row = nRow;
  dispinfo.item.col = nCol;
  dispinfo.item.strText = szText ? szText : L"";
  dispinfo.item.lParam = static_cast<LPARAM>(nKey);
  CWnd* pOwner = GetOwner();
  if (pOwner && pOwner->m_hWnd && ::IsWindow(pOwner->m_hWnd) && pOwner->m_hWnd != m_hWnd)
    return pOwner->SendMessage(WM_NOTIFY, dispinfo.hdr.idFrom, reinterpret_cast<LPARAM>(&dispinfo));
  return 0;
}

LRESULT CGridCtrl::SendDisplayRequestToParent(GV_DISPINFO* pDisplayInfo) const {
  if (!pDisplayInfo || !m_hWnd || !::IsWindow(m_hWnd)) return 0;
  pDisplayInfo->hdr.hwndFrom = m_hWnd;
  pDisplayInfo->hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  pDisplayInfo->hdr.code = GVN_GETDISPINFO;
  CWnd* pOwner = GetOwner();
  if (pOwner && pOwner->m_hWnd && ::IsWindow(pOwner->m_hWnd) && pOwner->m_hWnd != m_hWnd)
    return pOwner->SendMessage(WM_NOTIFY, pDisplayInfo->hdr.idFrom, reinterpret_cast<LPARAM>(pDisplayInfo));
  return 0;
}
