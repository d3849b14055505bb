// Clipboard and the single-cell paste path: copying what is selected and
// visible, pasting lines and fields (CRLF too) within the grid's edges,
// read-only cells keeping their text, cut, Delete, and the owner's veto
// through the editing notifications.
#include "GridTestSupport.h"

using gridtest::GridFixture;

namespace {

class GridClipboardTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Fill(6, 5);
  }
};

TEST_F(GridClipboardTest, CopySkipsHiddenColumnsAndRowsAndJoinsWithTabsAndCrlf) {
  m_grid->SetColumnWidth(2, 0);
  m_grid->SetRowHeight(3, 0);
  m_grid->SetItemText(4, 3, L"电平");
  m_grid->SetSelectedRange(2, 1, 4, 3);
  ASSERT_TRUE(m_grid->CopyTextToClipboard());
  EXPECT_EQ("2,1\t2,3\r\n4,1\t电平", ClipboardText());
}

TEST_F(GridClipboardTest, CopyWithoutSelectionLeavesTheClipboardAlone) {
  SetClipboardText("kept");
  EXPECT_FALSE(m_grid->CopyTextToClipboard());
  m_grid->EnableSelection(FALSE);
  m_grid->SetSelectedRange(1, 1, 2, 2);
  EXPECT_FALSE(m_grid->CopyTextToClipboard()) << "selection switched off";
  EXPECT_FALSE(m_grid->CutSelectedText());
  EXPECT_EQ("kept", ClipboardText());
}

TEST_F(GridClipboardTest, CopyOfALongRowIsWhole) {
  std::wstring longText(9000, L'x');
  m_grid->SetItemText(1, 1, longText.c_str());
  m_grid->SetItemText(1, 2, L"end");
  m_grid->SetSelectedRange(1, 1, 1, 2);
  ASSERT_TRUE(m_grid->CopyTextToClipboard());
  EXPECT_EQ(std::string(9000, 'x') + "\tend", ClipboardText());
}

TEST_F(GridClipboardTest, PasteFillsRightAndDownAtTabsCommasAndLineEnds) {
  struct Case {
    const char* text;
    const char* row2;
    const char* row3;
  } cases[] = {
      {"a,b\nc", "2,0|a|b|2,3|2,4", "3,0|c|3,2|3,3|3,4"},
      {"a\tb\r\nc\r\n", "2,0|a|b|2,3|2,4", "3,0|c|3,2|3,3|3,4"},  // CRLF, one empty last line
      {"a,,b", "2,0|a||b|2,4", "3,0|3,1|3,2|3,3|3,4"},             // an empty field clears
      {"1,2,3,4,5,6", "2,0|1|2|3|4", "3,0|3,1|3,2|3,3|3,4"},       // stops at the last column
  };
  for (const Case& c : cases) {
    Fill(6, 5);
    SetClipboardText(c.text);
    ASSERT_TRUE(m_grid->PasteTextFromClipboard(CCellID(2, 1))) << c.text;
    EXPECT_EQ(c.row2, Row(2)) << c.text;
    EXPECT_EQ(c.row3, Row(3)) << c.text;
  }
  // The pasted block ends selected.
  EXPECT_EQ(4, m_grid->GetSelectedCount());
  EXPECT_TRUE(m_grid->GetModified(2, 3));
}

TEST_F(GridClipboardTest, PasteSkipsHiddenAndReadOnlyCellsAndStopsAtTheLastRow) {
  m_grid->SetColumnWidth(2, 0);
  m_grid->SetItemState(5, 1, GVIS_READONLY);
  ASSERT_TRUE(m_grid->PasteTextToGrid(CCellID(4, 1), L"a,b\nc,d\ne,f"));
  EXPECT_EQ("4,0|a|4,2|b|4,4", Row(4)) << "hidden column 2 skipped";
  EXPECT_EQ("5,0|5,1|5,2|d|5,4", Row(5)) << "read-only (5,1) keeps its text";
  EXPECT_EQ(6, m_grid->GetRowCount()) << "the third line has no row";

  EXPECT_FALSE(m_grid->PasteTextToGrid(CCellID(5, 1), L"x")) << "a read-only target";
  m_grid->SetEditable(FALSE);
  EXPECT_FALSE(m_grid->PasteTextToGrid(CCellID(2, 2), L"x"));
  EXPECT_EQ("2,2", m_grid->GetItemText(2, 2).ToUtf8());
}

TEST_F(GridClipboardTest, PasteWithoutPlainTextDoesNothing) {
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::CloseClipboard();
  EXPECT_FALSE(m_grid->PasteTextFromClipboard(CCellID(1, 1)));
  EXPECT_EQ("1,1", m_grid->GetItemText(1, 1).ToUtf8());
}

TEST_F(GridClipboardTest, EachPastedCellAsksTheOwnerWhoMayRefuse) {
  m_grid->SetItemText(1, 1, L"same");
  m_owner.m_notices.clear();
  ASSERT_TRUE(m_grid->PasteTextToGrid(CCellID(1, 1), L"same,new", FALSE));
  // (1,1) gets its own text: asked, but no change to report.
  EXPECT_EQ((std::vector<int>{static_cast<int>(GVN_BEGINLABELEDIT), static_cast<int>(GVN_BEGINLABELEDIT),
                              static_cast<int>(GVN_ENDLABELEDIT)}),
            m_owner.Codes());
  EXPECT_EQ("new", m_owner.m_notices.back().text.ToUtf8());
  EXPECT_EQ(2, m_owner.m_notices.back().col);

  m_owner.m_replies[static_cast<int>(GVN_ENDLABELEDIT)] = -1;
  m_grid->PasteTextToGrid(CCellID(2, 1), L"refused", FALSE);
  EXPECT_EQ("2,1", m_grid->GetItemText(2, 1).ToUtf8()) << "the old text comes back";
  EXPECT_FALSE(m_grid->GetModified(2, 1));

  m_owner.m_replies.clear();
  m_owner.m_notices.clear();
  m_owner.m_replies[static_cast<int>(GVN_BEGINLABELEDIT)] = -1;
  m_grid->PasteTextToGrid(CCellID(3, 1), L"never", FALSE);
  EXPECT_EQ("3,1", m_grid->GetItemText(3, 1).ToUtf8());
  EXPECT_EQ(0, m_owner.Count(static_cast<int>(GVN_ENDLABELEDIT))) << "a refused start ends nothing";
}

TEST_F(GridClipboardTest, CutAndDeleteClearSelectedCellsButNotReadOnlyOnes) {
  m_grid->SetItemState(2, 2, GVIS_READONLY);
  m_grid->SetSelectedRange(1, 1, 2, 2);
  ASSERT_TRUE(m_grid->CutSelectedText());
  EXPECT_EQ("1,1\t1,2\r\n2,1\t2,2", ClipboardText());
  EXPECT_EQ("1,0|||1,3|1,4", Row(1));
  EXPECT_EQ("2,0||2,2|2,3|2,4", Row(2));

  SetClipboardText("untouched");
  m_grid->SetSelectedRange(3, 3, 4, 3);
  ASSERT_TRUE(m_grid->ClearSelectedText());
  EXPECT_EQ("3,0|3,1|3,2||3,4", Row(3));
  EXPECT_EQ("untouched", ClipboardText()) << "Delete does not touch the clipboard";

  m_grid->SetEditable(FALSE);
  m_grid->SetSelectedRange(1, 3, 1, 3);
  EXPECT_FALSE(m_grid->CutSelectedText());
  EXPECT_EQ("1,3", m_grid->GetItemText(1, 3).ToUtf8());
}

}  // namespace
