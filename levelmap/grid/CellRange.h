// Cell addresses and rectangular ranges of cells of the grid control.
#pragma once

#include <algorithm>

#include "afx.h"

class AFX_EXT_CLASS CCellID {
 public:
  explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

  int IsValid() const { return row >= 0 && col >= 0; }
  int operator==(const CCellID& rhs) const { return row == rhs.row && col == rhs.col; }
  int operator!=(const CCellID& rhs) const { return !operator==(rhs); }
  // Row-major order, so that sets of cells iterate row by row.
  bool operator<(const CCellID& rhs) const { return row < rhs.row || (row == rhs.row && col < rhs.col); }

  int row, col;
};

class AFX_EXT_CLASS CCellRange {
 public:
  explicit CCellRange(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1) {
    Set(nMinRow, nMinCol, nMaxRow, nMaxCol);
  }

  void Set(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1) {
    m_nMinRow = nMinRow;
    m_nMinCol = nMinCol;
    m_nMaxRow = nMaxRow;
    m_nMaxCol = nMaxCol;
  }

  // Both corners are cells and the maximum is not below the minimum.
  int IsValid() const {
    return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMinRow <= m_nMaxRow &&
           m_nMinCol <= m_nMaxCol;
  }
  int InRange(int row, int col) const {
    return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
  }
  int InRange(const CCellID& cellID) const { return InRange(cellID.row, cellID.col); }
  int Count() const { return IsValid() ? (m_nMaxRow - m_nMinRow + 1) * (m_nMaxCol - m_nMinCol + 1) : 0; }

  CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
  // The cells both ranges hold (an invalid range when none).
  CCellRange Intersect(const CCellRange& rhs) const {
    return CCellRange(std::max(m_nMinRow, rhs.m_nMinRow), std::max(m_nMinCol, rhs.m_nMinCol),
                      std::min(m_nMaxRow, rhs.m_nMaxRow), std::min(m_nMaxCol, rhs.m_nMaxCol));
  }

  int GetMinRow() const { return m_nMinRow; }
  void SetMinRow(int minRow) { m_nMinRow = minRow; }
  int GetMinCol() const { return m_nMinCol; }
  void SetMinCol(int minCol) { m_nMinCol = minCol; }
  int GetMaxRow() const { return m_nMaxRow; }
  void SetMaxRow(int maxRow) { m_nMaxRow = maxRow; }
  int GetMaxCol() const { return m_nMaxCol; }
  void SetMaxCol(int maxCol) { m_nMaxCol = maxCol; }
  int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
  int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

  int operator==(const CCellRange& rhs) const {
    return m_nMinRow == rhs.m_nMinRow && m_nMinCol == rhs.m_nMinCol && m_nMaxRow == rhs.m_nMaxRow &&
           m_nMaxCol == rhs.m_nMaxCol;
  }
  int operator!=(const CCellRange& rhs) const { return !operator==(rhs); }

 protected:
  int m_nMinRow;
  int m_nMinCol;
  int m_nMaxRow;
  int m_nMaxCol;
};
