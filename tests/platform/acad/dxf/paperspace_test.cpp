// Layouts where the format puts them: the active layout's entities in the
// ENTITIES section with 67 = 1 and its block's owner, other layouts' in
// their blocks; files that keep the active layout in its block read too.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dbcurves.h"
#include "dbtext.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

AcDbObjectId AppendTo(AcDbObjectId blockId, AcDbEntity* ent) {
  AcDbBlockTableRecord* block = nullptr;
  EXPECT_EQ(acdbOpenObject(block, blockId, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(block->appendAcDbEntity(id, ent), Acad::eOk);
  ent->close();
  block->close();
  return id;
}

AcDbObjectId NewBlock(AcDbDatabase& db, const ACHAR* name) {
  AcDbBlockTable* bt = nullptr;
  EXPECT_EQ(db.getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
  auto* rec = new AcDbBlockTableRecord();
  rec->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(bt->add(id, rec), Acad::eOk);
  rec->close();
  bt->close();
  return id;
}

std::string Hex(AcDbObjectId id) {
  char b[24];
  std::snprintf(b, sizeof b, "%llX", static_cast<unsigned long long>(id.handle().value()));
  return b;
}

// The text of one record: from its 0 group up to the next.
std::string RecordWith(const std::string& dxf, const std::string& marker) {
  size_t at = dxf.find(marker);
  if (at == std::string::npos) return {};
  size_t start = dxf.rfind("\n  0\n", at);
  size_t end = dxf.find("\n  0\n", at);
  return dxf.substr(start, end - start);
}

TEST(AcadDxfPaperSpace, ActiveAndSecondLayoutSurviveAndOthersSeeThem) {
  AcDbDatabase db;
  Append(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  AcDbObjectId paper = BlockId(db, ACDB_PAPER_SPACE);
  AcDbObjectId frame = AppendTo(paper, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(420, 297, 0)));
  AppendTo(paper, new AcDbText(AcGePoint3d(5, 5, 0), L"图框 A3", AcDbObjectId::kNull, 3.5, 0));
  AcDbObjectId second = NewBlock(db, L"*Paper_Space0");
  AcDbObjectId circle = AppendTo(second, new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 2));

  std::string out;
  ASSERT_EQ(db.dxfOut(out), Acad::eOk);
  // The active layout's line sits in ENTITIES with 67 = 1 and the paper-space
  // block record as owner; the second layout's circle in its block, also 67 = 1.
  size_t entities = out.find("ENTITIES");
  std::string line = RecordWith(out, "\n  5\n" + Hex(frame) + "\n");
  ASSERT_FALSE(line.empty());
  EXPECT_GT(out.find(line), entities);
  EXPECT_NE(line.find("\n330\n" + Hex(paper) + "\n"), std::string::npos) << line;
  EXPECT_NE(line.find("\n 67\n1\n"), std::string::npos) << line;
  std::string circleRecord = RecordWith(out, "\n  5\n" + Hex(circle) + "\n");
  EXPECT_LT(out.find(circleRecord), entities);
  EXPECT_NE(circleRecord.find("\n 67\n1\n"), std::string::npos) << circleRecord;
  // Model space has no 67.
  EXPECT_EQ(RecordWith(out, "\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n10.0\n").find("\n 67\n"), std::string::npos);

  // Read back: each entity in its layout; the independent reader agrees (RoundTrip).
  AcDbDatabase back(false);
  RoundTrip(db, back, "layouts.dxf");
  EXPECT_EQ(Entities(back).size(), 1u);
  ASSERT_EQ(Entities(back, ACDB_PAPER_SPACE).size(), 2u);
  EXPECT_EQ(Entities(back, ACDB_PAPER_SPACE)[0].handle(), frame.handle());
  ASSERT_EQ(Entities(back, L"*Paper_Space0").size(), 1u);
  EXPECT_EQ(Entities(back, L"*Paper_Space0")[0].handle(), circle.handle());
}

TEST(AcadDxfPaperSpace, BothPlacementsRead) {
  // Some writers keep the active layout in its block, with or without 67;
  // an unmodelled entity among them gets its 67 = 1 when written in ENTITIES.
  // A file with only ENTITIES and 67 = 1 gets its paper-space block.
  const char* inBlock =
      "  0\nSECTION\n  2\nBLOCKS\n"
      "  0\nBLOCK\n  8\n0\n  2\n*Paper_Space\n 70\n0\n 10\n0\n 20\n0\n 30\n0\n"
      "  0\nLINE\n  5\n40\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 11\n5\n"
      "  0\nDIMENSION\n  5\n41\n100\nAcDbEntity\n  8\n0\n100\nAcDbDimension\n  2\n*D1\n 10\n1\n 20\n2\n"
      "  0\nENDBLK\n  8\n0\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nENTITIES\n  0\nCIRCLE\n  5\n42\n  8\n0\n 40\n1\n  0\nENDSEC\n  0\nEOF\n";
  const char* entitiesOnly =
      "  0\nSECTION\n  2\nENTITIES\n  0\nCIRCLE\n  5\n42\n  8\n0\n 40\n1\n"
      "  0\nLINE\n  5\n40\n 67\n1\n  8\n0\n 11\n5\n"
      "  0\nDIMENSION\n  5\n41\n 67\n1\n  8\n0\n  2\n*D1\n 10\n1\n 20\n2\n  0\nENDSEC\n  0\nEOF\n";
  for (const char* text : {inBlock, entitiesOnly}) {
    SCOPED_TRACE(text == inBlock ? "in the block" : "in ENTITIES");
    AcDbDatabase db(false);
    ASSERT_EQ(db.dxfIn(text), Acad::eOk);
    ASSERT_EQ(Entities(db).size(), 1u);
    std::vector<AcDbObjectId> paper = Entities(db, ACDB_PAPER_SPACE);
    ASSERT_EQ(paper.size(), 2u);
    EXPECT_EQ(paper[0].handle(), AcDbHandle(0x40));
    EXPECT_EQ(paper[1].handle(), AcDbHandle(0x41));
    std::string out;
    ASSERT_EQ(db.dxfOut(out), Acad::eOk);
    std::string dim = RecordWith(out, "\n  5\n41\n");
    EXPECT_GT(out.find(dim), out.find("ENTITIES"));
    EXPECT_TRUE(dim.find("AcDbEntity\n 67\n1\n") != std::string::npos || dim.find("\n 67\n1\n  8\n") != std::string::npos)
        << dim;
    AcDbDatabase back(false);
    RoundTrip(db, back, "placements.dxf");
    EXPECT_EQ(Entities(back, ACDB_PAPER_SPACE).size(), 2u);
    EXPECT_EQ(Entities(back).size(), 1u);
  }
}
}  // namespace
