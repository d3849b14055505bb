// CGridCtrl: a child window showing a table of cells with header (fixed)
// rows and columns, frozen rows and columns, hidden rows and columns (size
// 0), merged ranges, per-cell text, colours, font, format, image and state,
// sorting, clipboard and delimited-text exchange. It tells its owner what the
// user does through WM_NOTIFY (NM_GRIDVIEW or GV_DISPINFO records).
//
// Column indices given to cell operations are display positions, mapped to
// stored columns through the column order; row indices are rows. Fixed rows
// and columns count as ordinary indices. Operations that would change stored
// cells are refused in virtual mode and for indices out of range.
#pragma once

#include <set>
#include <vector>

#include "CellRange.h"
#include "GridCell.h"
#include "GridDropTarget.h"
#include "TitleTip.h"
#include "afxcmdui.h"
#include "afxcmn.h"
#include "afxext.h"
#include "afxwin.h"

#define GRIDCTRL_CLASSNAME L"MFCGridCtrl"
// The control ID the grid gives its in-place editors.
#define IDC_INPLACE_CONTROL 8
// The timer that scrolls the grid while a selection is dragged outside it.
#define GRID_SCROLL_TIMER_ID 513
#define GRID_SCROLL_TIMER_INTERVAL 150
// How near a border (in pixels) the pointer sizes a row or column.
#define GRID_RESIZE_CAPTURE_RANGE 3

// Grid lines.
#define GVL_NONE 0
#define GVL_HORZ 1
#define GVL_VERT 2
#define GVL_BOTH 3

// Auto-size styles: which rows take part in measuring.
#define GVS_DEFAULT 0
#define GVS_HEADER 1
#define GVS_DATA 2
#define GVS_BOTH 3

// Format of the columns Load makes: centred both ways, single line.
#define GRID_LOAD_COLUMN_FORMAT (DT_CENTER | DT_VCENTER | DT_SINGLELINE)

// Supplies a cell's display information in virtual mode.
typedef BOOL(CALLBACK* GRIDCALLBACK)(GV_DISPINFO* pDispInfo, LPARAM lParam);
// Compares two cells (passed as CGridCellBase*): <0, 0, >0.
typedef int(CALLBACK* PFNLVCOMPARE)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
// Compares two data rows of a virtual grid: true when the first goes first.
typedef bool (*PVIRTUALCOMPARE)(int nRow1, int nRow2);

// The cells of one stored row, one per stored column.
class AFX_EXT_CLASS GRID_ROW : public CArray<CGridCellBase*, CGridCellBase*> {};

class AFX_EXT_CLASS CGridCtrl : public CWnd {
  DECLARE_DYNCREATE(CGridCtrl)
  friend class CGridCellBase;

 public:
  // What a mouse drag currently does.
  enum eMouseModes {
    MOUSE_NOTHING,
    MOUSE_SELECT_ALL,
    MOUSE_SELECT_COL,
    MOUSE_SELECT_ROW,
    MOUSE_SELECT_CELLS,
    MOUSE_SCROLLING_CELLS,
    MOUSE_OVER_ROW_DIVIDE,
    MOUSE_SIZING_ROW,
    MOUSE_OVER_COL_DIVIDE,
    MOUSE_SIZING_COL,
    MOUSE_PREPARE_EDIT,
    MOUSE_PREPARE_DRAG,
    MOUSE_DRAGGING
  };

  CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
  ~CGridCtrl() override;

  using CWnd::Create;
  BOOL Create(const RECT& rect, CWnd* parent, UINT nID,
              DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);

