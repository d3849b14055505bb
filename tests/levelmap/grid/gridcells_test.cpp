// The special cell kinds: links (which word is under the pointer, what the
// shell gets), combo boxes (texts that are no option), check boxes (who may
// toggle them), date cells (their text from the time) and composite cells.
#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "GridCellComposite.h"
#include "GridCellDateTime.h"
#include "GridTestSupport.h"
#include "GridURLCell.h"
#include "wintest.h"

using gridtest::GridFixture;

namespace {

class GridCellsTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Fill(5, 4);
    m_grid->SetColumnWidth(1, 300);
    m_grid->SetFocus();
  }
  template <class T>
  T* Make(int row, int col, CRuntimeClass* pClass) {
    m_grid->SetCellType(row, col, pClass);
    return static_cast<T*>(m_grid->GetCell(row, col));
  }
  void Paint() { gridtest::CPainted painted(*m_grid); }
  CWnd* Editor() const { return m_grid->GetDlgItem(IDC_INPLACE_CONTROL); }
  // The left edge of a character of a text drawn in a cell's font.
  static int WidthOf(CGridCellBase* pCell, const wchar_t* text) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* pOld = dc.SelectObject(pCell->GetFontObject());
    int cx = dc.GetTextExtent(text, static_cast<int>(wcslen(text))).cx;
    dc.SelectObject(pOld);
    return cx;
  }
};

TEST_F(GridCellsTest, LinkWordUnderThePointerAndWhatTheShellGets) {
  auto* pCell = Make<CGridURLCell>(1, 1, RUNTIME_CLASS(CGridURLCell));
  pCell->SetText(L"see www.site.cn now");
  Paint();
  CRect rect(50, 20, 349, 39);
  pCell->GetTextRect(rect);
  int left = rect.left - 50;
  int y = 10;
  int wordStart = WidthOf(pCell, L"see ");
  int wordEnd = WidthOf(pCell, L"see www.site.cn");
  EXPECT_EQ("", pCell->GetUrlUnderPoint(CPoint(left + 2, y)).ToUtf8()) << "the first word is no link";
  EXPECT_EQ("www.site.cn", pCell->GetUrlUnderPoint(CPoint(left + (wordStart + wordEnd) / 2, y)).ToUtf8());
  EXPECT_EQ("", pCell->GetUrlUnderPoint(CPoint(left + wordEnd + 200, y)).ToUtf8()) << "beyond the text";

  // Over the link the pointer is a hand (the help program's is not there).
  CPoint screen(50 + left + (wordStart + wordEnd) / 2, 20 + y);
  m_grid->ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  EXPECT_TRUE(pCell->OnSetCursor());
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());
  screen.Offset(-(wordStart + wordEnd) / 2, 0);
  ::SetCursorPos(screen.x, screen.y);
  pCell->OnSetCursor();
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor());

  wintest::Transcript transcript;
  pCell->OnClick(CPoint(left + 2, y));
  pCell->OnClick(CPoint(left + (wordStart + wordEnd) / 2, y));
  EXPECT_EQ("[shell] open www.site.cn\n", transcript.Text()) << "the middle word only";
  pCell->SetAutoLaunchUrl(FALSE);
  pCell->OnClick(CPoint(left + (wordStart + wordEnd) / 2, y));
  EXPECT_EQ("[shell] open www.site.cn\n", transcript.Text());

  EXPECT_FALSE(pCell->Edit(1, 1, CRect(), CPoint(), 8, VK_LBUTTON)) << "a link cell is not edited";
  pCell->SetText(L"");
  EXPECT_EQ("", pCell->GetUrlUnderPoint(CPoint(left + 2, y)).ToUtf8()) << "an empty text has no word";
}

