// The ordinary text cell and the default cells.
#include "GridCell.h"

#include <cstring>

#include "GridCtrl.h"

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)
IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

// ---------------------------------------------------------------- CGridCell

CGridCell::CGridCell()
    : m_lParam(0),
      m_nImage(-1),
      m_nFormat(static_cast<DWORD>(-1)),
      m_crFgClr(CLR_DEFAULT),
      m_crBkClr(CLR_DEFAULT),
      m_plfFont(nullptr),
      m_nMargin(static_cast<UINT>(-1)),
      m_bEditing(FALSE),
      m_pGrid(nullptr),
      m_pEditWnd(nullptr) {}

CGridCell::~CGridCell() { delete m_plfFont; }

void CGridCell::SetText(LPCTSTR szText) { m_strText = szText ? szText : L""; }

void CGridCell::SetFont(const LOGFONT* plf) {
  if (!plf) {
    delete m_plfFont;
    m_plfFont = nullptr;
    return;
  }
  if (plf == m_plfFont) return;
  if (!m_plfFont) m_plfFont = new LOGFONT;
  // The whole description: a face name is LF_FACESIZE wide characters.
  std::memcpy(m_plfFont, plf, sizeof(LOGFONT));
  m_plfFont->lfFaceName[LF_FACESIZE - 1] = 0;
}

DWORD CGridCell::GetFormat() const {
  if (m_nFormat != static_cast<DWORD>(-1)) return m_nFormat;
  CGridDefaultCell* pDefaultCell = GetDefaultCell();
  return pDefaultCell ? pDefaultCell->GetFormat() : (DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LOGFONT* CGridCell::GetFont() const {
  if (m_plfFont) return m_plfFont;
  CGridDefaultCell* pDefaultCell = GetDefaultCell();
  return pDefaultCell ? pDefaultCell->GetFont() : nullptr;
}

UINT CGridCell::GetMargin() const {
  if (m_nMargin != static_cast<UINT>(-1)) return m_nMargin;
  CGridDefaultCell* pDefaultCell = GetDefaultCell();
  return pDefaultCell ? pDefaultCell->GetMargin() : 3;
}

void CGridCell::Reset() {
  CGridCellBase::Reset();
  m_strText.Empty();
  m_nImage = -1;
  m_nFormat = static_cast<DWORD>(-1);
  m_nMargin = static_cast<UINT>(-1);
  m_lParam = 0;
  m_crFgClr = CLR_DEFAULT;
  m_crBkClr = CLR_DEFAULT;
  delete m_plfFont;
  m_plfFont = nullptr;
  m_pEditWnd = nullptr;
  m_bEditing = FALSE;
  m_pGrid = nullptr;
}

void CGridCell::OnEndEdit() {
  m_pEditWnd = nullptr;
  m_bEditing = FALSE;
}

// ---------------------------------------------------------------- CGridDefaultCell

CGridDefaultCell::CGridDefaultCell() : m_Size(30, 10), m_dwStyle(0) {
  m_nFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  m_crFgClr = CLR_DEFAULT;
  m_crBkClr = CLR_DEFAULT;
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = sizeof ncm;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    SetFont(&ncm.lfMessageFont);
  } else {
    LOGFONT lf{};
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) SetFont(&lf);
  }
}

CGridDefaultCell::~CGridDefaultCell() { m_Font.DeleteObject(); }

void CGridDefaultCell::SetFont(const LOGFONT* plf) {
  if (!plf) return;
  CGridCell::SetFont(plf);
  m_Font.DeleteObject();
  m_Font.CreateFontIndirect(m_plfFont);

  // Sizes that fit about a dozen characters of this font.
  CDC dc;
  if (!m_Font.GetSafeHandle() || !dc.CreateCompatibleDC(nullptr)) {
    m_Size = CSize(40, 16);
    m_nMargin = 3;
    return;
  }
  CFont* pOldFont = dc.SelectObject(&m_Font);
  CSize size = dc.GetTextExtent(L" XXXXXXXXXXXX ", 14);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  int nTextHeight = std::max<int>(size.cy, tm.tmHeight);
  m_Size = CSize(size.cx, nTextHeight * 3 / 2);
  m_nMargin = static_cast<UINT>(dc.GetTextExtent(L" ", 1).cx);
  dc.SelectObject(pOldFont);
}

LOGFONT* CGridDefaultCell::GetFont() const { return m_plfFont; }
