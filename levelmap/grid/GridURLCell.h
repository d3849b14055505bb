// CGridURLCell: a cell whose text may hold links ("www.", "http:", ...).
// A link text is drawn in the link colour; over a word that is a link the
// pointer becomes a hand, and a click opens the word with the shell. The
// text is not edited in place.
#pragma once

#include "GridCell.h"

class AFX_EXT_CLASS CGridURLCell : public CGridCell {
  DECLARE_DYNCREATE(CGridURLCell)

 public:
  CGridURLCell();

  void SetUrlColor(COLORREF clr) { m_clrUrl = clr; }
  COLORREF GetUrlColor() const { return m_clrUrl; }
  void SetAutoLaunchUrl(BOOL bLaunch = TRUE) { m_bLaunchUrl = bLaunch; }
  BOOL GetAutoLaunchUrl() const { return m_bLaunchUrl; }

  BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  BOOL OnSetCursor() override;
  void OnClick(CPoint PointCellRelative) override;
  void OnCopy(const CGridCellBase& cell) override;

  // Whether the text holds any of the link prefixes, anywhere.
  static BOOL HasUrl(const CString& str);
  // Whether a word is one the shell may open: it begins with a web, mail or
  // file-transfer prefix.
  static BOOL IsLaunchableUrl(const CString& strWord);
  // The space-separated word of the text under a point relative to the
  // cell (empty when the point is not over the drawn text or the word is no
  // link). The text is measured in the cell's font.
  CString GetUrlUnderPoint(CPoint PointCellRelative);

 protected:
  COLORREF m_clrUrl;
  BOOL m_bLaunchUrl;
  CRect m_Rect;         // the text rectangle last drawn, relative to the cell
  CPoint m_ptOrigin;    // the cell's top-left corner then, in client pixels
};
