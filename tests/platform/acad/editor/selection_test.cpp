// Selection sets: picks, windows, crossings, filters, "all" and "last", and
// the calls that read and free a set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <memory>
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
#include "script.h"
#include "transcript.h"

namespace {

AcDbObjectId Add(AcDbEntity* entity, const wchar_t* layer = nullptr) {
  std::unique_ptr<AcDbEntity> owned(entity);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (layer) {
    AcDbLayerTable* layers = nullptr;
    db->getLayerTable(layers, AcDb::kForWrite);
    if (!layers->has(layer)) {
      auto* rec = new AcDbLayerTableRecord;
      rec->setName(layer);
      layers->add(rec);
      rec->close();
    }
    layers->close();
    owned->setLayer(layer);
  }
  AcDbBlockTable* table = nullptr;
  AcDbBlockTableRecord* space = nullptr;
  db->getBlockTable(table, AcDb::kForRead);
  table->getAt(L"*Model_Space", space, AcDb::kForWrite);
  table->close();
  AcDbObjectId id;
  space->appendAcDbEntity(id, owned.get());
  space->close();
  owned.release()->close();
  return id;
}

AcDbPolyline* Pline(std::vector<AcGePoint2d> pts, bool closed = false) {
  auto* p = new AcDbPolyline;
  for (unsigned i = 0; i < pts.size(); ++i) p->addVertexAt(i, pts[i]);
  p->setClosed(closed);
  return p;
}

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    acDocManager->closeAllDocuments();
    acad::ResetEditorState();
    m_old = user::SetSink(&m_out);
    // A horizontal line, an L-shaped polyline on layer "ROUTE", a circle.
    m_line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0)));
    m_pline = Add(Pline({{0, 50}, {100, 50}, {100, 150}}), L"ROUTE");
    m_circle = Add(new AcDbCircle(AcGePoint3d(300, 300, 0), AcGeVector3d(0, 0, 1), 25));
  }
  void TearDown() override {
    user::SetSink(m_old);
    acDocManager->closeAllDocuments();
    EXPECT_EQ(acad::OpenSelectionSetCount(), 0);
  }
  void Feed(std::vector<std::string> lines) { user::Script::Instance().UseLines(std::move(lines)); }

  // The ids of a set, and frees it.
  std::vector<AcDbObjectId> Take(ads_name ss) {
    std::vector<AcDbObjectId> ids;
    Adesk::Int32 n = 0;
    EXPECT_EQ(acedSSLength(ss, &n), RTNORM);
    for (Adesk::Int32 i = 0; i < n; ++i) {
      ads_name e;
      AcDbObjectId id;
      EXPECT_EQ(acedSSName(ss, i, e), RTNORM);
      EXPECT_EQ(acdbGetObjectId(id, e), Acad::eOk);
      ids.push_back(id);
    }
    EXPECT_EQ(acedSSFree(ss), RTNORM);
    return ids;
  }

  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
  AcDbObjectId m_line, m_pline, m_circle;
};

using Ids = std::vector<AcDbObjectId>;

}  // namespace

TEST(Wildcards, StarQuestionMarkCommaListsAndCase) {
  EXPECT_TRUE(acad::WildcardMatch(L"LWPOLYLINE", L"*POLYLINE"));
  EXPECT_TRUE(acad::WildcardMatch(L"LINE", L"l?ne"));
  EXPECT_TRUE(acad::WildcardMatch(L"CIRCLE", L"LINE,CIRCLE"));
  EXPECT_TRUE(acad::WildcardMatch(L"ARC", L"*"));
  EXPECT_FALSE(acad::WildcardMatch(L"LINE", L"LIN"));
  EXPECT_FALSE(acad::WildcardMatch(L"LWPOLYLINE", L"LINE,CIRCLE"));
  EXPECT_FALSE(acad::WildcardMatch(L"LINE", L"?LINE"));
  EXPECT_TRUE(acad::WildcardMatch(L"AXBXC", L"A*B*C"));
  EXPECT_FALSE(acad::WildcardMatch(L"AXBXD", L"A*B*C"));
}

TEST_F(Selection, PicksFindTheTopEntityWithinThePickBox) {
  double tolerance = 3 * acad::PixelSize();
  std::string nearLine = "50," + std::to_string(tolerance * 0.8);
  std::string farFromLine = "50," + std::to_string(tolerance * 1.5);
  // The rim of the circle, not its inside; the polyline's second leg.
  Feed({nearLine, farFromLine, "300,300", "325,300", "100,100", ""});
  ads_name ss;
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_line, m_circle, m_pline}));
  EXPECT_NE(m_out.str().find("Select objects: 300,300\n0 found"), std::string::npos);

  // Where two entities overlap the pick finds the one drawn last.
  AcDbObjectId over = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(50, 0, 0)));
  Feed({"25,0", ""});
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{over}));
}

