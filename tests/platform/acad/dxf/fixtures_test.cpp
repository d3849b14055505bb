// Real drawings written by other programs: each reads, and survives a save
// and a second read with the same entities.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dbproxy.h"
#include "dxftestutil.h"
#include "textconv.h"

using namespace dxftest;

namespace {

// Full paths of the drawings: this project's fixtures, the corpus files
// whose licence lets them be copied here, and (for a developer with more)
// the folder named by ACAD_EXTRA_DXF_DIR.
std::vector<std::string> FixtureFiles() {
  std::vector<std::string> dirs = {ACAD_FIXTURE_DIR, ACAD_CORPUS_DIR};
  if (const char* extra = std::getenv("ACAD_EXTRA_DXF_DIR")) dirs.push_back(extra);
  std::vector<std::string> files;
  for (const std::string& dir : dirs) {
    std::vector<std::string> here;
    if (DIR* d = ::opendir(dir.c_str())) {
      while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower.size() > 4 && lower.substr(lower.size() - 4) == ".dxf") here.push_back(dir + "/" + name);
      }
      ::closedir(d);
    }
    std::sort(here.begin(), here.end());
    files.insert(files.end(), here.begin(), here.end());
  }
  return files;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Per block: the entities as (handle, class name or original DXF name).
std::map<std::wstring, std::vector<std::pair<Adesk::UInt64, std::wstring>>> Snapshot(AcDbDatabase& db) {
  std::map<std::wstring, std::vector<std::pair<Adesk::UInt64, std::wstring>>> out;
  AcDbBlockTable* bt = nullptr;
  if (db.getBlockTable(bt, AcDb::kForRead) != Acad::eOk) return out;
  AcDbSymbolTableIterator* it = nullptr;
  bt->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbBlockTableRecord* rec = nullptr;
    if (it->getRecord(rec, AcDb::kForRead) != Acad::eOk) continue;
    auto& list = out[rec->name()];
    AcDbBlockTableRecordIterator* eit = nullptr;
    rec->newIterator(eit);
    for (; !eit->done(); eit->step()) {
      AcDbEntity* ent = nullptr;
      if (eit->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
      list.emplace_back(ent->objectId().handle().value(), ent->dxfName());
      ent->close();
    }
    delete eit;
    rec->close();
  }
  delete it;
  bt->close();
  return out;
}

TEST(AcadFixtures, EveryFileReadsAndSurvivesSaveAndRead) {
  const std::vector<std::string> files = FixtureFiles();
  ASSERT_GE(files.size(), 34u) << "fixture drawings went missing";
  for (const std::string& path : files) {
    std::string name = BaseName(path);
    SCOPED_TRACE(name);
    std::wstring wpath(path.begin(), path.end());
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(wpath.c_str(), _SH_DENYNO), Acad::eOk);
    auto before = Snapshot(db);
    size_t count = 0;
    for (const auto& [block, list] : before) count += list.size();
    // Three of the files hold only a header, only tables or only objects.
    if (name != "header.dxf" && name != "tables.dxf" && name != "ezdxf-small_r14.dxf") {
      EXPECT_GT(count, 0u);
    }
    AcDbDatabase back(false);
    TempFile f("fixture_" + std::to_string(count) + "_" + name);
    ASSERT_EQ(db.saveAs(f.wpath().c_str()), Acad::eOk);
    ASSERT_EQ(back.readDwgFile(f.wpath().c_str()), Acad::eOk);
    back.closeInput(true);
    auto after = Snapshot(back);
    EXPECT_EQ(after, before);
    // What we write needs no repair when read again.
    EXPECT_TRUE(back.readNotes().empty()) << win::WideToUtf8(back.readNotes().front());
    // A second round gives the same file text: nothing drifts.
    std::string first, second;
    back.dxfOut(first);
    AcDbDatabase third(false);
    ASSERT_EQ(third.dxfIn(first), Acad::eOk);
    third.dxfOut(second);
    EXPECT_EQ(first.size(), second.size());
    EXPECT_TRUE(first == second);
  }
}

// An independent reader finds in every drawing we write the entities of the
// drawing we read: as it finds them in the original file, and as our
// database holds them.
TEST(AcadFixtures, IndependentReaderSeesTheSameDrawings) {
  std::vector<std::string> originals = FixtureFiles();
  std::vector<std::unique_ptr<TempFile>> written;
  std::vector<Placement> ours;
  std::vector<std::string> all = originals;
  for (const std::string& path : originals) {
    std::wstring wpath(path.begin(), path.end());
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(wpath.c_str(), _SH_DENYNO), Acad::eOk) << path;
    written.push_back(std::make_unique<TempFile>("independent_" + std::to_string(written.size()) + "_" + BaseName(path)));
    ASSERT_EQ(db.saveAs(written.back()->wpath().c_str()), Acad::eOk);
    ours.push_back(PlacementOf(db, {}));
    all.push_back(written.back()->path());
  }
  std::map<std::string, Placement> seen;
  std::set<std::string> known;
  ASSERT_TRUE(ReadIndependently(all, seen, known));
  size_t compared = 0;
  for (size_t i = 0; i < originals.size(); ++i) {
    SCOPED_TRACE(BaseName(originals[i]));
    const Placement& original = seen[originals[i]];
    const Placement& mine = seen[written[i]->path()];
    ExpectAgrees(OnlyTypes(ours[i], known), mine);
    // Files the reader cannot take as they are (it has no room for some
    // entities other programs write) are compared with our database only.
    if (original.ok && mine.ok) {
      ExpectSameAsOriginal(original, mine);
      ++compared;
    }
  }
  EXPECT_GE(compared, originals.size() * 3 / 4);
}

TEST(AcadFixtures, KnownContents) {
  std::string dir = ACAD_FIXTURE_DIR;
  AcDbDatabase db(false);
  std::wstring arc(dir.begin(), dir.end());
  arc += L"/arc1.dxf";
  ASSERT_EQ(db.readDwgFile(arc.c_str()), Acad::eOk);
  auto snap = Snapshot(db);
  ASSERT_EQ(snap[L"*Model_Space"].size(), 1u);
  EXPECT_EQ(snap[L"*Model_Space"][0].second, L"ARC");
  EXPECT_EQ(snap[L"*Model_Space"][0].first, 0xB484u);
}
}  // namespace
