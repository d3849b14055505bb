// The abstract cell of the grid control: the state word, the records the
// grid exchanges with its owner (notifications, display information), and
// the cell's virtual operations in their fixed order. Ordinary text cells are
// CGridCell; the special kinds derive from it.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"
#include "CellRange.h"

class CGridCtrl;
class CGridDefaultCell;

// Cell state bits.
#define GVIS_FOCUSED 0x0001
#define GVIS_SELECTED 0x0002
#define GVIS_DROPHILITED 0x0004
#define GVIS_READONLY 0x0008
#define GVIS_FIXED 0x0010
#define GVIS_FIXEDROW 0x0020
#define GVIS_FIXEDCOL 0x0040
#define GVIS_MODIFIED 0x0080
// Set only while the grid measures the cell during auto-sizing.
#define GVIS_MEASURING 0x0100

// Which fields of a GV_ITEM hold values.
#define GVIF_TEXT 0x0001
#define GVIF_IMAGE 0x0002
#define GVIF_PARAM 0x0004
#define GVIF_STATE 0x0008
#define GVIF_BKCLR 0x0010
#define GVIF_FGCLR 0x0020
#define GVIF_FORMAT 0x0040
#define GVIF_FONT 0x0080
#define GVIF_MARGIN 0x0100
#define GVIF_ALL (GVIF_TEXT | GVIF_IMAGE | GVIF_PARAM | GVIF_STATE | GVIF_BKCLR | GVIF_FGCLR | GVIF_FORMAT | GVIF_FONT | GVIF_MARGIN)

// Notification codes the grid sends to its owner (besides NM_CLICK,
// NM_DBLCLK and NM_RCLICK).
#define GVN_SELCHANGING (0U - 100U)
#define GVN_SELCHANGED (0U - 101U)
#define GVN_BEGINDRAG (0U - 109U)
#define GVN_BEGINLABELEDIT (0U - 175U)
#define GVN_ENDLABELEDIT (0U - 176U)
#define GVN_GETDISPINFO (0U - 177U)

// "Take the colour from the default cell" (and, there, from the system).
#define GRID_CLR_DEFAULT CLR_DEFAULT

// The grid's notification record: the standard header, then the cell.
typedef struct tagNM_GRIDVIEW {
  NMHDR hdr;
  int iRow;
  int iColumn;
} NM_GRIDVIEW;

// Everything a cell shows, for the virtual-mode callback and the editing
// notifications (which fill row, column, mask GVIF_TEXT | GVIF_PARAM, the
// text and, in lParam, the key that ended the edit).
typedef struct tagGV_ITEM {
  int row, col;
  UINT mask;
  UINT nState;
  DWORD nFormat;
  int iImage;
  COLORREF crBkClr;
  COLORREF crFgClr;
  LPARAM lParam;
  LOGFONT lfFont;
  UINT nMargin;
  CString strText;
} GV_ITEM;

typedef struct tagGV_DISPINFO {
  NMHDR hdr;
  GV_ITEM item;
} GV_DISPINFO;

class AFX_EXT_CLASS CGridCellBase : public CObject {
  DECLARE_DYNAMIC(CGridCellBase)

 public:
  CGridCellBase();
  ~CGridCellBase() override;

  // 1-11: setters.
  virtual void SetText(LPCTSTR szText) = 0;
  virtual void SetImage(int nImage) = 0;
  virtual void SetData(LPARAM lParam) = 0;
  virtual void SetState(DWORD nState) { m_nState = nState; }
  virtual void SetFormat(DWORD nFormat) = 0;
  virtual void SetTextClr(COLORREF clr) = 0;
  virtual void SetBackClr(COLORREF clr) = 0;
  virtual void SetFont(const LOGFONT* plf) = 0;
  virtual void SetMargin(UINT nMargin) = 0;
  virtual void SetGrid(CGridCtrl* pGrid) = 0;
  virtual void SetCoords(int nRow, int nCol) = 0;