TEST(GridURLCellTest, OnlyWordsBeginningWithAWebMailOrTransferPrefixAreLaunched) {
  struct Case {
    const wchar_t* word;
    BOOL link, launch;
  } cases[] = {
      {L"http://a.cn", TRUE, TRUE},     {L"https://a.cn", TRUE, TRUE}, {L"mailto:x@a.cn", TRUE, TRUE},
      {L"ftp.a.cn", TRUE, TRUE},        {L"www.a.cn", TRUE, TRUE},     {L"file:///etc/passwd", TRUE, FALSE},
      {L"telnet://host", TRUE, FALSE},  {L"x.exe?www.a", TRUE, FALSE}, {L"run:file:x", TRUE, FALSE},
      {L"www.", TRUE, FALSE},           {L"plain", FALSE, FALSE},      {L"WWW.A.CN", FALSE, FALSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.link, CGridURLCell::HasUrl(c.word)) << CString(c.word).ToUtf8();
    EXPECT_EQ(c.launch, CGridURLCell::IsLaunchableUrl(c.word)) << CString(c.word).ToUtf8();
  }
}

TEST_F(GridCellsTest, ComboShowsATextThatIsNoOptionAndAListKeepsIt) {
  CStringArray options;
  options.Add(L"GSM");
  options.Add(L"WCDMA");
  auto* pCombo = Make<CGridCellCombo>(2, 1, RUNTIME_CLASS(CGridCellCombo));
  pCombo->SetOptions(options);
  pCombo->SetText(L"LTE");
  m_grid->OnEditCell(2, 1, CPoint(-1, -1), VK_LBUTTON);
  CWnd* pList = Editor();
  ASSERT_NE(nullptr, pList);
  CString text;
  pList->GetWindowText(text);
  EXPECT_EQ("LTE", text.ToUtf8()) << "in the edit field";
  EXPECT_EQ(2, static_cast<int>(pList->SendMessage(CB_GETCOUNT)));
  EXPECT_TRUE(pList->SendMessage(CB_GETDROPPEDSTATE));
  m_grid->SetFocus();
  EXPECT_EQ("LTE", m_grid->GetItemText(2, 1).ToUtf8());

  // A drop-down list has no edit field: its unchanged text comes back whole.
  pCombo->SetStyle(CBS_DROPDOWNLIST);
  m_owner.m_notices.clear();
  m_grid->OnEditCell(2, 1, CPoint(-1, -1), VK_LBUTTON);
  ASSERT_NE(nullptr, Editor());
  m_grid->SetFocus();
  EXPECT_EQ("LTE", m_grid->GetItemText(2, 1).ToUtf8());
  EXPECT_EQ(0, m_owner.Count(static_cast<int>(GVN_ENDLABELEDIT)));

  // Choosing an option changes the text.
  m_grid->OnEditCell(2, 1, CPoint(-1, -1), VK_LBUTTON);
  Editor()->SendMessage(CB_SETCURSEL, 1);
  Editor()->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ("WCDMA", m_grid->GetItemText(2, 1).ToUtf8());
}

TEST_F(GridCellsTest, CheckBoxTogglesOnlyWhereTheUserMayChangeIt) {
  auto* pCheck = Make<CGridCellCheck>(1, 2, RUNTIME_CLASS(CGridCellCheck));
  m_grid->SetColumnWidth(2, 60);
  Paint();
  // The box sits one margin in from the cell's corner.
  int margin = static_cast<int>(pCheck->GetMargin());
  CPoint inBox(margin + 4, margin + 4);
  pCheck->OnClick(inBox);
  EXPECT_TRUE(pCheck->GetCheck());
  pCheck->OnClick(CPoint(55, 10));
  EXPECT_TRUE(pCheck->GetCheck()) << "beside the box";
  m_grid->SetEditable(FALSE);
  pCheck->OnClick(inBox);
  EXPECT_TRUE(pCheck->GetCheck()) << "a grid that is not editable";
  m_grid->SetEditable(TRUE);
  pCheck->SetState(pCheck->GetState() | GVIS_READONLY);
  pCheck->OnClick(inBox);
  EXPECT_TRUE(pCheck->GetCheck()) << "a read-only cell";
  pCheck->SetState(pCheck->GetState() & ~GVIS_READONLY);
  pCheck->OnClick(inBox);
  EXPECT_FALSE(pCheck->GetCheck());
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  EXPECT_GE(pCheck->GetCellExtent(&dc).cy, ::GetSystemMetrics(SM_CXHSCROLL) + 2 * margin);
}

