// Runs the independent reader and compares what it finds.
#include "independent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "dbdatabase.h"
#include "dbentity.h"
#include "dbsymtb.h"
#include "textconv.h"

namespace dxftest {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    f.push_back(line.substr(start, tab - start));
  f.push_back(line.substr(start));
  return f;
}

std::string Describe(const TypeCounts& counts) {
  std::string s;
  for (const auto& [type, n] : counts) s += type + " " + std::to_string(n) + ", ";
  return s.empty() ? "nothing" : s.substr(0, s.size() - 2);
}
}  // namespace

bool ReadIndependently(const std::vector<std::string>& files, std::map<std::string, Placement>& seen,
                       std::set<std::string>& known) {
  std::string command = "node " + Quoted(ACAD_INDEPENDENT_READER) + " " + Quoted(ACAD_NODE_MODULES);
  for (const std::string& f : files) command += " " + Quoted(f);
  command += " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run node";
    return false;
  }
  std::string text;
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) text.append(buf, n);
  int status = ::pclose(pipe);
  Placement* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::vector<std::string> f = Fields(text.substr(start, end - start));
    start = end + 1;
    if (f[0] == "KNOWN" && f.size() == 2) {
      known.insert(f[1]);
    } else if (f[0] == "FILE" && f.size() == 2) {
      current = &seen[f[1]];
    } else if (current && f[0] == "OK") {
      current->ok = true;
    } else if (current && f[0] == "ERROR") {
      current->error = f.size() > 1 ? f[1] : "";
    } else if (current && f[0] == "E" && f.size() == 3) {
      ++(f[1] == "PAPER" ? current->paper : current->model)[f[2]];
    } else if (current && f[0] == "B" && f.size() == 3) {
      ++current->blocks[f[1]][f[2]];
    }
  }
  if (status != 0 || known.empty()) {
    ADD_FAILURE() << "the independent DXF reader (node and the npm package dxf-parser in " << ACAD_NODE_MODULES
                  << ", installed by scripts/install-deps.sh) could not be run:\n"
                  << text.substr(0, 2000);
    return false;
  }
  return true;
}

Placement PlacementOf(AcDbDatabase& db, const std::set<std::string>& types) {
  Placement p;
  p.ok = true;
  AcDbBlockTable* bt = nullptr;
  if (db.getBlockTable(bt, AcDb::kForRead) != Acad::eOk) return p;
  AcDbSymbolTableIterator* it = nullptr;
  bt->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbBlockTableRecord* rec = nullptr;
    if (it->getRecord(rec, AcDb::kForRead) != Acad::eOk) continue;
    std::string name = win::WideToUtf8(rec->name());
    TypeCounts* counts = Upper(name) == "*MODEL_SPACE"   ? &p.model
                         : Upper(name) == "*PAPER_SPACE" ? &p.paper
                                                         : nullptr;
    AcDbBlockTableRecordIterator* eit = nullptr;
    rec->newIterator(eit);
    for (; !eit->done(); eit->step()) {
      AcDbEntity* ent = nullptr;
      if (eit->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
      std::string type = win::WideToUtf8(ent->dxfName());
      ent->close();
      if (!types.empty() && !types.count(type)) continue;
      ++(counts ? *counts : p.blocks[name])[type];
    }
    delete eit;
    rec->close();
  }
  delete it;
  bt->close();
  return p;
}

Placement OnlyTypes(const Placement& p, const std::set<std::string>& types) {
  Placement out;
  out.ok = p.ok;
  out.error = p.error;
  auto keep = [&](const TypeCounts& in, TypeCounts& to) {
    for (const auto& [type, n] : in)
      if (types.count(type)) to[type] = n;
  };
  keep(p.model, out.model);
  keep(p.paper, out.paper);
  for (const auto& [name, counts] : p.blocks) {
    TypeCounts kept;
    keep(counts, kept);
    if (!kept.empty()) out.blocks[name] = kept;
  }
  return out;
}

void ExpectIndependentReaderAgrees(AcDbDatabase& db, const std::string& writtenFile) {
  std::map<std::string, Placement> seen;
  std::set<std::string> known;
  if (!ReadIndependently({writtenFile}, seen, known)) return;
  ExpectAgrees(PlacementOf(db, known), seen[writtenFile]);
}

void ExpectAgrees(const Placement& ours, const Placement& theirs) {
  ASSERT_TRUE(theirs.ok) << "the independent reader gave up: " << theirs.error;
  EXPECT_EQ(theirs.model, ours.model) << "model space: they see " << Describe(theirs.model) << "; we have "
                                      << Describe(ours.model);
  EXPECT_EQ(theirs.paper, ours.paper) << "active layout: they see " << Describe(theirs.paper) << "; we have "
                                      << Describe(ours.paper);
  // Every block with entities, by name; an entity the reader finds in the
  // block of model space or of the active layout is misplaced.
  for (const auto& [name, counts] : ours.blocks) {
    auto found = theirs.blocks.find(name);
    EXPECT_TRUE(found != theirs.blocks.end() && found->second == counts)
        << "block " << name << ": we have " << Describe(counts) << "; they see "
        << (found == theirs.blocks.end() ? std::string("no such block") : Describe(found->second));
  }
  for (const auto& [name, counts] : theirs.blocks)
    EXPECT_TRUE(ours.blocks.count(name)) << "they see " << Describe(counts) << " in block " << name;
}

void ExpectSameAsOriginal(const Placement& original, const Placement& written) {
  // Where the original kept model space and the active layout does not matter.
  auto spaces = [](const Placement& p, TypeCounts& model, TypeCounts& paper, std::vector<TypeCounts>& blocks) {
    model = p.model;
    paper = p.paper;
    for (const auto& [name, counts] : p.blocks) {
      std::string upper = Upper(name);
      TypeCounts* into = upper == "*MODEL_SPACE" ? &model : upper == "*PAPER_SPACE" ? &paper : nullptr;
      if (into) {
        for (const auto& [type, n] : counts) (*into)[type] += n;
      } else if (!counts.empty()) {
        blocks.push_back(counts);
      }
    }
    std::sort(blocks.begin(), blocks.end());
  };
  TypeCounts m1, p1, m2, p2;
  std::vector<TypeCounts> b1, b2;
  spaces(original, m1, p1, b1);
  spaces(written, m2, p2, b2);
  EXPECT_EQ(m1, m2) << "model space: original " << Describe(m1) << "; written " << Describe(m2);
  EXPECT_EQ(p1, p2) << "active layout: original " << Describe(p1) << "; written " << Describe(p2);
  EXPECT_EQ(b1, b2) << "the blocks' contents differ";
}

}  // namespace dxftest