  // 12-27: getters.
  virtual LPCTSTR GetText() const = 0;
  virtual LPCTSTR GetTipText() const { return GetText(); }
  virtual int GetImage() const = 0;
  virtual LPARAM GetData() const = 0;
  virtual DWORD GetState() const { return m_nState; }
  virtual DWORD GetFormat() const = 0;
  virtual COLORREF GetTextClr() const = 0;
  virtual COLORREF GetBackClr() const = 0;
  virtual LOGFONT* GetFont() const = 0;
  // A font object for GetFont(). Objects are kept per font description for
  // the life of the module, so one stays valid while it is selected.
  virtual CFont* GetFontObject() const;
  virtual CGridCtrl* GetGrid() const = 0;
  virtual CWnd* GetEditWnd() const = 0;
  virtual UINT GetMargin() const = 0;
  // The grid's default cell for this cell's fixed-row and fixed-column bits.
  virtual CGridDefaultCell* GetDefaultCell() const;
  virtual BOOL IsDefaultFont() const = 0;
  virtual BOOL IsEditing() const = 0;

  // 28-35: state bits.
  virtual BOOL IsFocused() const { return (GetState() & GVIS_FOCUSED) != 0; }
  virtual BOOL IsFixed() const { return (GetState() & GVIS_FIXED) != 0; }
  virtual BOOL IsFixedCol() const { return (GetState() & GVIS_FIXEDCOL) != 0; }
  virtual BOOL IsFixedRow() const { return (GetState() & GVIS_FIXEDROW) != 0; }
  virtual BOOL IsSelected() const { return (GetState() & GVIS_SELECTED) != 0; }
  virtual BOOL IsReadOnly() const { return (GetState() & GVIS_READONLY) != 0; }
  virtual BOOL IsModified() const { return (GetState() & GVIS_MODIFIED) != 0; }
  virtual BOOL IsDropHighlighted() const { return (GetState() & GVIS_DROPHILITED) != 0; }

  // 36-38: copying and resetting.
  // Takes grid, text, image, data, state, format, colours, font (none when
  // the source uses the default one) and margin, then calls OnCopy.
  virtual void CopyFrom(const CGridCellBase& cell);
  virtual void OnCopy(const CGridCellBase& cell) { (void)cell; }
  virtual void Reset();

  // 39-43: drawing and measuring. Rectangles are cell rectangles whose right
  // and bottom edges are the pixels the grid lines take.
  virtual BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE);
  // Narrows the cell rectangle to the part left for the text.
  virtual BOOL GetTextRect(LPRECT pRect);
  virtual BOOL GetTipTextRect(LPRECT pRect) { return GetTextRect(pRect); }
  // The size of the text in the cell's font, margins included.
  virtual CSize GetTextExtent(LPCTSTR szText, CDC* pDC = nullptr);
  // The size the cell needs for its text and image.
  virtual CSize GetCellExtent(CDC* pDC);

  // 44-47: in-place editing.
  virtual BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar);
  virtual BOOL ValidateEdit(LPCTSTR str);
  virtual void EndEdit() {}
  virtual void OnEndEdit() {}

  // 48: printing.
  virtual BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect);

  // 49-56: mouse. Points are relative to the cell's top-left corner.
  virtual void OnMouseEnter() {}
  virtual void OnMouseOver() {}
  virtual void OnMouseLeave() {}
  virtual void OnClick(CPoint PointCellRelative) { (void)PointCellRelative; }
  virtual void OnClickDown(CPoint PointCellRelative) { (void)PointCellRelative; }
  virtual void OnRClick(CPoint PointCellRelative) { (void)PointCellRelative; }
  virtual void OnDblClick(CPoint PointCellRelative) { (void)PointCellRelative; }
  virtual BOOL OnSetCursor();

 protected:
  // Draws the sort arrow at the right end of rect and takes its width off it.
  void DrawSortArrow(CDC* pDC, CRect& rect, BOOL bAscending) const;

  DWORD m_nState;
};
