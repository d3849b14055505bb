// Loading line types from a .lin file:
//   *NAME,description
//   A,dash,dash,[element],dash...
// Positive dashes are pen-down, negative gaps, 0 dots; an element in
// brackets is a text ["TEXT",STYLE,S=..,R=..,X=..,Y=..] or a shape
// [NAME,FILE.shx,...] drawn at the end of the dash before it.
#include <cwctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dbdatabase.h"
#include "dbsymtb.h"
#include "paths.h"
#include "textconv.h"
#include "textutil.h"

namespace {
struct LinDef {
  std::wstring name, description;
  std::vector<std::wstring> fields;  // the A line after "A,", split at top-level commas
};

using win::textutil::Upper;

using win::textutil::Trimmed;

std::vector<std::wstring> SplitTopLevel(const std::wstring& s) {
  std::vector<std::wstring> out;
  std::wstring cur;
  int depth = 0;
  bool quoted = false;
  for (wchar_t c : s) {
    if (c == L'"') quoted = !quoted;
    if (!quoted && c == L'[') ++depth;
    if (!quoted && c == L']') --depth;
    if (c == L',' && depth == 0 && !quoted) {
      out.push_back(Trimmed(cur));
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!Trimmed(cur).empty()) out.push_back(Trimmed(cur));
  return out;
}

bool ParseNumber(const std::wstring& s, double& v) {
  try {
    size_t used = 0;
    v = std::stod(s, &used);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

bool ReadLinFile(const ACHAR* fileName, std::vector<LinDef>& defs) {
  std::ifstream in(win::ToPosixPath(std::wstring_view(fileName)), std::ios::binary);
  if (!in) return false;
  std::stringstream buf;
  buf << in.rdbuf();
  std::string bytes = buf.str();
  std::wstring text = win::Utf8ToWide(bytes);
  std::wistringstream lines(text);
  std::wstring line;
  while (std::getline(lines, line)) {
    size_t semi = line.find(L';');
    if (semi != std::wstring::npos && (semi == 0 || line[0] != L'*')) line = line.substr(0, semi);
    line = Trimmed(line);
    if (line.empty()) continue;
    if (line[0] == L'*') {
      LinDef d;
      size_t comma = line.find(L',');
      d.name = Trimmed(line.substr(1, comma == std::wstring::npos ? std::wstring::npos : comma - 1));
      if (comma != std::wstring::npos) d.description = Trimmed(line.substr(comma + 1));
      defs.push_back(d);
    } else if (!defs.empty() && (line[0] == L'A' || line[0] == L'a') && defs.back().fields.empty()) {
      size_t comma = line.find(L',');
      if (comma != std::wstring::npos) defs.back().fields = SplitTopLevel(line.substr(comma + 1));
    }
  }
  return true;
}

// Fills the record; false when a field is not a number or element.
bool Build(const LinDef& def, AcDbLinetypeTableRecord* rec) {
  std::vector<double> dashes;
  std::vector<AcDbLinetypeTableRecord::Element> elements;
  for (const std::wstring& f : def.fields) {
    if (!f.empty() && f[0] == L'[') {
      if (dashes.empty() || f.back() != L']') return false;
      std::vector<std::wstring> parts = SplitTopLevel(f.substr(1, f.size() - 2));
      if (parts.size() < 2) return false;
      AcDbLinetypeTableRecord::Element e;
      if (parts[0].size() >= 2 && parts[0].front() == L'"') {
        e.kind = 2;
        e.text = parts[0].substr(1, parts[0].size() - 2);
        e.styleName = parts[1];
      } else {
        e.kind = 4;
        e.text = parts[0];  // shape name (resolved by the shape file)
        e.styleName = parts[1];
      }
      for (size_t i = 2; i < parts.size(); ++i) {
        std::wstring p = Upper(parts[i]);
        if (p.size() < 3 || p[1] != L'=') continue;
        double v = 0;
        if (!ParseNumber(p.substr(2), v)) continue;
        switch (p[0]) {
          case L'S': e.scale = v; break;
          case L'R': case L'A': e.rotation = v * 3.14159265358979323846 / 180.0; break;
          case L'X': e.xOffset = v; break;
          case L'Y': e.yOffset = v; break;
          default: break;
        }
      }
      elements.resize(dashes.size());
      elements.back() = e;
      continue;
    }
    double v;
    if (!ParseNumber(f, v)) return false;
    dashes.push_back(v);
  }
  elements.resize(dashes.size());
  rec->setComments(def.description.c_str());
  rec->setNumDashes(static_cast<int>(dashes.size()));
  double total = 0;
  for (size_t i = 0; i < dashes.size(); ++i) {
    rec->setDashLengthAt(static_cast<int>(i), dashes[i]);
    rec->setElementAt(static_cast<int>(i), elements[i]);
    total += dashes[i] < 0 ? -dashes[i] : dashes[i];
  }
  rec->setPatternLength(total);
  return true;
}
}  // namespace

Acad::ErrorStatus AcDbDatabase::loadLineTypeFile(const ACHAR* ltypeName, const ACHAR* fileName) {
  if (!ltypeName || !*ltypeName || !fileName || !*fileName) return Acad::eInvalidInput;
  std::vector<LinDef> defs;
  if (!ReadLinFile(fileName, defs)) return Acad::eFileNotFound;
  AcDbLinetypeTable* table = nullptr;
  Acad::ErrorStatus es = getLinetypeTable(table, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  bool all = std::wstring(ltypeName) == L"*";
  std::wstring wanted = Upper(ltypeName);
  bool found = false;
  for (const LinDef& def : defs) {
    if (!all && Upper(def.name) != wanted) continue;
    found = true;
    if (table->has(def.name.c_str())) {
      if (all) continue;
      table->close();
      return Acad::eDuplicateRecordName;
    }
    auto* rec = new AcDbLinetypeTableRecord();
    if (rec->setName(def.name.c_str()) != Acad::eOk || !Build(def, rec) || table->add(rec) != Acad::eOk) {
      delete rec;
      table->close();
      return Acad::eBadLinetypeName;
    }
    rec->close();
    if (!all) break;
  }
  table->close();
  return found ? Acad::eOk : Acad::eUndefinedLineType;
}
