// Shared pieces of the grid tests: an owner window that records the grid's
// notifications and answers them as told, a grid made inside it, and
// painting the grid into a bitmap to read its pixels.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GridCtrl.h"

namespace gridtest {

struct Notice {
  int code;
  int row;
  int col;
  CString text;  // editing notifications only
};

// The grid's owner: records every WM_NOTIFY and replies with the value set
// for its code (0 otherwise).
class COwnerWnd : public CWnd {
 public:
  std::vector<Notice> m_notices;
  std::map<int, LRESULT> m_replies;

  BOOL CreateOwner(int width = 420, int height = 320) {
    return CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr);
  }
  // The codes received, in order.
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Notice& n : m_notices) codes.push_back(n.code);
    return codes;
  }
  int Count(int code) const {
    int n = 0;
    for (const Notice& notice : m_notices) n += notice.code == code;
    return n;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      int code = static_cast<int>(hdr->code);
      Notice notice{code, -1, -1, CString()};
      if (code == static_cast<int>(GVN_BEGINLABELEDIT) || code == static_cast<int>(GVN_ENDLABELEDIT) ||
          code == static_cast<int>(GVN_GETDISPINFO)) {
        auto* info = reinterpret_cast<GV_DISPINFO*>(lParam);
        notice.row = info->item.row;
        notice.col = info->item.col;
        notice.text = info->item.strText;
      } else {
        auto* nmgv = reinterpret_cast<NM_GRIDVIEW*>(lParam);
        notice.row = nmgv->iRow;
        notice.col = nmgv->iColumn;
      }
      m_notices.push_back(notice);
      auto it = m_replies.find(code);
      return it == m_replies.end() ? 0 : it->second;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A grid window of the given size inside an owner, without border, so that
// client pixels are grid pixels.
class GridFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_owner.CreateOwner());
    m_grid = std::make_unique<CGridCtrl>();
    ASSERT_TRUE(m_grid->Create(CRect(0, 0, 400, 300), &m_owner, 100, WS_CHILD | WS_VISIBLE));
  }
  void TearDown() override {
    m_grid.reset();
    if (m_owner.m_hWnd) m_owner.DestroyWindow();
  }

  // rows x cols of texts "r,c", with the given fixed rows and columns, every
  // column 50 and every row 20 pixels.
  void Fill(int rows, int cols, int fixedRows = 1, int fixedCols = 1) {
    CGridCtrl& g = *m_grid;
    g.SetRowCount(rows);
    g.SetColumnCount(cols);
    g.SetFixedRowCount(fixedRows);
    g.SetFixedColumnCount(fixedCols);
    for (int r = 0; r < rows; ++r) {
      g.SetRowHeight(r, 20);
      for (int c = 0; c < cols; ++c) {
        CString s;
        s.Format(L"%d,%d", r, c);
        g.SetItemText(r, c, s);
      }
    }
    for (int c = 0; c < cols; ++c) g.SetColumnWidth(c, 50);
    g.ResetScrollBars();
  }
  // The texts of a row joined by "|".
  std::string Row(int row) const {
    std::string out;
    for (int c = 0; c < m_grid->GetColumnCount(); ++c) out += (c ? "|" : "") + m_grid->GetItemText(row, c).ToUtf8();
    return out;
  }
  // The clipboard's plain text, or "<none>".
  static std::string ClipboardText() {
    if (!::OpenClipboard(nullptr)) return "<closed>";
    std::string text = "<none>";
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(::GlobalLock(h));
      ::GlobalUnlock(h);
    }
    ::CloseClipboard();
    return text;
  }
  static void SetClipboardText(const std::string& text) {
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
    ::GlobalUnlock(h);
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
  }

  COwnerWnd m_owner;
  std::unique_ptr<CGridCtrl> m_grid;
};

// The grid painted into a bitmap of its client size.
class CPainted {
 public:
  explicit CPainted(CGridCtrl& grid) {
    CRect rect;
    grid.GetClientRect(&rect);
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateBitmap(rect.Width(), rect.Height(), 1, 32, nullptr);
    m_pOld = m_dc.SelectObject(&m_bitmap);
    grid.OnDraw(&m_dc);
  }
  ~CPainted() { m_dc.SelectObject(m_pOld); }
  CPainted(const CPainted&) = delete;
  CPainted& operator=(const CPainted&) = delete;
  COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
  // Pixels of the colour inside [x0, x1) x [y0, y1).
  int Count(COLORREF colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += m_dc.GetPixel(x, y) == colour;
    return n;
  }

 private:
  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap* m_pOld = nullptr;
};

}  // namespace gridtest
