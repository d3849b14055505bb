// The abstract cell: copying, the shared font objects, drawing, measuring
// and the default answers of the editing and mouse operations.
#include "GridCellBase.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "GridCtrl.h"

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

namespace {

// Font objects by font description, for the life of the module: a cell
// that asks for its font object gets one that stays valid, and no object is
// made twice for the same description.
CFont* SharedFont(const LOGFONT& lf) {
  static std::map<std::string, std::unique_ptr<CFont>> fonts;
  LOGFONT key{};
  key.lfHeight = lf.lfHeight;
  key.lfWidth = lf.lfWidth;
  key.lfEscapement = lf.lfEscapement;
  key.lfOrientation = lf.lfOrientation;
  key.lfWeight = lf.lfWeight;
  key.lfItalic = lf.lfItalic;
  key.lfUnderline = lf.lfUnderline;
  key.lfStrikeOut = lf.lfStrikeOut;
  key.lfCharSet = lf.lfCharSet;
  key.lfOutPrecision = lf.lfOutPrecision;
  key.lfClipPrecision = lf.lfClipPrecision;
  key.lfQuality = lf.lfQuality;
  key.lfPitchAndFamily = lf.lfPitchAndFamily;
  // The face name up to its terminator; whatever follows it does not count.
  wcsncpy(key.lfFaceName, lf.lfFaceName, LF_FACESIZE - 1);
  std::string bytes(reinterpret_cast<const char*>(&key), sizeof key);
  std::unique_ptr<CFont>& font = fonts[bytes];
  if (!font) {
    font = std::make_unique<CFont>();
    font->CreateFontIndirect(&key);
  }
  return font.get();
}

COLORREF Resolve(COLORREF own, COLORREF fromDefault, int nSysColor) {
  if (own != CLR_DEFAULT) return own;
  if (fromDefault != CLR_DEFAULT) return fromDefault;
  return ::GetSysColor(nSysColor);
}

}  // namespace

CGridCellBase::CGridCellBase() : m_nState(0) {}

CGridCellBase::~CGridCellBase() = default;

CFont* CGridCellBase::GetFontObject() const {
  const LOGFONT* plf = GetFont();
  if (plf) return SharedFont(*plf);
  return CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
  CGridCtrl* pGrid = GetGrid();
  return pGrid ? pGrid->GetDefaultCell(IsFixedRow(), IsFixedCol()) : nullptr;
}

void CGridCellBase::CopyFrom(const CGridCellBase& cell) {
  if (this == &cell) return;
  SetGrid(cell.GetGrid());
  SetText(cell.GetText());
  SetImage(cell.GetImage());
  SetData(cell.GetData());
  SetState(cell.GetState());
  SetFormat(cell.GetFormat());
  SetTextClr(cell.GetTextClr());
  SetBackClr(cell.GetBackClr());
  SetFont(cell.IsDefaultFont() ? nullptr : cell.GetFont());
  SetMargin(cell.GetMargin());
  OnCopy(cell);
}

void CGridCellBase::Reset() { m_nState = 0; }

BOOL CGridCellBase::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)nRow, (void)nCol, (void)rect, (void)point, (void)nID, (void)nChar;
  return FALSE;
}

BOOL CGridCellBase::ValidateEdit(LPCTSTR str) {
  (void)str;
  return TRUE;
}

BOOL CGridCellBase::OnSetCursor() {
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return TRUE;
}

// ---------------------------------------------------------------- drawing

