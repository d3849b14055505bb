// Dragging cells with OLE drag and drop: the grid as a drop target (the
// cell under the drag is highlighted; the text dropped is pasted there) and
// as a drag source of its selected cells. Moving cells within one grid pastes
// first and then empties the dragged cells the paste did not cover, so a
// drop that overlaps the cells it came from loses nothing.
#include <cstring>
#include <memory>
#include <string>

#include "GridCtrl.h"

namespace {

CString TextOfGlobal(HGLOBAL hGlobal) {
  CString strText;
  SIZE_T nSize = ::GlobalSize(hGlobal);
  const char* pBytes = static_cast<const char*>(::GlobalLock(hGlobal));
  if (!pBytes) return strText;
  int nLength = static_cast<int>(strnlen(pBytes, nSize));
  if (nLength > 0) {
    int nChars = ::MultiByteToWideChar(CP_ACP, 0, pBytes, nLength, nullptr, 0);
    if (nChars > 0) {
      std::wstring text(static_cast<size_t>(nChars), L'\0');
      ::MultiByteToWideChar(CP_ACP, 0, pBytes, nLength, text.data(), nChars);
      strText = CString(text.c_str(), nChars);
    }
  }
  ::GlobalUnlock(hGlobal);
  return strText;
}

}  // namespace

void CGridCtrl::EnableDragAndDrop(BOOL bAllow) {
  m_bAllowDragAndDrop = bAllow;
  if (bAllow && GetSafeHwnd()) m_DropTarget.Register(this);
  else if (!bAllow) m_DropTarget.Revoke();
}

COleDataSource* CGridCtrl::CopyTextFromGrid() {
  HGLOBAL hText = CopySelectedTextToGlobal();
  if (!hText) return nullptr;
  auto* pSource = new COleDataSource;
  pSource->CacheGlobalData(CF_TEXT, hText);
  return pSource;
}

void CGridCtrl::SetDropHighlight(const CCellID& cell) {
  if (cell == m_idDropCell) return;
  if (CGridCellBase* pOld = GetCell(m_idDropCell.row, m_idDropCell.col)) {
    pOld->SetState(pOld->GetState() & ~GVIS_DROPHILITED);
    RedrawCell(m_idDropCell);
  }
  m_idDropCell = cell;
  if (CGridCellBase* pNew = GetCell(cell.row, cell.col)) {
    pNew->SetState(pNew->GetState() | GVIS_DROPHILITED);
    RedrawCell(cell);
  }
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  return OnDragOver(pDataObject, dwKeyState, point);
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  CCellID cell = GetCellFromPt(point);
  if (!m_bAllowDragAndDrop || !IsEditable() || GetVirtualMode() || !pDataObject ||
      !pDataObject->IsDataAvailable(CF_TEXT) || !IsValid(cell) || IsCellFixed(cell.row, cell.col) ||
      !IsCellEditable(cell.row, cell.col)) {
    SetDropHighlight(CCellID(-1, -1));
    return DROPEFFECT_NONE;
  }
  SetDropHighlight(cell);
  return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CGridCtrl::OnDragLeave() { SetDropHighlight(CCellID(-1, -1)); }

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
  SetDropHighlight(CCellID(-1, -1));
  CCellID cell = GetCellFromPt(point);
  if (!m_bAllowDragAndDrop || !IsEditable() || GetVirtualMode() || !pDataObject || !IsValid(cell) ||
      IsCellFixed(cell.row, cell.col) || !IsCellEditable(cell.row, cell.col))
    return FALSE;
  HGLOBAL hText = pDataObject->GetGlobalData(CF_TEXT);
  if (!hText) return FALSE;
  CString strText = TextOfGlobal(hText);
  ::GlobalFree(hText);
  // The clipboard form ends rows with CRLF; the paste splits at the LF.
  strText.Remove(L'\r');
  if (!PasteTextToGrid(cell, strText, TRUE)) return FALSE;

  if (m_bDragSource && (dropEffect & DROPEFFECT_MOVE)) {
    // Moved within this grid: the dragged cells the paste did not fill are
    // emptied here; the source has nothing left to do.
    CCellRange pasted = GetSelectedCellRange();
    for (const CCellID& source : m_DragSourceCells)
      if (!pasted.IsValid() || !pasted.InRange(source.row, source.col)) PasteTextToCell(source.row, source.col, L"");
    m_bDroppedOnSource = TRUE;
  }
  Refresh();
  return TRUE;
}

void CGridCtrl::DragSelectedCells() {
  if (!m_bAllowDragAndDrop || GetVirtualMode()) return;
  std::unique_ptr<COleDataSource> pSource(CopyTextFromGrid());
  if (!pSource) return;
  m_bDragSource = TRUE;
  m_bDroppedOnSource = FALSE;
  m_DragSourceCells = m_SelectedCellMap;
  DROPEFFECT dropEffect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
  // Moved somewhere else: the dragged cells are emptied (read-only ones
  // keep their text).
  if ((dropEffect & DROPEFFECT_MOVE) && !m_bDroppedOnSource)
    for (const CCellID& source : m_DragSourceCells) PasteTextToCell(source.row, source.col, L"");
  m_bDragSource = FALSE;
  m_bDroppedOnSource = FALSE;
  m_DragSourceCells.clear();
  m_MouseMode = MOUSE_NOTHING;
  if (GetCapture() == this) ::ReleaseCapture();
  Refresh();
}
