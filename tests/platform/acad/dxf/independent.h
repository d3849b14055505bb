// What an independent DXF reader (dxf-parser, run with node) finds in files
// we wrote, and the checks that compare it with our own database or with
// what it finds in the file we read.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class AcDbDatabase;

namespace dxftest {

using TypeCounts = std::map<std::string, int>;

// The entities of one drawing by place and type.
struct Placement {
  bool ok = false;
  std::string error;
  TypeCounts model;                           // ENTITIES without 67 = 1
  TypeCounts paper;                           // ENTITIES with 67 = 1: the active layout
  std::map<std::string, TypeCounts> blocks;   // every block's own entities, by block name
};

// Reads the files with the independent reader; false (with a test failure
// saying why) when the reader cannot be run. known receives the entity types
// the reader understands.
bool ReadIndependently(const std::vector<std::string>& files, std::map<std::string, Placement>& seen,
                       std::set<std::string>& known);

// Our database's entities placed as the format says they are written, with
// only the types given (all when empty).
Placement PlacementOf(AcDbDatabase& db, const std::set<std::string>& types);

// The placement with only the types given.
Placement OnlyTypes(const Placement& p, const std::set<std::string>& types);

// The independent reader finds in the file we wrote exactly the entities of
// the database, by type and place (blocks by name).
void ExpectIndependentReaderAgrees(AcDbDatabase& db, const std::string& writtenFile);
// The same for a placement of ours (only types the reader knows) and what
// the reader found in the file written from it.
void ExpectAgrees(const Placement& ours, const Placement& theirs);

// The independent reader finds the same entities by type in the file we read
// and in the file we wrote: model space and the active layout wherever the
// original kept them, and the same blocks (compared by their contents, as
// their names may be in another code page in the original).
void ExpectSameAsOriginal(const Placement& original, const Placement& written);

}  // namespace dxftest