void CGridCellBase::DrawSortArrow(CDC* pDC, CRect& rect, BOOL bAscending) const {
  const int nOffset = 2;
  CSize size = pDC->GetTextExtent(L"M", 1);
  int nSize = size.cy - 2 * nOffset;
  if (nSize > rect.Height() - 2 * nOffset) nSize = rect.Height() - 2 * nOffset;
  if (nSize <= 0) return;

  // A font turned on its side puts the arrow in the middle; otherwise it
  // sits at the right end and the text keeps what is left of it.
  const LOGFONT* plf = GetFont();
  bool bVertical = plf && (plf->lfEscapement == 900 || plf->lfEscapement == -900);
  int nLeft = bVertical ? rect.left + (rect.Width() - nSize) / 2 : rect.right - nSize - nOffset;
  if (nLeft < rect.left) return;
  int nTop = rect.top + (rect.Height() - nSize) / 2;
  int nRight = nLeft + nSize, nBottom = nTop + nSize;
  int nMid = nLeft + nSize / 2;

  CPen penShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
  CPen penLight(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
  CPen* pOldPen = pDC->SelectObject(&penLight);
  if (bAscending) {
    // Pointing up: the left edge in shadow, the right edge and base lit.
    pDC->MoveTo(nMid, nTop);
    pDC->LineTo(nRight, nBottom);
    pDC->LineTo(nLeft, nBottom);
    pDC->SelectObject(&penShadow);
    pDC->MoveTo(nLeft, nBottom);
    pDC->LineTo(nMid, nTop);
  } else {
    // Pointing down: the top edge and left edge in shadow, the right edge lit.
    pDC->MoveTo(nMid, nBottom);
    pDC->LineTo(nRight, nTop);
    pDC->SelectObject(&penShadow);
    pDC->MoveTo(nRight, nTop);
    pDC->LineTo(nLeft, nTop);
    pDC->LineTo(nMid, nBottom);
  }
  pDC->SelectObject(pOldPen);
  if (!bVertical) rect.right = nLeft - nOffset;
}

BOOL CGridCellBase::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  CGridCtrl* pGrid = GetGrid();
  if (!pGrid || !pDC || rect.Width() <= 0 || rect.Height() <= 0) return FALSE;

  int nSavedDC = pDC->SaveDC();
  pDC->SetBkMode(TRANSPARENT);

  CGridDefaultCell* pDefaultCell = GetDefaultCell();
  bool bFixedLook = IsFixed() || IsFixedRow() || IsFixedCol();
  COLORREF crText = Resolve(GetTextClr(), pDefaultCell ? pDefaultCell->GetTextClr() : CLR_DEFAULT,
                            bFixedLook ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
  COLORREF crBack = Resolve(GetBackClr(), pDefaultCell ? pDefaultCell->GetBackClr() : CLR_DEFAULT,
                            bFixedLook ? COLOR_BTNFACE : COLOR_WINDOW);
  // A cell with its own background always paints it.
  if (GetBackClr() != CLR_DEFAULT) bEraseBkgnd = TRUE;
  bool bGridLines = pGrid->GetGridLines() != GVL_NONE;

  if (IsFocused() || IsDropHighlighted()) {
    if (IsSelected()) {
      crBack = ::GetSysColor(COLOR_HIGHLIGHT);
      crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
      bEraseBkgnd = TRUE;
    }
    if (bEraseBkgnd) {
      // One pixel beyond the right and bottom edge, which the grid lines
      // take back when they are drawn.
      rect.right++;
      rect.bottom++;
      pDC->FillSolidRect(rect, crBack);
      if (bGridLines) {
        rect.right--;
        rect.bottom--;
      }
    }
    pDC->SetTextColor(crText);
    if (pGrid->GetFrameFocusCell() && IsFocused()) {
      CBrush brush(crText);
      CRect frame(rect.left, rect.top, rect.right, rect.bottom);
      pDC->FrameRect(frame, &brush);
    }
  } else if (IsSelected()) {
    rect.right++;
    rect.bottom++;
    pDC->FillSolidRect(rect, ::GetSysColor(COLOR_HIGHLIGHT));
    rect.right--;
    rect.bottom--;
    pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    if (bEraseBkgnd) {
      rect.right++;
      rect.bottom++;
      pDC->FillSolidRect(rect, crBack);
      rect.right--;
      rect.bottom--;
    }
    pDC->SetTextColor(crText);
  }

  if (IsFixed() && bGridLines) {
    // Raised header look, or sunken for the focus cell's row and column
    // header when focus tracking is on.
    CCellID focus = pGrid->GetFocusCell();
    bool bSunken = pGrid->GetTrackFocusCell() && focus.IsValid() &&
                   ((IsFixedCol() && nRow == focus.row) || (IsFixedRow() && nCol == focus.col));
    COLORREF crTopLeft = ::GetSysColor(bSunken ? COLOR_3DDKSHADOW : COLOR_3DHIGHLIGHT);
    COLORREF crBottomRight = ::GetSysColor(bSunken ? COLOR_3DHIGHLIGHT : COLOR_3DDKSHADOW);
    CPen penTopLeft(PS_SOLID, 1, crTopLeft);
    CPen penBottomRight(PS_SOLID, 1, crBottomRight);
    CPen* pOldPen = pDC->SelectObject(&penTopLeft);
    pDC->MoveTo(rect.left, rect.bottom - 1);
    pDC->LineTo(rect.left, rect.top);
    pDC->LineTo(rect.right, rect.top);
    pDC->SelectObject(&penBottomRight);
    pDC->MoveTo(rect.right - 1, rect.top);
    pDC->LineTo(rect.right - 1, rect.bottom - 1);
    pDC->LineTo(rect.left - 1, rect.bottom - 1);
    pDC->SelectObject(pOldPen);
    rect.DeflateRect(1, 1);
  }

  pDC->SelectObject(GetFontObject());
  int nMargin = static_cast<int>(GetMargin());
  rect.DeflateRect(nMargin, nMargin);

  CImageList* pImageList = pGrid->GetImageList();
  if (pImageList && GetImage() >= 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(pImageList->GetSafeHandle(), &cx, &cy);
    if (cx <= rect.Width() && cy <= rect.Height()) {
      pImageList->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);
      rect.left += cx + nMargin;
    }
  }

  if (nRow == 0 && pGrid->GetSortColumn() == nCol && nCol >= 0) DrawSortArrow(pDC, rect, pGrid->GetSortAscending());

  if (rect.Width() > 0 && rect.Height() > 0) {
    CString strText = IsEditing() ? CString() : CString(GetText());
    pDC->DrawText(strText, rect, GetFormat() | DT_NOPREFIX);
  }
  pDC->RestoreDC(nSavedDC);
  return TRUE;
}