TEST_F(Selection, WindowTakesWhatLiesWhollyInsideCrossingWhatTouches) {
  ads_point a = {-10, -10, 0}, b = {110, 60, 0};
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"W", a, b, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_line}));  // the polyline leaves the window
  ASSERT_EQ(acedSSGet(L"_C", b, a, nullptr, ss), RTNORM);  // corners in any order
  EXPECT_EQ(Take(ss), (Ids{m_line, m_pline}));
  // A crossing box in the bend of the L: inside its extents, touching nothing.
  ads_point c = {10, 60, 0}, d = {90, 140, 0};
  EXPECT_EQ(acedSSGet(L"C", c, d, nullptr, ss), RTERROR);
  // A box through the circle's rim but inside it crosses; wholly inside does not.
  ads_point e = {290, 290, 0}, f = {330, 310, 0}, g = {295, 295, 0}, h = {305, 305, 0};
  ASSERT_EQ(acedSSGet(L"C", e, f, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_circle}));
  EXPECT_EQ(acedSSGet(L"C", g, h, nullptr, ss), RTERROR);
  EXPECT_EQ(acedSSGet(L"C", e, nullptr, nullptr, ss), RTERROR);
}

TEST_F(Selection, FiltersByTypeAndLayer) {
  resbuf* types = acutBuildList(RTDXF0, L"*POLYLINE,CIRCLE", 0);
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, types, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_pline, m_circle}));
  acutRelRb(types);

  resbuf* layer = acutBuildList(8, L"route", 0);
  Feed({"ALL", ""});
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, layer, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_pline}));
  acutRelRb(layer);

  // The filter applies to every pick: the line is not a polyline.
  resbuf* plines = acutBuildList(RTDXF0, L"LWPOLYLINE", 0);
  Feed({"50,0", "C -10,-10 110,60", ""});
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, plines, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_pline}));
  acutRelRb(plines);

  // A plain group 0 buffer works as well.
  resbuf* circles = acutNewRb(0);
  circles->resval.rstring = static_cast<ACHAR*>(std::malloc(7 * sizeof(ACHAR)));
  std::wcscpy(circles->resval.rstring, L"CIRCLE");
  ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, circles, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_circle}));
  acutRelRb(circles);

  resbuf* unsupported = acutBuildList(62, 1, 0);
  EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, unsupported, ss), RTERROR);
  acutRelRb(unsupported);
}

TEST_F(Selection, LastAllDuplicatesEnterAndEsc) {
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"L", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_circle}));
  // Picking the same entity twice keeps it once, in first-picked order.
  Feed({"L", "50,0", "L", "W 250,250 350,350", "ALL", ""});
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(Take(ss), (Ids{m_circle, m_line, m_pline}));
  Feed({""});
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
  Feed({"50,0", "^C"});
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTCAN);
  Feed({"50,0"});  // the end of the script is Esc
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTCAN);
  Feed({"W 1,2", "nonsense", ""});
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
  EXPECT_NE(m_out.str().find("Invalid window: two corners are needed."), std::string::npos);
  EXPECT_NE(m_out.str().find("Invalid selection"), std::string::npos);
}

TEST_F(Selection, ErasedEntitiesAreNotSelectedAndBadNamesAreRefused) {
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenObject(e, m_circle, AcDb::kForWrite), Acad::eOk);
  e->erase();
  e->close();
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, ss), RTNORM);
  Adesk::Int32 n = 0;
  EXPECT_EQ(acedSSLength(ss, &n), RTNORM);
  EXPECT_EQ(n, 2);
  ads_name entity;
  EXPECT_EQ(acedSSName(ss, 2, entity), RTERROR);
  EXPECT_EQ(acedSSName(ss, -1, entity), RTERROR);
  // An entity's name is not a set.
  ASSERT_EQ(acedSSName(ss, 0, entity), RTNORM);
  EXPECT_EQ(acedSSLength(entity, &n), RTERROR);
  EXPECT_EQ(acedSSFree(ss), RTNORM);
  EXPECT_EQ(acedSSFree(ss), RTERROR);  // freed twice
  EXPECT_EQ(acedSSLength(ss, &n), RTERROR);
}
