// Sorting: the header click cycle through real mouse messages, the default
// compare by 16-bit character codes, the numeric compare, descending order,
// rows moving whole, and the edge of a single data row.
#include "GridTestSupport.h"

using gridtest::GridFixture;

namespace {

class GridSortTest : public GridFixture {
 protected:
  // Column 1 of the data rows.
  std::string Column1() const {
    std::string out;
    for (int r = 1; r < m_grid->GetRowCount(); ++r) out += (r > 1 ? " " : "") + m_grid->GetItemText(r, 1).ToUtf8();
    return out;
  }
  void SetColumn1(const std::vector<const wchar_t*>& texts) {
    Fill(static_cast<int>(texts.size()) + 1, 3);
    for (size_t i = 0; i < texts.size(); ++i) m_grid->SetItemText(static_cast<int>(i) + 1, 1, texts[i]);
  }
  void ClickHeader(int col) {
    CPoint pt(col * 50 + 25, 10);
    m_grid->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    m_grid->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
};

TEST_F(GridSortTest, HeaderClicksSortAscendingDescendingAscending) {
  SetColumn1({L"pear", L"apple", L"fig"});
  m_grid->SetHeaderSort(TRUE);
  ClickHeader(1);
  EXPECT_EQ("apple fig pear", Column1());
  EXPECT_EQ(1, m_grid->GetSortColumn());
  ClickHeader(1);
  EXPECT_EQ("pear fig apple", Column1());
  ClickHeader(1);
  EXPECT_EQ("apple fig pear", Column1());
  ClickHeader(2);
  EXPECT_TRUE(m_grid->GetSortAscending()) << "another column starts ascending";
  // The click also selected the column (fixed-column selection is on).
  EXPECT_EQ(3, m_grid->GetSelectedCount());

  m_grid->SetHeaderSort(FALSE);
  m_grid->SetItemText(1, 1, L"zzz");
  ClickHeader(1);
  EXPECT_EQ("zzz apple fig", Column1()) << "header sort off: no sorting";
}

TEST_F(GridSortTest, RowsMoveWholeWithTheirHeightsAndFixedRowsStay) {
  SetColumn1({L"b", L"c", L"a"});
  m_grid->SetRowHeight(3, 33);
  m_grid->SetItemData(3, 2, 99);
  m_grid->SortItems(1, TRUE);
  EXPECT_EQ("a b c", Column1());
  EXPECT_EQ("3,0|a|3,2", Row(1));
  EXPECT_EQ(33, m_grid->GetRowHeight(1));
  EXPECT_EQ(99, m_grid->GetItemData(1, 2));
  EXPECT_EQ("0,0|0,1|0,2", Row(0));
}

TEST_F(GridSortTest, OneDataRowStaysAsItIs) {
  SetColumn1({L"only"});
  std::string before = Row(1);
  EXPECT_FALSE(m_grid->SortItems(1, TRUE)) << "nothing to sort";
  EXPECT_EQ(before, Row(1));
  EXPECT_EQ(1, m_grid->GetSortColumn());
}

TEST_F(GridSortTest, DefaultCompareUsesSixteenBitCodesAndPrefixesComeFirst) {
  // U+1F600 is a surrogate pair (D83D DE00) and sorts below U+FFFD.
  SetColumn1({L"b", L"ab", L"a", L"B", L"\uFFFD", L"\U0001F600", L"", L"abc"});
  m_grid->SortItems(1, TRUE);
  EXPECT_EQ(" B a ab abc b \U0001F600 \uFFFD", Column1());
  m_grid->SortItems(1, FALSE);
  EXPECT_EQ("\uFFFD \U0001F600 b abc ab a B ", Column1());
}

TEST_F(GridSortTest, NumericAndUserComparesDecideTheOrder) {
  SetColumn1({L"10", L"9", L"-3", L"99999999999", L"x", L"100"});
  m_grid->SortItems(CGridCtrl::pfnCellNumericCompare, 1, TRUE);
  // "x" reads as 0; the huge number saturates at the largest value.
  EXPECT_EQ("-3 x 9 10 100 99999999999", Column1());

  m_grid->SetCompareFunction([](LPARAM a, LPARAM b, LPARAM) -> int {
    auto len = [](LPARAM p) { return wcslen(reinterpret_cast<CGridCellBase*>(p)->GetText()); };
    return static_cast<int>(len(a)) - static_cast<int>(len(b));
  });
  m_grid->SetHeaderSort(TRUE);
  m_grid->SetSortColumn(-1);
  ClickHeader(1);
  EXPECT_EQ(1u, m_grid->GetItemText(1, 1).ToUtf8().size());
  EXPECT_EQ("99999999999", m_grid->GetItemText(6, 1).ToUtf8());
}

TEST_F(GridSortTest, ManyRowsWithRepeatsEndInOrder) {
  const int kRows = 3000;
  Fill(kRows + 1, 2);
  for (int r = 1; r <= kRows; ++r) {
    CString s;
    s.Format(L"k%03d", (r * 7919) % 113);
    m_grid->SetItemText(r, 1, s);
  }
  m_grid->SortItems(1, FALSE);
  for (int r = 2; r <= kRows; ++r) ASSERT_GE(m_grid->GetItemText(r - 1, 1), m_grid->GetItemText(r, 1)) << r;
}

}  // namespace
