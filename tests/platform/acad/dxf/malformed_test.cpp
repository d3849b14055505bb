// Broken and hostile files end with an error status, never a crash or a hang.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dbcurves.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

const char* kGood =
    "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n1\n 20\n2\n 30\n0\n 11\n3\n 21\n4\n 31\n0\n"
    "  0\nCIRCLE\n  8\n0\n 10\n0\n 20\n0\n 30\n0\n 40\n5\n  0\nENDSEC\n  0\nEOF\n";

TEST(AcadMalformedDxf, TheGoodFileReads) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(kGood), Acad::eOk);
  EXPECT_EQ(Entities(db).size(), 2u);
}

TEST(AcadMalformedDxf, TruncatedAnywhereIsAnErrorOrACompletePrefix) {
  std::string good = kGood;
  for (size_t n = 0; n < good.size(); ++n) {
    AcDbDatabase db(false);
    Acad::ErrorStatus es = db.dxfIn(std::string_view(good).substr(0, n));
    // Only a cut after a whole section can be complete; anything inside a section is an error.
    std::string prefix = good.substr(0, n);
    if (es == Acad::eOk) {
      bool atEnd = prefix.ends_with("ENDSEC\n") || prefix.ends_with("ENDSEC") || prefix.ends_with("EOF");
      EXPECT_TRUE(atEnd) << n;
    } else {
      EXPECT_EQ(es, Acad::eBadDxfFile) << n;
      // The database is usable afterwards: a default drawing.
      AcDbBlockTable* bt = nullptr;
      ASSERT_EQ(db.getBlockTable(bt, AcDb::kForRead), Acad::eOk);
      bt->close();
    }
  }
}

TEST(AcadMalformedDxf, BadCodesAndStructure) {
  const char* cases[] = {
      "  0\nSECTION\n  2\nENTITIES\nxyz\nLINE\n  0\nENDSEC\n",            // a code that is not a number
      "  0\nSECTION\n  2\nENTITIES\n99999\nLINE\n  0\nENDSEC\n",          // a code out of range
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n1 0\nX\n  0\nENDSEC\n",   // a space inside a code
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 1-\nX\n  0\nENDSEC\n",   // a sign after the digits
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n",                 // no end of section
      "  0\nSECTION\n  2\nENTITIES\n  0\nPOLYLINE\n  8\n0\n  0\nLINE\n  0\nENDSEC\n",  // sequence without SEQEND
      "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n 70\n0\n  0\nENDBLK\n  0\nENDSEC\n",     // block without a name
      "  0\nSECTION\n  2\nTABLES\n  0\nLAYER\n  0\nENDSEC\n",             // a record outside a table
      "  8\nSECTION\n",                                                   // no 0 group first
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n",          // header without its end
      "AutoCAD Binary DXF\r\n\x1a\0 binary content here",                 // binary DXF
  };
  for (const char* text : cases) {
    AcDbDatabase db(false);
    EXPECT_EQ(db.dxfIn(std::string_view(text, std::strlen(text) + (text[0] == 'A' ? 24 : 0))), Acad::eBadDxfFile)
        << text;
  }
}

TEST(AcadMalformedDxf, BadValuesAreToleratedWithoutGarbage) {
  // Numbers that are not numbers read as 0; an ellipse that cannot exist is kept as read.
  const char* text =
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nLINE\n  8\n0\n 10\nnot-a-number\n 20\n1e999999\n 11\n1\n 21\n1\n"
      "  0\nELLIPSE\n  8\n0\n 10\n0\n 20\n0\n 11\n0\n 21\n0\n 40\n7\n"
      "  0\nLWPOLYLINE\n  8\n0\n 90\n999999999999\n 10\n1\n 20\n1\n"
      "  0\nENDSEC\n  0\nEOF\n";
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 3u);
  AcDbLine* line = Open<AcDbLine>(ids[0]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->startPoint().x, 0.0);
  line->close();
  AcDbObject* kept = Open<AcDbObject>(ids[1]);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(AcDbEllipse::cast(kept), nullptr);
  kept->close();
}

TEST(AcadMalformedDxf, HandlesUsedTwiceStayUnique) {
  const char* text =
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nLINE\n  5\n2A\n  8\n0\n"
      "  0\nLINE\n  5\n2A\n  8\n0\n"
      "  0\nENDSEC\n  0\nEOF\n";
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_NE(ids[0].handle(), ids[1].handle());
}
}  // namespace