  // ------------------------------------------------------------ size
  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  int GetFixedRowCount(BOOL bIncludeFreezedRows = FALSE) const {
    return bIncludeFreezedRows ? m_nFixedRows + m_nFreezedRows : m_nFixedRows;
  }
  int GetFixedColumnCount(BOOL bIncludeFreezedCols = FALSE) const {
    return bIncludeFreezedCols ? m_nFixedCols + m_nFreezedCols : m_nFixedCols;
  }
  BOOL SetRowCount(int nRows = 10);
  BOOL SetColumnCount(int nCols = 10);
  BOOL SetFixedRowCount(int nFixedRows = 1);
  BOOL SetFixedColumnCount(int nFixedCols = 1);
  BOOL SetFreezedRowCount(int nFreezedRows);
  BOOL SetFreezedColumnCount(int nFreezedCols);
  // Whether frozen panes are marked with their blue lines.
  void SetFreezedFrame(BOOL bFreezedFrame) { m_bFreezedFrame = bFreezedFrame; Refresh(); }
  BOOL GetFreezedFrame() const { return m_bFreezedFrame; }
  int GetFreezedRowCount() const { return m_nFreezedRows; }
  int GetFreezedColumnCount() const { return m_nFreezedCols; }

  int GetRowHeight(int nRow) const;
  BOOL SetRowHeight(int row, int height);
  int GetColumnWidth(int nCol) const;
  BOOL SetColumnWidth(int col, int width);
  int GetFixedRowHeight(BOOL bIncludeFreezedRows = TRUE) const;
  int GetFixedColumnWidth(BOOL bIncludeFreezedCols = TRUE) const;
  long GetVirtualWidth() const;
  long GetVirtualHeight() const;

  // ------------------------------------------------------------ rows and columns
  // Returns the new row (column) index, or -1.
  virtual int InsertRow(LPCTSTR strHeading, int nRow = -1);
  int InsertColumn(LPCTSTR strHeading, UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int nColumn = -1);
  virtual BOOL DeleteRow(int nRow);
  BOOL DeleteColumn(int nColumn);
  virtual BOOL DeleteAllItems();
  BOOL DeleteNonFixedRows();

  BOOL AutoSizeRow(int nRow, BOOL bResetScroll = TRUE);
  BOOL AutoSizeColumn(int nCol, UINT nAutoSizeStyle = GVS_DEFAULT, BOOL bResetScroll = TRUE);
  void AutoSizeRows();
  void AutoSizeColumns(UINT nAutoSizeStyle = GVS_DEFAULT);
  void AutoSize(UINT nAutoSizeStyle = GVS_DEFAULT);
  void ExpandColumnsToFit(BOOL bExpandFixed = TRUE);

