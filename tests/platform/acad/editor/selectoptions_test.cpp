// Selection options ":$" (the caller's prompts) and ":S" (one pick).
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "acdocman.h"
#include "acedsel.h"
#include "acedview.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "script.h"
#include "transcript.h"

namespace {

class SelectOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    acDocManager->closeAllDocuments();
    acad::ResetEditorState();
    m_old = user::SetSink(&m_out);
    m_low = AddLine(0, 0, 100, 0);
    m_high = AddLine(0, 50, 100, 50);
  }
  void TearDown() override {
    user::SetSink(m_old);
    acDocManager->closeAllDocuments();
    EXPECT_EQ(acad::OpenSelectionSetCount(), 0);
  }
  static AcDbObjectId AddLine(double x0, double y0, double x1, double y1) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* table = nullptr;
    AcDbBlockTableRecord* space = nullptr;
    db->getBlockTable(table, AcDb::kForRead);
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    AcDbLine* line = new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
    AcDbObjectId id;
    space->appendAcDbEntity(id, line);
    line->close();
    space->close();
    return id;
  }
  static std::vector<AcDbObjectId> Take(ads_name ss) {
    std::vector<AcDbObjectId> ids;
    Adesk::Int32 n = 0;
    acedSSLength(ss, &n);
    for (Adesk::Int32 i = 0; i < n; ++i) {
      ads_name e;
      AcDbObjectId id;
      acedSSName(ss, i, e);
      acdbGetObjectId(id, e);
      ids.push_back(id);
    }
    acedSSFree(ss);
    return ids;
  }
  void Feed(std::vector<std::string> lines) { user::Script::Instance().UseLines(std::move(lines)); }

  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
  AcDbObjectId m_low, m_high;
};

}  // namespace

TEST_F(SelectOptions, DollarShowsTheCallersPromptInsteadOfTheHostsOwn) {
  Feed({"50,0", "50,50", ""});
  const wchar_t* prompts[2] = {L"\n请选择线路:", L"\n取消选择:"};
  ads_name ss;
  ASSERT_EQ(acedSSGet(L":$", prompts, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (std::vector<AcDbObjectId>{m_low, m_high}));
  std::string out = m_out.str();
  EXPECT_NE(out.find("请选择线路:50,0"), std::string::npos) << out;
  EXPECT_EQ(out.find("Select objects"), std::string::npos) << out;

  // Without prompts the host's own is shown; "_" prefixes are still taken.
  Feed({"50,0", ""});
  ASSERT_EQ(acedSSGet(L"_:$", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), std::vector<AcDbObjectId>{m_low});
  EXPECT_NE(m_out.str().find("Select objects: 50,0"), std::string::npos) << m_out.str();
}

TEST_F(SelectOptions, SingleEndsAfterTheFirstPickThatFindsSomething) {
  Feed({"500,500", "50,50", "50,0"});
  const wchar_t* prompts[2] = {L"选一条:", L"取消:"};
  ads_name ss;
  ASSERT_EQ(acedSSGet(L":S:$", prompts, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), std::vector<AcDbObjectId>{m_high});
  EXPECT_EQ(user::Script::Instance().Peek(), std::optional<std::string>("50,0"));

  Feed({"^C"});
  EXPECT_EQ(acedSSGet(L":s", nullptr, nullptr, nullptr, ss), RTCAN);
}

TEST_F(SelectOptions, UnknownOptionsAndBareModesAreRefused) {
  ads_name ss;
  EXPECT_EQ(acedSSGet(L":Q", nullptr, nullptr, nullptr, ss), RTERROR);
  EXPECT_EQ(acedSSGet(L"", nullptr, nullptr, nullptr, ss), RTERROR);
  EXPECT_EQ(acedSSGet(L":", nullptr, nullptr, nullptr, ss), RTERROR);
  EXPECT_EQ(acad::OpenSelectionSetCount(), 0);
}
