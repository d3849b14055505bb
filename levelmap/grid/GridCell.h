// The ordinary text cell of the grid control and the grid's default cells,
// which hold the formats, colours, font and sizes that cells without their
// own take.
#pragma once

#include "GridCellBase.h"

class AFX_EXT_CLASS CGridCell : public CGridCellBase {
  DECLARE_DYNCREATE(CGridCell)

 public:
  CGridCell();
  ~CGridCell() override;

  void SetText(LPCTSTR szText) override;
  void SetImage(int nImage) override { m_nImage = nImage; }
  void SetData(LPARAM lParam) override { m_lParam = lParam; }
  void SetFormat(DWORD nFormat) override { m_nFormat = nFormat; }
  void SetTextClr(COLORREF clr) override { m_crFgClr = clr; }
  void SetBackClr(COLORREF clr) override { m_crBkClr = clr; }
  // Keeps a copy of the whole description; null goes back to the default font.
  void SetFont(const LOGFONT* plf) override;
  void SetMargin(UINT nMargin) override { m_nMargin = nMargin; }
  void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }
  void SetCoords(int nRow, int nCol) override { (void)nRow; (void)nCol; }

  // Never null: an empty text is "".
  LPCTSTR GetText() const override { return m_strText.GetString(); }
  int GetImage() const override { return m_nImage; }
  LPARAM GetData() const override { return m_lParam; }
  DWORD GetFormat() const override;
  COLORREF GetTextClr() const override { return m_crFgClr; }
  COLORREF GetBackClr() const override { return m_crBkClr; }
  LOGFONT* GetFont() const override;
  CGridCtrl* GetGrid() const override { return m_pGrid; }
  CWnd* GetEditWnd() const override { return m_pEditWnd; }
  UINT GetMargin() const override;
  BOOL IsDefaultFont() const override { return m_plfFont == nullptr; }
  BOOL IsEditing() const override { return m_bEditing; }

  void Reset() override;
  // Opens an in-place edit control over the cell (aligned as the text is).
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  void EndEdit() override;
  void OnEndEdit() override;

 protected:
  CString m_strText;
  LPARAM m_lParam;
  int m_nImage;
  DWORD m_nFormat;  // -1: the default cell's
  COLORREF m_crFgClr;
  COLORREF m_crBkClr;
  LOGFONT* m_plfFont;  // owned; null: the default cell's font
  UINT m_nMargin;      // -1: the default cell's
  BOOL m_bEditing;
  CGridCtrl* m_pGrid;
  CWnd* m_pEditWnd;
};

class AFX_EXT_CLASS CGridDefaultCell : public CGridCell {
  DECLARE_DYNCREATE(CGridDefaultCell)

 public:
  CGridDefaultCell();
  ~CGridDefaultCell() override;

  // Data, state and coordinates do not apply to a default cell.
  void SetData(LPARAM lParam) override { (void)lParam; }
  void SetState(DWORD nState) override { (void)nState; }
  DWORD GetState() const override { return CGridCell::GetState() | GVIS_READONLY; }
  void SetCoords(int nRow, int nCol) override { (void)nRow; (void)nCol; }

  // Also measures " XXXXXXXXXXXX " and a space in the font: the width, the
  // height (text height * 3 / 2) and the margin follow from them.
  void SetFont(const LOGFONT* plf) override;
  LOGFONT* GetFont() const override;
  DWORD GetFormat() const override { return m_nFormat; }
  UINT GetMargin() const override { return m_nMargin; }

  virtual void SetWidth(int nWidth) { m_Size.cx = nWidth; }
  virtual int GetWidth() const { return m_Size.cx; }
  virtual void SetHeight(int nHeight) { m_Size.cy = nHeight; }
  virtual int GetHeight() const { return m_Size.cy; }
  virtual void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  virtual DWORD GetStyle() const { return m_dwStyle; }

 protected:
  CSize m_Size;
  CFont m_Font;
  DWORD m_dwStyle;
};