TEST_F(GridCellsTest, DateCellTextFollowsItsTimeAndStyle) {
  std::tm noon{};
  noon.tm_year = 124;
  noon.tm_mon = 2;
  noon.tm_mday = 5;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  time_t t = std::mktime(&noon);
  wchar_t date[64], clock[64];
  std::wcsftime(date, 64, L"%x", &noon);
  std::wcsftime(clock, 64, L"%X", &noon);

  CGridCellDateTime cell(DTS_SHORTDATEFORMAT);
  cell.SetTime(t);
  EXPECT_STREQ(date, cell.GetText());
  cell.SetStyle(DTS_TIMEFORMAT);
  cell.SetTime(t);
  EXPECT_STREQ(clock, cell.GetText());
  cell.SetStyle(DTS_LONGDATEFORMAT);
  cell.SetTime(t + 86400);
  EXPECT_STREQ(clock, cell.GetText()) << "other styles leave the text";
  EXPECT_EQ(t + 86400, cell.GetTime());
  SYSTEMTIME st = CGridCellDateTime::ToSystemTime(t);
  EXPECT_EQ(5, st.wDay);
  EXPECT_EQ(t, CGridCellDateTime::FromSystemTime(st));
}

TEST_F(GridCellsTest, DateCellEditsItsTimeInAPicker) {
  auto* pDate = Make<CGridCellDateTime>(3, 1, RUNTIME_CLASS(CGridCellDateTime));
  std::tm day{};
  day.tm_year = 124;
  day.tm_mon = 2;
  day.tm_mday = 5;
  day.tm_hour = 12;
  day.tm_isdst = -1;
  pDate->SetTime(std::mktime(&day));
  m_grid->OnEditCell(3, 1, CPoint(-1, -1), VK_LBUTTON);
  CWnd* pPicker = Editor();
  ASSERT_NE(nullptr, pPicker);
  SYSTEMTIME st{};
  pPicker->SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(5, st.wDay);
  st.wDay = 9;
  pPicker->SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  pPicker->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
  day.tm_mday = 9;
  time_t expected = std::mktime(&day);
  EXPECT_EQ(expected, pDate->GetTime());
  EXPECT_EQ(CGridCellDateTime::FormatTime(expected, DTS_SHORTDATEFORMAT), m_grid->GetItemText(3, 1));
}

TEST_F(GridCellsTest, CompositeCellSharesItsTextStateAndEditWithTheFocusSubCell) {
  auto* pComposite = Make<CGridCellComposite>(2, 1, RUNTIME_CLASS(CGridCellComposite));
  auto* pInner = new CGridCtrl(1, 2, 0, 0);
  pInner->SetColumnWidth(0, 30);
  pInner->SetColumnWidth(1, 10);
  pInner->SetItemText(0, 1, L"right");
  pComposite->SetInnerGrid(pInner, TRUE);
  CRect rect = pComposite->GetSubCellRect(CRect(0, 0, 399, 19), 0, 1);
  EXPECT_EQ(300, rect.left) << "three quarters for the first sub-cell";
  EXPECT_EQ(399, rect.right);

  Paint();
  pComposite->OnClick(CPoint(280, 5));  // the cell is 300 wide: the second sub-cell from 225
  EXPECT_TRUE(pInner->GetFocusCell() == CCellID(0, 1));
  m_grid->SetItemText(2, 1, L"both");
  EXPECT_EQ("both", pInner->GetItemText(0, 1).ToUtf8());
  pInner->SetItemState(0, 1, GVIS_READONLY);
  EXPECT_TRUE(pComposite->IsReadOnly()) << "the states combine";
  m_grid->OnEditCell(2, 1, CPoint(-1, -1), VK_LBUTTON);
  EXPECT_EQ(nullptr, Editor());
  pInner->SetItemState(0, 1, 0);
  m_grid->OnEditCell(2, 1, CPoint(-1, -1), VK_RETURN);
  ASSERT_NE(nullptr, Editor());
  CString text;
  Editor()->GetWindowText(text);
  EXPECT_EQ("both", text.ToUtf8());
  Editor()->SendMessage(WM_CHAR, L'!', 1);
  Editor()->SendMessage(WM_CHAR, L'\r', 1);
  EXPECT_EQ("both!", pInner->GetItemText(0, 1).ToUtf8());
  EXPECT_EQ("both!", m_grid->GetItemText(2, 1).ToUtf8());
}

}  // namespace
