// Damaged and minimal files that other programs open: what can be saved is
// read, each kind of repair is noted once, and the result saves as a sound
// file. Files that cannot be understood leave nothing of themselves.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dbcurves.h"
#include "dxftestutil.h"
#include "textconv.h"

using namespace dxftest;

namespace {

std::string Join(const std::vector<std::wstring>& lines) {
  std::string s;
  for (const std::wstring& l : lines) s += win::WideToUtf8(l) + "|";
  return s;
}

const char* kTables =
    "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n2\n"
    "  0\nLAYER\n  5\n10\n  2\nWALLS\n 70\n0\n 62\n1\n  0\nLAYER\n  5\n11\n  2\nWALLS\n 70\n0\n 62\n2\n"
    "  0\nLAYER\n  5\n12\n 70\n0\n  0\nENDTAB\n  0\nENDSEC\n";

TEST(AcadDxfRecovery, EachKindOfRepairIsNotedOnce) {
  struct Case {
    const char* what;
    std::string text;
    size_t entities;
    const char* notes;
  } cases[] = {
      {"two handles used twice, and a third object on a handle given to one of them",
       "  0\nSECTION\n  2\nENTITIES\n"
       "  0\nLINE\n  5\n2A\n  8\n0\n 11\n1\n  0\nLINE\n  5\n2A\n  8\n0\n 11\n2\n"
       "  0\nCIRCLE\n  5\n2B\n  8\n0\n 40\n1\n  0\nCIRCLE\n  5\n2B\n  8\n0\n 40\n2\n"
       "  0\nARC\n  5\n2C\n  8\n0\n 40\n1\n  0\nENDSEC\n  0\nEOF\n",
       5, "2 duplicate handles renumbered|no TABLES section: defaults used|"},
      {"a stray empty section before EOF, and one in the middle",
       std::string(kTables) +
           "  0\nSECTION\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\nWALLS\n  0\nENDSEC\n"
           "  0\nSECTION\n  0\nEOF\n",
       1, "2 empty sections ignored|2 table records without a name or with a name used twice left out|"},
      {"no TABLES section and no EOF", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\nWALLS\n  0\nENDSEC\n", 1,
       "no TABLES section: defaults used|"},
      {"a sound file", std::string(kTables).replace(std::string(kTables).find("2\nWALLS\n 70\n0\n 62\n2"), 7, "2\nDOORS") +
                           "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n",
       0, "1 table record without a name or with a name used twice left out|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AcDbDatabase db(false);
    ASSERT_EQ(db.dxfIn(c.text), Acad::eOk);
    EXPECT_EQ(Join(db.readNotes()), c.notes);
    std::vector<AcDbObjectId> ids = Entities(db);
    ASSERT_EQ(ids.size(), c.entities);
    // Every object has a handle of its own; handles the file gave once are kept.
    std::set<Adesk::UInt64> handles;
    for (const AcDbObjectId& id : ids) handles.insert(id.handle().value());
    EXPECT_EQ(handles.size(), ids.size());
    // Saved and read again: the same entities, and nothing left to repair.
    AcDbDatabase back(false);
    RoundTrip(db, back, "recovered.dxf");
    EXPECT_EQ(Entities(back).size(), c.entities);
    EXPECT_TRUE(back.readNotes().empty()) << Join(back.readNotes());
  }
}

TEST(AcadDxfRecovery, DuplicateHandlesKeepTheHandlesOfOthers) {
  // The second 2A must not take 2B from the circle that follows it.
  const char* text =
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nLINE\n  5\n2A\n  8\n0\n  0\nLINE\n  5\n2A\n  8\n0\n  0\nCIRCLE\n  5\n2B\n  8\n0\n 40\n1\n"
      "  0\nENDSEC\n  0\nEOF\n";
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids[0].handle(), AcDbHandle(0x2A));
  EXPECT_EQ(ids[2].handle(), AcDbHandle(0x2B));
  EXPECT_GT(ids[1].handle().value(), 0x2Bu);
  EXPECT_EQ(ids[2].objectClass(), AcDbCircle::desc());
  // New objects get handles past all of them.
  AcDbObjectId fresh = Append(db, new AcDbLine());
  EXPECT_GT(fresh.handle().value(), ids[1].handle().value());
}

TEST(AcadDxfRecovery, FilesThatCannotBeUnderstoodLeaveNothing) {
  // A database that held a drawing reads a broken file: the error, and a
  // default drawing with no trace of either file.
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n2A\n  8\n0\n  0\nENDSEC\n  0\nEOF\n"), Acad::eOk);
  AcDbObjectId before = Entities(db).at(0);
  const char* broken =
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n77\n  8\nHALF\n  0\nSECTION\n  0\nENDSEC\n"
      "  0\nPOLYLINE\n  8\n0\n  0\nLINE\n  0\nENDSEC\n  0\nEOF\n";
  EXPECT_EQ(db.dxfIn(broken), Acad::eBadDxfFile);
  EXPECT_TRUE(Entities(db).empty());
  EXPECT_TRUE(db.readNotes().empty());
  AcDbObjectId id;
  EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x77)), Acad::eUnknownHandle);
  AcDbObject* gone = nullptr;
  EXPECT_EQ(acdbOpenObject(gone, before, AcDb::kForRead), Acad::ePermanentlyErased);
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_FALSE(layers->has(L"HALF"));
  EXPECT_TRUE(layers->has(L"0"));
  layers->close();
  // A section cut short after its start is still an error, not an empty section.
  EXPECT_EQ(db.dxfIn("  0\nSECTION\n"), Acad::eBadDxfFile);
  EXPECT_EQ(db.dxfIn("  0\nSECTION\n  0\nLINE\n  0\nENDSEC\n"), Acad::eBadDxfFile);
}
}  // namespace