  // ------------------------------------------------------------ cells
  // The cell at (row, display column), or null. In virtual mode one shared
  // cell, refilled on every call.
  CGridCellBase* GetCell(int nRow, int nCol) const;
  CGridDefaultCell* GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const;
  // Replaces the cell by one of the given class (derived from
  // CGridCellBase), keeping its properties.
  virtual BOOL SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass);
  // The class new cells are made of.
  BOOL SetDefaultCellType(CRuntimeClass* pRuntimeClass);
  // Adds a merged range; returns its index in the list, or -1.
  int MergeCells(const CCellRange& mergedCellRange);
  int GetMergedCellCount() const { return static_cast<int>(m_arMergedCells.GetSize()); }
  CCellRange GetMergedCellRange(int nIndex) const;
  // The merged range holding the cell (an invalid range when none).
  CCellRange GetMergedRangeOf(int nRow, int nCol) const;
  BOOL UnMergeCells(int nIndex);

  // ------------------------------------------------------------ cell content
  BOOL SetItem(const GV_ITEM* pItem);
  BOOL GetItem(GV_ITEM* pItem) const;
  BOOL SetItemText(int nRow, int nCol, LPCTSTR str);
  // An index out of range reads as an empty text.
  CString GetItemText(int nRow, int nCol) const;
  BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
  LPARAM GetItemData(int nRow, int nCol) const;
  BOOL SetItemImage(int nRow, int nCol, int iImage);
  int GetItemImage(int nRow, int nCol) const;
  BOOL SetItemState(int nRow, int nCol, UINT state);
  UINT GetItemState(int nRow, int nCol) const;
  BOOL SetItemFormat(int nRow, int nCol, UINT nFormat);
  UINT GetItemFormat(int nRow, int nCol) const;
  BOOL SetItemBkColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
  COLORREF GetItemBkColour(int nRow, int nCol) const;
  BOOL SetItemFgColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
  COLORREF GetItemFgColour(int nRow, int nCol) const;
  BOOL SetItemFont(int nRow, int nCol, const LOGFONT* lf);
  const LOGFONT* GetItemFont(int nRow, int nCol);
  BOOL IsItemEditing(int nRow, int nCol);
  CSize GetTextExtent(int nRow, int nCol, LPCTSTR str);
  CSize GetCellTextExtent(int nRow, int nCol) { return GetTextExtent(nRow, nCol, GetItemText(nRow, nCol)); }
  BOOL IsCellEditable(int nRow, int nCol) const;
  BOOL IsCellEditable(CCellID& cell) const { return IsCellEditable(cell.row, cell.col); }
  BOOL IsCellVisible(int nRow, int nCol);
  BOOL IsCellVisible(CCellID cell) { return IsCellVisible(cell.row, cell.col); }
  BOOL IsCellSelected(int nRow, int nCol) const;
  BOOL IsCellSelected(CCellID& cell) const { return IsCellSelected(cell.row, cell.col); }
  BOOL IsCellFixed(int nRow, int nCol) const;
  BOOL IsValid(int nRow, int nCol) const { return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols; }
  BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
  BOOL IsValid(const CCellRange& range) const;

  // ------------------------------------------------------------ column order
  // Display position -> stored column; reset to identity when the column
  // count changes.
  const std::vector<int>& GetColumnOrder() const { return m_arColOrder; }
  BOOL SetColumnOrder(const std::vector<int>& arColOrder);
  void ResetColumnOrder();

  // ------------------------------------------------------------ geometry
  BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
  BOOL GetCellOrigin(const CCellID& cell, LPPOINT p) { return GetCellOrigin(cell.row, cell.col, p); }
  // The cell's rectangle in client pixels (right and bottom are the
  // pixels of its grid lines); FALSE when the cell is not on screen.
  BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
  BOOL GetCellRect(const CCellID& cell, LPRECT pRect) { return GetCellRect(cell.row, cell.col, pRect); }
  BOOL GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect);
  BOOL GetTextRect(int nRow, int nCol, LPRECT pRect);
  // The cell under the client point (for a merged range, its top-left
  // cell); an invalid cell when none.
  CCellID GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
  CCellID GetTopleftNonFixedCell(BOOL bForceRecalculation = FALSE);
  CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr, BOOL bForceRecalculation = FALSE);
  CCellRange GetUnobstructedNonFixedCellRange(BOOL bForceRecalculation = FALSE);
  CCellRange GetCellRange() const;

  // ------------------------------------------------------------ focus and selection
  CCellID GetFocusCell() const { return m_idCurrentCell; }
  CCellID SetFocusCell(CCellID cell);
  CCellID SetFocusCell(int nRow, int nCol) { return SetFocusCell(CCellID(nRow, nCol)); }
  void SetSelectedRange(const CCellRange& Range, BOOL bForceRepaint = FALSE, BOOL bSelectCells = TRUE);
  void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE,
                        BOOL bSelectCells = TRUE);
  void ResetSelectedRange();
  // The range spanned by the selected cells (invalid when none).
  CCellRange GetSelectedCellRange() const;
  void SelectAllCells();
  void SelectColumns(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
  void SelectRows(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
  void SelectCells(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
  int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
  void EnsureVisible(CCellID& cell) { EnsureVisible(cell.row, cell.col); }
  void EnsureVisible(int nRow, int nCol);

  // ------------------------------------------------------------ modification
  // Clears the sort column when the change touches it; with row or column
  // -1 sets the grid-wide flag, else the cell's modified bit (and the
  // grid-wide flag with it). A grid that ends up unmodified clears every
  // cell's modified bit.
  void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
  BOOL GetModified(int nRow = -1, int nCol = -1);

  // ------------------------------------------------------------ sorting
  BOOL SortItems(int nCol, BOOL bAscending, LPARAM data = 0);
  BOOL SortTextItems(int nCol, BOOL bAscending, LPARAM data = 0);
  BOOL SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data = 0);
  void SetCompareFunction(PFNLVCOMPARE pfnCompare) { m_pfnCompare = pfnCompare; }
  void SetVirtualCompare(PVIRTUALCOMPARE VirtualCompare) { m_pfnVirtualCompare = VirtualCompare; }
  int GetSortColumn() const { return m_nSortColumn; }
  void SetSortColumn(int nCol);
  void SetSortAscending(BOOL bAscending) { m_bAscending = bAscending; }
  BOOL GetSortAscending() const { return m_bAscending; }
  // Texts by their 16-bit character codes, position by position.
  static int CALLBACK pfnCellTextCompare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
  // Texts read as whole numbers.
  static int CALLBACK pfnCellNumericCompare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

  // ------------------------------------------------------------ data exchange
  // Copies the selected cells of the current selected range as tab- and
  // CRLF-separated text; FALSE (clipboard untouched) without a selection.
  BOOL CopyTextToClipboard();
  // Places the copy on the clipboard, then clears the selected cells.
  BOOL CutSelectedText();
  // Clears the selected cells through the single-cell paste path.
  BOOL ClearSelectedText();
  // Pastes the clipboard's plain text at the cell.
  BOOL PasteTextFromClipboard(CCellID cell, BOOL bSelectPastedCells = TRUE);
  // Pastes text (lines at "\n", fields at a tab or a comma) at the cell.
  BOOL PasteTextToGrid(CCellID cell, LPCTSTR szText, BOOL bSelectPastedCells = TRUE);
  // One cell of a paste: -175, store, validate, -176, revert on refusal.
  BOOL PasteTextToCell(int nRow, int nCol, LPCTSTR szText);
  // The standard edit commands (ID_EDIT_COPY ...) and their menu states.
  void OnEditCopy() { CopyTextToClipboard(); }
  void OnEditCut() { CutSelectedText(); }
  void OnEditPaste() { PasteTextFromClipboard(GetFocusCell()); }
  void OnEditSelectAll() { SelectAllCells(); }
  void OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedCount() > 0); }
  void OnUpdateEditCut(CCmdUI* pCmdUI) { pCmdUI->Enable(IsEditable() && GetSelectedCount() > 0); }
  void OnUpdateEditPaste(CCmdUI* pCmdUI);
  void OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(IsSelectable()); }
  BOOL Save(LPCTSTR filename, TCHAR chSeparator = L',');
  BOOL Load(LPCTSTR filename, TCHAR chSeparator = L',');

  // ------------------------------------------------------------ drawing
  void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
  BOOL GetRedraw() const { return m_bAllowDraw; }
  void Refresh();
  BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
  BOOL RedrawCell(const CCellID& cell, CDC* pDC = nullptr) { return RedrawCell(cell.row, cell.col, pDC); }
  BOOL RedrawRow(int row);
  BOOL RedrawColumn(int col);
  // Paints the whole client area into the device.
  virtual void OnDraw(CDC* pDC);
  void ResetScrollBars();

  // ------------------------------------------------------------ printing
  // Prints the grid on the printer of the dialog (which the caller has
  // run), or asks for one with the print dialog. FALSE when nothing was
  // printed: cancelled, no printer, nothing to print, a page that cannot be
  // laid out, or a printer failure.
  BOOL Print(CPrintDialog* pPrntDialog = nullptr);
  // The framework's print hooks. OnBeginPrinting measures the print font,
  // lays out the pages and sets the page range (m_bContinuePrinting FALSE
  // when no page can be printed); OnPrint prints page m_nCurPage.
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
  // Margins in characters; header, footer and gap in lines.
  void SetPrintMarginInfo(int nHeaderHeight, int nFooterHeight, int nLeftMargin, int nRightMargin, int nGap);
  int GetPrintPageCount() const { return static_cast<int>(m_arPageFirstRows.size()); }
  // The height rows have on a page (logical units), the first row of a
  // page (from 1), and the print font's average character size.
  int GetPrintPageHeight() const { return m_nPageHeight; }
  int GetPrintPageFirstRow(int nPage) const;
  CSize GetPrintCharSize() const { return m_CharSize; }
  CSize GetPrintLogicalPageSize() const { return m_LogicalPageSize; }

  // ------------------------------------------------------------ drag and drop
  // The drop side, called by the grid's drop target with client points.
  virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave();
  virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  // The selected cells' text (as the clipboard copy makes it) in a new data
  // source, or null without a selection.
  COleDataSource* CopyTextFromGrid();

  // ------------------------------------------------------------ options
  void SetImageList(CImageList* pList) { m_pImageList = pList; }
  CImageList* GetImageList() const { return m_pImageList; }
  void SetGridBkColor(COLORREF clr) { m_crGridBkColour = clr; }
  COLORREF GetGridBkColor() const { return m_crGridBkColour; }
  void SetBkColor(COLORREF clr) { SetGridBkColor(clr); }
  COLORREF GetBkColor() const { return GetGridBkColor(); }
  void SetGridLineColor(COLORREF clr) { m_crGridLineColour = clr; }
  COLORREF GetGridLineColor() const { return m_crGridLineColour; }
  void SetGridColor(COLORREF clr) { SetGridLineColor(clr); }
  COLORREF GetGridColor() const { return GetGridLineColor(); }
  void SetTitleTipBackClr(COLORREF clr = CLR_DEFAULT) { m_crTTipBackClr = clr; }
  COLORREF GetTitleTipBackClr() const { return m_crTTipBackClr; }
  void SetTitleTipTextClr(COLORREF clr = CLR_DEFAULT) { m_crTTipTextClr = clr; }
  COLORREF GetTitleTipTextClr() const { return m_crTTipTextClr; }
  void SetTextColor(COLORREF clr) { m_cellDefault.SetTextClr(clr); }
  COLORREF GetTextColor() const { return m_cellDefault.GetTextClr(); }
  void SetTextBkColor(COLORREF clr) { m_cellDefault.SetBackClr(clr); }
  COLORREF GetTextBkColor() const { return m_cellDefault.GetBackClr(); }
  void SetFixedTextColor(COLORREF clr);
  COLORREF GetFixedTextColor() const { return m_cellFixedRowDef.GetTextClr(); }
  void SetFixedBkColor(COLORREF clr);
  COLORREF GetFixedBkColor() const { return m_cellFixedRowDef.GetBackClr(); }
  void SetDefCellWidth(int nWidth);
  int GetDefCellWidth() const { return m_cellDefault.GetWidth(); }
  void SetDefCellHeight(int nHeight);
  int GetDefCellHeight() const { return m_cellDefault.GetHeight(); }
  void SetDefCellMargin(int nMargin);
  int GetDefCellMargin() const { return static_cast<int>(m_cellDefault.GetMargin()); }
  void SetGridLines(int nWhichLines = GVL_BOTH);
  int GetGridLines() const { return m_nGridLines; }
  void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
  BOOL IsEditable() const { return m_bEditable; }
  // Clears the selection and the sort column.
  void SetListMode(BOOL bEnableListMode = TRUE);
  BOOL GetListMode() const { return m_bListMode; }
  void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
  BOOL GetSingleRowSelection() const { return m_bSingleRowSelection && m_bListMode; }
  void SetSingleColSelection(BOOL bSing = TRUE) { m_bSingleColSelection = bSing; }
  BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
  void EnableSelection(BOOL bEnable = TRUE);
  BOOL IsSelectable() const { return m_bEnableSelection; }
  void SetFixedColumnSelection(BOOL bSelect) { m_bFixedColumnSelection = bSelect; }
  BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
  void SetFixedRowSelection(BOOL bSelect) { m_bFixedRowSelection = bSelect; }
  BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
  // Also registers (or revokes) the grid as a drop target.
  void EnableDragAndDrop(BOOL bAllow = TRUE);
  BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
  void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
  BOOL GetRowResize() const { return m_bAllowRowResize; }
  void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
  BOOL GetColumnResize() const { return m_bAllowColumnResize; }
  void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
  BOOL GetHeaderSort() const { return m_bSortOnClick; }
  void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
  BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
  void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
  BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
  void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
  BOOL GetTitleTips() const { return m_bTitleTips; }
  void SetTrackFocusCell(BOOL bTrack) { m_bTrackFocusCell = bTrack; }
  BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }
  void SetFrameFocusCell(BOOL bFrame) { m_bFrameFocus = bFrame; }
  BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
  void SetAutoSizeStyle(int nStyle = GVS_BOTH) { m_nAutoSizeColumnStyle = nStyle; }
  int GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
  void EnableHiddenColUnhide(BOOL bEnable = TRUE) { m_bHiddenColUnhide = bEnable; }
  BOOL GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
  void EnableHiddenRowUnhide(BOOL bEnable = TRUE) { m_bHiddenRowUnhide = bEnable; }
  BOOL GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
  void EnableColumnHide(BOOL bEnable = TRUE) { m_bAllowColHide = bEnable; }
  BOOL GetColumnHide() const { return m_bAllowColHide; }
  void EnableRowHide(BOOL bEnable = TRUE) { m_bAllowRowHide = bEnable; }
  BOOL GetRowHide() const { return m_bAllowRowHide; }
  void EnableWysiwygPrinting(BOOL bEnable = TRUE) { m_bWysiwygPrinting = bEnable; }
  BOOL GetWysiwygPrinting() const { return m_bWysiwygPrinting; }
  void SetShadedPrintOut(BOOL bEnable = TRUE) { m_bShadedPrintOut = bEnable; }
  BOOL GetShadedPrintOut() const { return m_bShadedPrintOut; }
  void AllowReorderColumn(BOOL b = TRUE) { m_AllowReorderColumn = b; }
  BOOL GetReorderColumn() const { return m_AllowReorderColumn; }
  // Turning row drag mode on also turns drag and drop on.
  void EnableDragRowMode(BOOL b = TRUE);
  BOOL GetDragRowMode() const { return m_bDragRowMode; }
  void ForceQuitFocusOnTab(BOOL b = TRUE) { m_QuitFocusOnTab = b; }
  BOOL GetQuitFocusOnTab() const { return m_QuitFocusOnTab; }
  void AllowSelectRowInFixedCol(BOOL b = TRUE) { m_AllowSelectRowInFixedCol = b; }
  BOOL GetAllowSelectRowInFixedCol() const { return m_AllowSelectRowInFixedCol; }
  void ShowHorzNonGridArea(BOOL b) { m_bShowHorzNonGridArea = b; }
  BOOL IsShowingHorzNonGridArea() const { return m_bShowHorzNonGridArea; }
  void SetVirtualMode(BOOL bVirtual);
  BOOL GetVirtualMode() const { return m_bVirtualMode; }
  void SetCallbackFunc(GRIDCALLBACK pCallback, LPARAM lParam) {
    m_pfnCallback = pCallback;
    m_lParam = lParam;
  }
  GRIDCALLBACK GetCallbackFunc() const { return m_pfnCallback; }
  UINT GetMouseScrollLines() const { return m_nRowsPerWheelNotch; }
  int GetMouseMode() const { return m_MouseMode; }

  // ------------------------------------------------------------ overridables
  // Whether painting may skip cells outside the area being repainted.
  virtual BOOL CheckClipRect() { return TRUE; }
  // Starts editing the cell (point and key tell how editing began).
  virtual void OnEditCell(int nRow, int nCol, CPoint point, UINT nChar);
  // The end of an edit (and of a single-cell paste) with the new text.
  virtual void OnEndEditCell(int nRow, int nCol, CString str);
  virtual BOOL ValidateEdit(int nRow, int nCol, LPCTSTR str);
  // Sorts the rows low..high with the compare function (the cells of
  // column nCol are compared); rows are exchanged whole.
  virtual BOOL SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high);

  // Sends WM_NOTIFY with an NM_GRIDVIEW record to the owner; returns its reply.
  LRESULT SendMessageToParent(int nRow, int nCol, int nMessage) const;
  // Sends an editing notification (GV_DISPINFO with text and key).
  LRESULT SendEditMessageToParent(int nRow, int nCol, int nMessage, LPCTSTR szText, UINT nKey) const;
  LRESULT SendDisplayRequestToParent(GV_DISPINFO* pDisplayInfo) const;

  // ------------------------------------------------------------ input
  // Ends the in-place editor if one is open.
  void EndEditing();
  CTitleTip& GetTitleTip() { return m_TitleTip; }
  // Moves the focus as the keys do: the next visible cell that way, a merged
  // range crossed as one cell; dRow/dCol -1, 0 or 1.
  CCellID GetNextCell(CCellID cell, int dRow, int dCol) const;

 protected:
  virtual CGridCellBase* CreateCell(int nRow, int nCol);
  virtual void DestroyCell(int nRow, int nCol);
  // Runs the header click: sorting and column selection.
  virtual void OnFixedRowClick(CCellID& cell);
  virtual void OnFixedColumnClick(CCellID& cell);
  // Selects according to the mouse mode, from the anchor to the cell.
  void OnSelecting(const CCellID& currentCell);
  // A key's move: -100, the selection (from the anchor with Shift), -101,
  // the focus, scrolled into view.
  void MoveFocus(CCellID next, BOOL bShift);
  // The column (row) whose right (bottom) border is under the pointer in a
  // header, or -1; the border of a hidden one when unhiding is allowed.
  int MouseOverColumnResizeArea(CPoint point);
  int MouseOverRowResizeArea(CPoint point);
  // The inverted 2-pixel line that follows the pointer while sizing.
  void InvertSizingLine(int nPos, BOOL bColumn);
  void EndMouseMode();
  // Shows the title tip for the cell under the pointer when its text is cut.
  void ShowTitleTipFor(CPoint point);
  virtual void OnBeginDrag();

  // The cell object at (row, stored column) without virtual-mode filling.
  CGridCellBase* GetStoredCell(int nRow, int nStoredCol) const;
  BOOL SetCell(int nRow, int nCol, CGridCellBase* pCell);
  void SetupDefaultCells();
  void SetFixedFlags(int nRow, int nCol, CGridCellBase* pCell) const;
  void ClearSelectionAndFocus();
  void ResetVirtualOrder();
  // Keeps merged ranges in step with inserted and removed rows and columns.
  void ShiftMergedRows(int nAt, int nCount);
  void ShiftMergedColumns(int nAt, int nCount);
  void PruneMergedCells();
  void PruneSelection();
  // Sets or clears the selected bit of a stored cell and redraws it.
  void SetCellSelected(const CCellID& cell, BOOL bSelected, BOOL bRedraw);
  void RedrawMergedOrCell(int nRow, int nCol);
  int GetScrollPos32(int nBar) const;
  BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
  BOOL IsVisibleVScroll() const { return (GetStyle() & WS_VSCROLL) != 0; }
  BOOL IsVisibleHScroll() const { return (GetStyle() & WS_HSCROLL) != 0; }
  void EraseBkgnd(CDC* pDC);
  void DrawCellAt(CDC* pDC, int nRow, int nCol, const CRect& rect, BOOL bErase);
  // The visible rows and columns with their left (top) pixel.
  void GetVisibleRows(std::vector<std::pair<int, int>>& rows, int nClientHeight);
  void GetVisibleColumns(std::vector<std::pair<int, int>>& cols, int nClientWidth);
  static void RegisterWindowClass();

  // Printing.
  virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
  virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
  virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
  // Prints rows nFirst..nLast from logical y, returns the y below them.
  int PrintRows(CDC* pDC, int nFirst, int nLast, int y);
  // The selected cells' text as the clipboard takes it (code page, tabs,
  // CRLF, a zero byte), in a new global block; null without a selection.
  HGLOBAL CopySelectedTextToGlobal();
  // Starts an OLE drag of the selected cells (the grid's own drag source).
  void DragSelectedCells();
  void SetDropHighlight(const CCellID& cell);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM hFont, LPARAM lParam);
  afx_msg LRESULT OnScriptPrint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnScriptCellPoint(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // Counts.
  int m_nRows, m_nFixedRows, m_nFreezedRows;
  int m_nCols, m_nFixedCols, m_nFreezedCols;
  BOOL m_bFreezedFrame;

  // Cells and sizes.
  CArray<GRID_ROW*, GRID_ROW*> m_RowData;
  CUIntArray m_arRowHeights, m_arColWidths;
  std::vector<int> m_arColOrder;
  std::vector<int> m_arRowOrder;  // virtual mode: display row -> data row
  CArray<CCellRange, const CCellRange&> m_arMergedCells;
  CGridDefaultCell m_cellDefault, m_cellFixedColDef, m_cellFixedRowDef, m_cellFixedRowColDef;
  CRuntimeClass* m_pRtcDefault;

  // Focus and selection.
  CCellID m_idCurrentCell;
  CCellID m_SelectionStartCell;
  CCellID m_LeftClickDownCell;
  CPoint m_LeftClickDownPoint;
  std::set<CCellID> m_SelectedCellMap;
  std::set<CCellID> m_PrevSelectedCellMap;
  CCellRange m_SelectedRange;

  // Sorting and modification.
  int m_nSortColumn;
  BOOL m_bAscending;
  PFNLVCOMPARE m_pfnCompare;
  PVIRTUALCOMPARE m_pfnVirtualCompare;
  BOOL m_bModified;

  // Virtual mode.
  BOOL m_bVirtualMode;
  GRIDCALLBACK m_pfnCallback;
  LPARAM m_lParam;
  CGridCell* m_pVirtualCell;
  GV_DISPINFO* m_pVirtualDispInfo;

  // Look and behaviour.
  CImageList* m_pImageList;
  COLORREF m_crGridBkColour, m_crGridLineColour, m_crTTipBackClr, m_crTTipTextClr;
  int m_nGridLines;
  BOOL m_bEditable, m_bListMode, m_bSingleRowSelection, m_bSingleColSelection, m_bEnableSelection;
  BOOL m_bFixedColumnSelection, m_bFixedRowSelection, m_bAllowDragAndDrop, m_bAllowRowResize;
  BOOL m_bAllowColumnResize, m_bSortOnClick, m_bHandleTabKey, m_bDoubleBuffer, m_bTitleTips;
  BOOL m_bTrackFocusCell, m_bFrameFocus;
  int m_nAutoSizeColumnStyle;
  BOOL m_bHiddenColUnhide, m_bHiddenRowUnhide, m_bAllowColHide, m_bAllowRowHide;
  BOOL m_bWysiwygPrinting, m_bShadedPrintOut, m_AllowReorderColumn, m_bDragRowMode, m_QuitFocusOnTab;
  BOOL m_AllowSelectRowInFixedCol, m_bShowHorzNonGridArea;

  // Printing: the print font and its average character, the page sizes
  // (logical: the grid's units; paper: the printer's), margins in
  // characters, header, footer and gap in lines, and where pages start.
  CFont m_PrinterFont;
  CSize m_CharSize{0, 0};
  int m_nPageHeight = 0;
  CSize m_LogicalPageSize{0, 0};
  CSize m_PaperSize{0, 0};
  int m_nHeaderHeight = 2, m_nFooterHeight = 2, m_nLeftMargin = 4, m_nRightMargin = 4, m_nGap = 1;
  std::vector<int> m_arPageFirstRows;

  // Drag and drop: the drop target, the cell highlighted under a drag, and
  // while this grid is the drag's source the cells it drags.
  CGridDropTarget m_DropTarget;
  CCellID m_idDropCell;
  BOOL m_bDragSource = FALSE;
  BOOL m_bDroppedOnSource = FALSE;
  std::set<CCellID> m_DragSourceCells;

  // Window state.
  BOOL m_bAllowDraw;
  int m_MouseMode;
  UINT m_nRowsPerWheelNotch;
  BOOL m_bInResetScrollBars;
  HFONT m_hWindowFont;
  int m_nVScrollMax, m_nHScrollMax;

  // Input.
  CTitleTip m_TitleTip;
  UINT m_nEditEndKey;          // the key that ended the edit being finished
  CPoint m_LastMousePoint;
  CCellID m_idLastHoverCell;   // for the cells' mouse enter and leave
  int m_nSizingIndex;          // the row or column being sized
  int m_nSizingLinePos;        // where the inverted line is (-1 none)
  int m_nDragColumn;           // the column a header drag moves
  BOOL m_bTimerRunning;
};