BOOL CGridCellBase::GetTextRect(LPRECT pRect) {
  if (!pRect) return FALSE;
  CRect rect(pRect);
  int nMargin = static_cast<int>(GetMargin());
  if (IsFixed() && GetGrid() && GetGrid()->GetGridLines() != GVL_NONE) rect.DeflateRect(1, 1);
  rect.DeflateRect(nMargin, nMargin);
  CGridCtrl* pGrid = GetGrid();
  if (pGrid && pGrid->GetImageList() && GetImage() >= 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(pGrid->GetImageList()->GetSafeHandle(), &cx, &cy);
    if (cx <= rect.Width() && cy <= rect.Height()) rect.left += cx + nMargin;
  }
  *pRect = rect;
  return TRUE;
}

CSize CGridCellBase::GetTextExtent(LPCTSTR szText, CDC* pDC) {
  CDC dcMemory;
  if (!pDC) {
    if (!dcMemory.CreateCompatibleDC(nullptr)) return CSize(0, 0);
    pDC = &dcMemory;
  }
  CFont* pOldFont = pDC->SelectObject(GetFontObject());
  CString strText = szText ? szText : L"";
  CSize size(0, 0);
  if (GetFormat() & DT_SINGLELINE) {
    // An empty text still has the font's height.
    size = pDC->GetTextExtent(strText);
  } else {
    // Each line measured; the block is as wide as the widest.
    int nStart = 0;
    do {
      int nEnd = strText.Find(L'\n', nStart);
      CString strLine = nEnd < 0 ? strText.Mid(nStart) : strText.Mid(nStart, nEnd - nStart);
      strLine.TrimRight(L'\r');
      CSize line = pDC->GetTextExtent(strLine);
      size.cx = std::max(size.cx, line.cx);
      size.cy += line.cy;
      nStart = nEnd < 0 ? -1 : nEnd + 1;
    } while (nStart >= 0);
  }
  pDC->SelectObject(pOldFont);
  // Margins on both sides, the pixel of the grid line, and for a header
  // cell the two pixels of its raised frame.
  int nMargin = static_cast<int>(GetMargin());
  int nFrame = IsFixed() ? 3 : 1;
  size.cx += 2 * nMargin + nFrame;
  size.cy += 2 * nMargin + nFrame;
  return size;
}

CSize CGridCellBase::GetCellExtent(CDC* pDC) {
  CSize size = GetTextExtent(GetText(), pDC);
  CGridCtrl* pGrid = GetGrid();
  if (pGrid && pGrid->GetImageList() && GetImage() >= 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(pGrid->GetImageList()->GetSafeHandle(), &cx, &cy);
    int nMargin = static_cast<int>(GetMargin());
    size.cx += cx + nMargin;
    size.cy = std::max<LONG>(size.cy, cy + 2 * nMargin);
  }
  return size;
}

BOOL CGridCellBase::PrintCell(CDC* pDC, int nRow, int nCol, CRect rect) {
  (void)nRow, (void)nCol;
  CGridCtrl* pGrid = GetGrid();
  if (!pGrid || !pDC || rect.Width() <= 0 || rect.Height() <= 0) return FALSE;
  int nSavedDC = pDC->SaveDC();
  pDC->SetBkMode(TRANSPARENT);
  if (pGrid->GetShadedPrintOut()) {
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    COLORREF crBack = GetBackClr() != CLR_DEFAULT ? GetBackClr()
                      : pDefaultCell && pDefaultCell->GetBackClr() != CLR_DEFAULT
                          ? pDefaultCell->GetBackClr()
                          : ::GetSysColor(IsFixed() ? COLOR_BTNFACE : COLOR_WINDOW);
    pDC->FillSolidRect(rect, crBack);
    COLORREF crText = GetTextClr() != CLR_DEFAULT ? GetTextClr() : RGB(0, 0, 0);
    pDC->SetTextColor(crText);
  } else {
    pDC->SetTextColor(RGB(0, 0, 0));
  }
  pDC->SelectObject(GetFontObject());
  int nMargin = static_cast<int>(GetMargin());
  rect.DeflateRect(nMargin, nMargin);
  if (rect.Width() > 0 && rect.Height() > 0) pDC->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);
  pDC->RestoreDC(nSavedDC);
  return TRUE;
}
