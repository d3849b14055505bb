// Dragging cells within one grid with OLE drag and drop, driven by the
// scripted user's mouse lines: a move empties the dragged cells (except
// where the drop covers them), Control copies, Escape and a fixed cell drop
// nothing, and only the grid the drop target serves is served.
#include "GridTestSupport.h"
#include "wintest.h"

using gridtest::GridFixture;

namespace {

// Exposes the drag of the selected cells that a mouse drag starts.
class CDragGrid : public CGridCtrl {
 public:
  using CGridCtrl::DragSelectedCells;
};

class GridDropTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    m_grid = std::make_unique<CDragGrid>();
    ASSERT_TRUE(m_grid->Create(CRect(0, 0, 400, 300), &m_owner, 100, WS_CHILD | WS_VISIBLE));
    Refill();
    m_grid->EnableDragAndDrop(TRUE);
  }
  // 6 x 6 cells "rRcC" (no commas: a paste splits at them), 50 x 20 pixels.
  void Refill() {
    Fill(6, 6);
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 6; ++c) {
        CString text;
        text.Format(L"r%dc%d", r, c);
        m_grid->SetItemText(r, c, text);
      }
  }
  // Drags the cells (1,1) and (1,2) with the given lines, from (1,1).
  void Drag(std::vector<std::string> lines) {
    m_grid->SetFocus();
    m_grid->SetSelectedRange(1, 1, 1, 2);
    POINT start{75, 30};
    m_grid->ClientToScreen(&start);
    ::SetCursorPos(start.x, start.y);
    wintest::Script(std::move(lines));
    static_cast<CDragGrid*>(m_grid.get())->DragSelectedCells();
  }
};

TEST_F(GridDropTest, MoveCopyAndCancelWithinOneGrid) {
  // (3,3) is at 150..199 x 60..79.
  Drag({"@mouse 100 move 120,50", "@mouse 100 move 160,70", "@mouse 100 lup 160,70"});
  EXPECT_EQ("r3c0|r3c1|r3c2|r1c1|r1c2|r3c5", Row(3));
  EXPECT_EQ("r1c0|||r1c3|r1c4|r1c5", Row(1)) << "moved: the dragged cells are empty";
  EXPECT_FALSE(m_grid->GetItemState(3, 3) & GVIS_DROPHILITED);

  Refill();
  Drag({"@mouse 100 move 160,70 CTRL", "@mouse 100 lup 160,70 CTRL"});
  EXPECT_EQ("r3c0|r3c1|r3c2|r1c1|r1c2|r3c5", Row(3));
  EXPECT_EQ("r1c0|r1c1|r1c2|r1c3|r1c4|r1c5", Row(1)) << "copied: the dragged cells keep their text";

  // A drop that overlaps the dragged cells keeps what it drops.
  Refill();
  Drag({"@mouse 100 move 125,30", "@mouse 100 lup 125,30"});
  EXPECT_EQ("r1c0||r1c1|r1c2|r1c4|r1c5", Row(1));

  // Escape, a drop on a heading, a drop on a read-only cell: nothing changes.
  for (const std::vector<std::string>& lines :
       {std::vector<std::string>{"@mouse 100 move 160,70", "^C"},
        std::vector<std::string>{"@mouse 100 move 160,10", "@mouse 100 lup 160,10"},
        std::vector<std::string>{"@mouse 100 move 160,90", "@mouse 100 lup 160,90"}}) {
    Refill();
    m_grid->SetItemState(4, 3, m_grid->GetItemState(4, 3) | GVIS_READONLY);
    Drag(lines);
    EXPECT_EQ("r1c0|r1c1|r1c2|r1c3|r1c4|r1c5", Row(1)) << lines[0];
    EXPECT_EQ("r3c0|r3c1|r3c2|r3c3|r3c4|r3c5", Row(3)) << lines[0];
    EXPECT_EQ("r4c0|r4c1|r4c2|r4c3|r4c4|r4c5", Row(4)) << lines[0];
    EXPECT_FALSE(m_grid->GetItemState(3, 3) & GVIS_DROPHILITED) << lines[0];
  }
}

TEST_F(GridDropTest, DropTargetServesOnlyItsGrid) {
  CGridDropTarget& target = *new CGridDropTarget;
  std::unique_ptr<CGridDropTarget> owner(&target);
  CGridCtrl other;
  ASSERT_TRUE(other.Create(CRect(0, 0, 100, 100), &m_owner, 101, WS_CHILD | WS_VISIBLE));
  ASSERT_TRUE(target.Register(&other));
  COleDataSource source;
  HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 2);
  memcpy(::GlobalLock(text), "x", 2);
  ::GlobalUnlock(text);
  source.CacheGlobalData(CF_TEXT, text);
  COleDataObject data;
  data.Attach(&source);
  other.EnableDragAndDrop(TRUE);
  other.SetRowCount(3);
  other.SetColumnCount(3);
  other.SetFixedRowCount(1);
  for (int r = 0; r < 3; ++r) other.SetRowHeight(r, 20);
  for (int c = 0; c < 3; ++c) other.SetColumnWidth(c, 30);
  EXPECT_EQ(DROPEFFECT_NONE, target.OnDragEnter(m_grid.get(), &data, 0, CPoint(40, 30))) << "another grid's window";
  EXPECT_EQ(DROPEFFECT_MOVE, target.OnDragEnter(&other, &data, 0, CPoint(40, 30)));
  EXPECT_EQ(DROPEFFECT_COPY, target.OnDragOver(&other, &data, MK_CONTROL, CPoint(40, 30)));
  EXPECT_TRUE(other.GetItemState(1, 1) & GVIS_DROPHILITED);
  target.OnDragLeave(&other);
  EXPECT_FALSE(other.GetItemState(1, 1) & GVIS_DROPHILITED);
  EXPECT_FALSE(target.OnDrop(m_grid.get(), &data, DROPEFFECT_COPY, CPoint(40, 30)));
  EXPECT_TRUE(target.OnDrop(&other, &data, DROPEFFECT_COPY, CPoint(40, 30)));
  EXPECT_EQ(CString(L"x"), other.GetItemText(1, 1));
  other.EnableDragAndDrop(FALSE);
  EXPECT_EQ(DROPEFFECT_NONE, target.OnDragOver(&other, &data, 0, CPoint(40, 30))) << "drag and drop off";
}

}  // namespace
