// Drawings written the way other programs write them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "db2dpline.h"
#include "dbblkref.h"
#include "dbcurves.h"
#include "dbdict.h"
#include "dbpline.h"
#include "dbproxy.h"
#include "dbtext.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

// Joins "code\nvalue" lines; codes get the usual right alignment.
std::string Dxf(std::initializer_list<std::pair<int, const char*>> pairs, const char* eol = "\n") {
  std::string out;
  for (const auto& [code, value] : pairs) {
    std::string c = std::to_string(code);
    out += std::string(c.size() < 3 ? 3 - c.size() : 0, ' ') + c + eol + value + eol;
  }
  return out;
}

// Code lines as writers print them: three columns, left-aligned, wider,
// with leading zeros, a sign or CR LF. Each reads as the same line.
TEST(AcadForeignDxf, CodeLinesOfEveryWidthReadAlike) {
  const std::pair<int, const char*> pairs[] = {{0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {8, "Walls"}, {62, "3"},
                                               {10, "1.5"}, {20, "2"}, {30, "0"}, {11, "4"}, {21, "-6.25"}, {31, "0"},
                                               {0, "ENDSEC"}, {0, "EOF"}};
  struct Form {
    const char* name;
    std::string (*code)(int);
    const char* eol;
  };
  const Form forms[] = {
      {"three columns", [](int c) { std::string t = std::to_string(c); return std::string(3 - t.size(), ' ') + t; }, "\n"},
      {"left-aligned", [](int c) { return std::to_string(c); }, "\n"},
      {"six columns", [](int c) { std::string t = std::to_string(c); return std::string(6 - t.size(), ' ') + t; }, "\n"},
      {"leading zeros", [](int c) { std::string t = std::to_string(c); return std::string(3 - t.size(), '0') + t; }, "\n"},
      {"a plus sign", [](int c) { return "+" + std::to_string(c); }, "\n"},
      {"CR LF", [](int c) { std::string t = std::to_string(c); return std::string(3 - t.size(), ' ') + t; }, "\r\n"},
  };
  for (const Form& f : forms) {
    std::string text;
    for (const auto& [code, value] : pairs) text += f.code(code) + f.eol + value + f.eol;
    AcDbDatabase db(false);
    ASSERT_EQ(db.dxfIn(text), Acad::eOk) << f.name;
    std::vector<AcDbObjectId> ids = Entities(db);
    ASSERT_EQ(ids.size(), 1u) << f.name;
    AcDbLine* line = Open<AcDbLine>(ids[0]);
    ASSERT_NE(line, nullptr) << f.name;
    EXPECT_EQ(line->startPoint(), AcGePoint3d(1.5, 2, 0)) << f.name;
    EXPECT_EQ(line->endPoint(), AcGePoint3d(4, -6.25, 0)) << f.name;
    EXPECT_EQ(line->colorIndex(), 3) << f.name;
    EXPECT_EQ(line->layerName(), L"Walls") << f.name;
    line->close();
  }
}

TEST(AcadForeignDxf, Release12WithoutHandlesOrSubclassMarkers) {
  std::string text = Dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {9, "$CLAYER"}, {8, "WALLS"},
                          {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "TABLES"},
                          {0, "TABLE"}, {2, "LAYER"}, {70, "2"},
                          {0, "LAYER"}, {2, "0"}, {70, "0"}, {62, "7"}, {6, "CONTINUOUS"},
                          {0, "LAYER"}, {2, "WALLS"}, {70, "1"}, {62, "-5"}, {6, "CONTINUOUS"},
                          {0, "ENDTAB"}, {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "BLOCKS"},
                          {0, "BLOCK"}, {8, "0"}, {2, "TREE"}, {70, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
                          {0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "2"},
                          {0, "ENDBLK"}, {8, "0"},
                          {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "ENTITIES"},
                          {0, "LINE"}, {8, "WALLS"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "100"}, {21, "0"}, {31, "0"},
                          {0, "TEXT"}, {8, "0"}, {10, "5"}, {20, "5"}, {40, "2.5"}, {1, "Caf\\U+00E9"},
                          {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "1"},
                          {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"},
                          {0, "VERTEX"}, {8, "0"}, {10, "1"}, {20, "0"},
                          {0, "SEQEND"}, {8, "0"},
                          {0, "INSERT"}, {8, "0"}, {2, "TREE"}, {10, "50"}, {20, "50"}, {41, "2"}, {42, "2"},
                          {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* walls = nullptr;
  ASSERT_EQ(layers->getAt(L"WALLS", walls, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(walls->isOff());  // negative colour
  EXPECT_TRUE(walls->isFrozen());
  EXPECT_EQ(walls->color().colorIndex(), 5);
  EXPECT_EQ(db.clayer(), walls->objectId());
  walls->close();
  layers->close();
  // The default records a drawing needs are there although the file had none.
  AcDbLinetypeTable* ltypes = nullptr;
  ASSERT_EQ(db.getLinetypeTable(ltypes, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(ltypes->has(L"BYLAYER"));
  ltypes->close();

  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 4u);
  AcDbLine* line = Open<AcDbLine>(ids[0]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->layerName(), L"WALLS");
  EXPECT_EQ(line->endPoint().x, 100.0);
  EXPECT_FALSE(line->objectId().handle().isNull());  // a handle given on reading
  line->close();
  AcDbText* t = Open<AcDbText>(ids[1]);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->textStringConst(), L"Café");
  t->close();
  // The old polyline with its vertices: closed, so two vertices give two segments.
  AcDb2dPolyline* poly = Open<AcDb2dPolyline>(ids[2]);
  ASSERT_NE(poly, nullptr);
  EXPECT_EQ(poly->numVerts(), 2);
  EXPECT_TRUE(poly->isClosed());
  EXPECT_NEAR(poly->length(), 2.0, 1e-12);
  poly->close();
  AcDbBlockReference* ref = Open<AcDbBlockReference>(ids[3]);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->blockTableRecord(), BlockId(db, L"TREE"));
  AcDbExtents ext;
  ref->getGeomExtents(ext);
  EXPECT_NEAR(ext.maxPoint().x, 54, 1e-9);
  ref->close();
  EXPECT_EQ(Entities(db, L"TREE").size(), 1u);

  // Saved as release 2007 and read again: the same entities.
  AcDbDatabase back(false);
  RoundTrip(db, back, "r12.dxf");
  std::vector<AcDbObjectId> again = Entities(back);
  ASSERT_EQ(again.size(), 4u);
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].handle(), ids[i].handle());
    EXPECT_EQ(again[i].objectClass(), ids[i].objectClass());
  }
}

TEST(AcadForeignDxf, Release2000WithHandlesCrLfAndUnknownObjects) {
  std::string text = Dxf({{999, "written by another program"},
                          {0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {9, "$HANDSEED"}, {5, "2FF"},
                          {9, "$MEASUREMENT"}, {70, "1"}, {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "CLASSES"}, {0, "CLASS"}, {1, "WIPEOUTVARIABLES"}, {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "TABLES"},
                          {0, "TABLE"}, {2, "VPORT"}, {5, "8"}, {100, "AcDbSymbolTable"}, {70, "1"},
                          {0, "VPORT"}, {5, "29"}, {100, "AcDbSymbolTableRecord"}, {2, "*ACTIVE"}, {70, "0"},
                          {0, "ENDTAB"},
                          {0, "TABLE"}, {2, "BLOCK_RECORD"}, {5, "1"}, {100, "AcDbSymbolTable"}, {70, "2"},
                          {0, "BLOCK_RECORD"}, {5, "1F"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"}, {2, "*Model_Space"},
                          {0, "BLOCK_RECORD"}, {5, "1B"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"}, {2, "*Paper_Space"},
                          {0, "ENDTAB"}, {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "ENTITIES"},
                          {0, "LWPOLYLINE"}, {5, "100"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbPolyline"},
                          {90, "3"}, {70, "1"}, {43, "0.0"}, {10, "0"}, {20, "0"}, {42, "1.0"}, {10, "10"}, {20, "0"},
                          {10, "10"}, {20, "10"},
                          {0, "DIMENSION"}, {5, "101"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbDimension"},
                          {2, "*D1"}, {10, "3"}, {20, "4"}, {30, "0"}, {1, "<>"},
                          {1001, "ACAD"}, {1000, "DSTYLE"},
                          {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "OBJECTS"},
                          {0, "DICTIONARY"}, {5, "C"}, {330, "0"}, {100, "AcDbDictionary"}, {3, "ACAD_LAYOUT"}, {350, "1A"},
                          {0, "DICTIONARY"}, {5, "1A"}, {330, "C"}, {100, "AcDbDictionary"}, {3, "Layout1"}, {350, "1E"},
                          {0, "LAYOUT"}, {5, "1E"}, {330, "1A"}, {100, "AcDbPlotSettings"}, {1, ""}, {100, "AcDbLayout"},
                          {1, "Layout1"}, {330, "1B"},
                          {0, "ENDSEC"}, {0, "EOF"}}, "\r\n");
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0].handle(), AcDbHandle(0x100));
  AcDbPolyline* pl = Open<AcDbPolyline>(ids[0]);
  ASSERT_NE(pl, nullptr);
  double end, len;
  pl->getEndParam(end);
  pl->getDistAtParam(end, len);
  EXPECT_NEAR(len, 5 * 3.14159265358979323846 + 10 + std::sqrt(200.0), 1e-9);
  pl->close();
  AcDbProxyEntity* dim = Open<AcDbProxyEntity>(ids[1]);
  ASSERT_NE(dim, nullptr);
  EXPECT_STREQ(dim->originalDxfName(), "DIMENSION");
  AcDbExtents ext;
  EXPECT_EQ(dim->getGeomExtents(ext), Acad::eOk);
  EXPECT_EQ(ext.minPoint().x, 3.0);
  dim->close();
  // New handles start at the file's handle seed.
  AcDbObjectId fresh = Append(db, new AcDbLine());
  EXPECT_GE(fresh.handle().value(), 0x2FFu);

  // Written back: the unknown entity and object come back unchanged.
  std::string out;
  ASSERT_EQ(db.dxfOut(out), Acad::eOk);
  EXPECT_NE(out.find("DIMENSION\n  5\n101\n330\n1F\n100\nAcDbEntity"), std::string::npos);
  EXPECT_NE(out.find("LAYOUT\n  5\n1E\n330\n1A\n"), std::string::npos);
  EXPECT_NE(out.find("$MEASUREMENT\n 70\n1\n"), std::string::npos);
  EXPECT_NE(out.find("*ACTIVE"), std::string::npos);
  EXPECT_NE(out.find("WIPEOUTVARIABLES"), std::string::npos);
  AcDbDatabase back(false);
  ASSERT_EQ(back.dxfIn(out), Acad::eOk);
  ASSERT_EQ(Entities(back).size(), 3u);
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(back.getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(nod->objectId().handle(), AcDbHandle(0xC));
  EXPECT_TRUE(nod->has(L"ACAD_LAYOUT"));
  nod->close();
}
}  // namespace
