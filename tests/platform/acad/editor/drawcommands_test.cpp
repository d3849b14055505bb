// The host's drawing commands driven by scripted lines.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "acdocman.h"
#include "acedsel.h"
#include "acedview.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "edcommands.h"
#include "script.h"
#include "transcript.h"

namespace {

class DrawCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    acDocManager->closeAllDocuments();
    acad::ResetEditorState();
    m_old = user::SetSink(&m_out);
  }
  void TearDown() override {
    user::SetSink(m_old);
    EXPECT_EQ(curDoc()->lockCount(), 0);  // every command released its lock
    EXPECT_EQ(acad::OpenSelectionSetCount(), 0);
    acDocManager->closeAllDocuments();
  }
  void Run(const wchar_t* command, std::vector<std::string> lines) {
    user::Script::Instance().UseLines(std::move(lines));
    ASSERT_TRUE(acad::RunDrawingCommand(command));
  }
  // The model-space entities that are not erased, described as LIST does.
  std::vector<std::wstring> Entities() {
    std::vector<std::wstring> out;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* table = nullptr;
    AcDbBlockTableRecord* space = nullptr;
    db->getBlockTable(table, AcDb::kForRead);
    table->getAt(L"*Model_Space", space, AcDb::kForRead);
    table->close();
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it);
    for (; !it->done(); it->step()) {
      AcDbEntity* e = nullptr;
      if (it->getEntity(e, AcDb::kForRead) != Acad::eOk) continue;
      std::wstring text = acad::DescribeEntity(e);
      // Handles depend on the default drawing; keep type and geometry.
      out.push_back(text.substr(0, text.find(L' ')) + text.substr(text.find(L"layer")));
      e->close();
    }
    delete it;
    space->close();
    return out;
  }
  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
};

}  // namespace

TEST_F(DrawCommands, LineDrawsOneSegmentPerPointUntilEnter) {
  Run(L"line", {"0,0", "10,0", "@0,10", ""});
  std::vector<std::wstring> got = Entities();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_NE(got[0].find(L"from (0.0000,0.0000,0.0000) to (10.0000,0.0000,0.0000)"), std::wstring::npos);
  EXPECT_NE(got[1].find(L"from (10.0000,0.0000,0.0000) to (10.0000,10.0000,0.0000)"), std::wstring::npos);
  Run(L"LINE", {"^C"});
  EXPECT_EQ(Entities().size(), 2u);
}

TEST_F(DrawCommands, PlineArcsAreTangentAndCloseFollowsTheMode) {
  // A straight leg, a tangent quarter arc, a straight leg again.
  Run(L"PLINE", {"0,0", "100,0", "A", "150,50", "L", "150,100", ""});
  // A square-ish shape closed with a straight segment.
  Run(L"PLINE", {"0,200", "50,200", "50,250", "c"});
  // A semicircle closed by an arc back to the start.
  Run(L"PLINE", {"0,400", "20,400", "a", "20,440", "C"});
  std::vector<std::wstring> got = Entities();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_NE(got[0].find(L"open, 4 vertices, length 228.5398: (0.0000,0.0000) (100.0000,0.0000) bulge 0.4142 "
                        L"(150.0000,50.0000) (150.0000,100.0000)"),
            std::wstring::npos)
      << got[0];
  EXPECT_NE(got[1].find(L"closed, 3 vertices"), std::wstring::npos) << got[1];
  EXPECT_EQ(got[1].find(L"bulge"), std::wstring::npos) << got[1];
  // Leaves (20,440) heading -x; the chord back to (0,400) is 63.43 degrees off
  // that heading, so the closing arc's bulge is tan(63.43/2) = 0.6180.
  EXPECT_NE(got[2].find(L"closed, 3 vertices"), std::wstring::npos) << got[2];
  EXPECT_NE(got[2].find(L"(20.0000,400.0000) bulge 1.0000 (20.0000,440.0000) bulge 0.6180"), std::wstring::npos)
      << got[2];
}

TEST_F(DrawCommands, PlineRefusesEarlyCloseAndRepeatedPointsAndNeedsTwoVertices) {
  Run(L"PLINE", {"0,0", "C", "0,0", "5,0", ""});
  std::vector<std::wstring> got = Entities();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_NE(got[0].find(L"open, 2 vertices, length 5.0000"), std::wstring::npos) << got[0];
  EXPECT_NE(m_out.str().find("A polyline needs two points"), std::string::npos);
  EXPECT_NE(m_out.str().find("The point is the last point again."), std::string::npos);
  Run(L"PLINE", {"0,0", ""});  // a single point makes nothing
  EXPECT_EQ(Entities().size(), 1u);
}

TEST_F(DrawCommands, CircleEraseAndList) {
  Run(L"CIRCLE", {"10,10", "-5", "0", "5"});
  EXPECT_NE(m_out.str().find("Value must be positive."), std::string::npos);
  Run(L"LINE", {"0,0", "100,0", ""});
  std::vector<std::wstring> got = Entities();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_NE(got[0].find(L"center (10.0000,10.0000,0.0000) radius 5.0000"), std::wstring::npos) << got[0];

  m_out.str("");
  Run(L"LIST", {"15,10", ""});
  EXPECT_NE(m_out.str().find("CIRCLE     handle"), std::string::npos) << m_out.str();
  EXPECT_EQ(m_out.str().find("LINE "), std::string::npos);

  Run(L"ERASE", {"15,10", ""});
  got = Entities();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].find(L"CIRCLE"), std::wstring::npos);
  Run(L"ERASE", {"^C"});
  EXPECT_EQ(Entities().size(), 1u);
  EXPECT_FALSE(acad::RunDrawingCommand(L"NOSUCH"));
}
