// Selection sets: acedSSGet from the script's picks, windows, crossings, ALL and
// L with the caller's filters, and reading and freeing sets.
#include "acedsel.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "acedpointer.h"
#include "acdocman.h"
#include "acedcmdline.h"
#include "acedview.h"
#include "acutprint.h"
#include "dbcurve.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbextents.h"
#include "dbhostapp.h"
#include "dbobject.h"
#include "dbpline.h"
#include "dbspaceids.h"
#include "dbsymtb.h"
#include "edprompt.h"
#include "script.h"
#include "textconv.h"
#include "textutil.h"
#include "transcript.h"

namespace {

struct Pt {
  double x, y;
};
struct Rect {
  double x0, y0, x1, y1;
  bool contains(Pt p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

// An entity's outline in the plane: a chain of points per piece. Curves are
// followed closely (arcs in short chords); anything else is its extents box.
std::vector<std::vector<Pt>> Outline(const AcDbEntity* entity) {
  std::vector<std::vector<Pt>> pieces;
  auto sample = [&](const AcDbCurve* curve, double from, double to, int steps, std::vector<Pt>& out) {
    for (int k = 0; k <= steps; ++k) {
      AcGePoint3d p;
      if (curve->getPointAtParam(from + (to - from) * k / steps, p) == Acad::eOk) out.push_back({p.x, p.y});
    }
  };
  if (const AcDbPolyline* pline = AcDbPolyline::cast(entity)) {
    std::vector<Pt> chain;
    unsigned n = pline->numVerts();
    unsigned segments = pline->isClosed() ? n : (n ? n - 1 : 0);
    if (n == 1) {
      AcGePoint3d p;
      pline->getPointAt(0, p);
      chain.push_back({p.x, p.y});
    }
    for (unsigned i = 0; i < segments; ++i) {
      std::vector<Pt> seg;
      sample(pline, i, i + 1, pline->segType(i) == AcDbPolyline::kArc ? 32 : 1, seg);
      if (!chain.empty() && !seg.empty()) seg.erase(seg.begin());
      chain.insert(chain.end(), seg.begin(), seg.end());
    }
    pieces.push_back(std::move(chain));
    return pieces;
  }
  if (const AcDbCurve* curve = AcDbCurve::cast(entity)) {
    double s = 0, e = 0;
    if (curve->getStartParam(s) == Acad::eOk && curve->getEndParam(e) == Acad::eOk) {
      bool straight = curve->dxfName() == L"LINE";
      std::vector<Pt> chain;
      sample(curve, s, e, straight ? 1 : 96, chain);
      if (!chain.empty()) {
        pieces.push_back(std::move(chain));
        return pieces;
      }
    }
  }
  AcDbExtents ext;
  if (entity->getGeomExtents(ext) == Acad::eOk) {
    AcGePoint3d a = ext.minPoint(), b = ext.maxPoint();
    pieces.push_back({{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}, {a.x, a.y}});
  }
  return pieces;
}

double DistanceToSegment(Pt p, Pt a, Pt b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double Cross(Pt o, Pt a, Pt b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool SegmentsTouch(Pt a, Pt b, Pt c, Pt d) {
  double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  auto on = [](Pt p, Pt q, Pt r) {  // r on segment pq, given collinear
    return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
           r.y <= std::max(p.y, q.y);
  };
  return (d1 == 0 && on(c, d, a)) || (d2 == 0 && on(c, d, b)) || (d3 == 0 && on(a, b, c)) ||
         (d4 == 0 && on(a, b, d));
}

bool InsideWindow(const std::vector<std::vector<Pt>>& outline, const Rect& r) {
  if (outline.empty()) return false;
  for (const auto& chain : outline)
    for (Pt p : chain)
      if (!r.contains(p)) return false;
  return true;
}

bool Crosses(const std::vector<std::vector<Pt>>& outline, const Rect& r) {
  Pt c[4] = {{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}};
  for (const auto& chain : outline) {
    for (size_t i = 0; i < chain.size(); ++i) {
      if (r.contains(chain[i])) return true;
      if (i == 0) continue;
      for (int k = 0; k < 4; ++k)
        if (SegmentsTouch(chain[i - 1], chain[i], c[k], c[(k + 1) % 4])) return true;
    }
  }
  return false;
}

bool Near(const std::vector<std::vector<Pt>>& outline, Pt p, double tolerance) {
  for (const auto& chain : outline) {
    if (chain.size() == 1 && std::hypot(chain[0].x - p.x, chain[0].y - p.y) <= tolerance) return true;
    for (size_t i = 1; i < chain.size(); ++i)
      if (DistanceToSegment(p, chain[i - 1], chain[i]) <= tolerance) return true;
  }
  return false;
}

// ---- filters -------------------------------------------------------------------

struct Filter {
  std::vector<std::wstring> types, layers;  // each an alternative pattern
  bool matches(const AcDbEntity* e) const {
    auto any = [](const std::vector<std::wstring>& patterns, const std::wstring& text) {
      if (patterns.empty()) return true;
      for (const auto& p : patterns)
        if (acad::WildcardMatch(text.c_str(), p.c_str())) return true;
      return false;
    };
    return any(types, e->dxfName()) && any(layers, e->layerName());
  }
};

// False for a filter the host cannot apply.
bool ReadFilter(const resbuf* rb, Filter& filter) {
  for (; rb; rb = rb->rbnext) {
    // Group 0 travels as RTDXF0 in lists built with acutBuildList (0 ends those).
    bool type = rb->restype == 0 || rb->restype == RTDXF0;
    if ((!type && rb->restype != 8) || !rb->resval.rstring) return false;
    (type ? filter.types : filter.layers).push_back(rb->resval.rstring);
  }
  return true;
}

// ---- the drawing's entities -------------------------------------------------------

struct Candidate {
  AcDbObjectId id;
  std::vector<std::vector<Pt>> outline;
};

std::vector<Candidate> Candidates(const Filter& filter) {
  std::vector<Candidate> out;
  for (AcDbObjectId id : acdbModelSpaceIds(acdbHostApplicationServices()->workingDatabase())) {
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
    if (filter.matches(e)) out.push_back({id, Outline(e)});
    e->close();
  }
  return out;
}

// ---- selection sets -----------------------------------------------------------------

struct Sets {
  std::map<Adesk::Int64, std::vector<AcDbObjectId>> sets;
  Adesk::Int64 next = 1;
};

Sets& TheSets() {
  static Sets sets;
  return sets;
}

std::vector<AcDbObjectId>* Find(const ads_name ss) {
  if (!ss || ss[1] != -1) return nullptr;
  auto it = TheSets().sets.find(ss[0]);
  return it == TheSets().sets.end() ? nullptr : &it->second;
}

int MakeSet(std::vector<AcDbObjectId> ids, ads_name ss) {
  if (ids.empty()) return RTERROR;
  Adesk::Int64 key = TheSets().next++;
  TheSets().sets[key] = std::move(ids);
  ss[0] = key;
  ss[1] = -1;  // marks a set name, never an entity's
  return RTNORM;
}

void Add(std::vector<AcDbObjectId>& set, AcDbObjectId id, int& added) {
  if (std::find(set.begin(), set.end(), id) != set.end()) return;
  set.push_back(id);
  ++added;
}

// A point of the current user coordinate system in the world plane.
bool ToWorld(const double* ucs, Pt& p) {
  resbuf from{}, to{};
  from.restype = to.restype = RTSHORT;
  from.resval.rint = 1;
  to.resval.rint = 0;
  ads_point in = {ucs[0], ucs[1], ucs[2]}, out;
  if (acedTrans(in, &from, &to, 0, out) != RTNORM) return false;
  p = {out[0], out[1]};
  return true;
}

Rect MakeRect(Pt a, Pt b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)}; }

void SelectArea(bool crossing, Pt a, Pt b, const Filter& filter, std::vector<AcDbObjectId>& set, int& added) {
  Rect r = MakeRect(a, b);
  for (const Candidate& c : Candidates(filter))
    if (crossing ? Crosses(c.outline, r) : InsideWindow(c.outline, r)) Add(set, c.id, added);
}

void SelectLast(const Filter& filter, std::vector<AcDbObjectId>& set, int& added) {
  std::vector<AcDbObjectId> all = acdbModelSpaceIds(acdbHostApplicationServices()->workingDatabase());
  if (all.empty()) return;
  AcDbEntity* e = nullptr;
  if (acdbOpenObject(e, all.back(), AcDb::kForRead) != Acad::eOk) return;
  bool ok = filter.matches(e);
  e->close();
  if (ok) Add(set, all.back(), added);
}

using win::textutil::Trim;

// Two points after a W or C: "x1,y1 x2,y2".
bool ParseCorners(const std::wstring& text, Pt& a, Pt& b) {
  std::wstring rest(Trim(text));
  size_t blank = rest.find_first_of(L" \t");
  if (blank == std::wstring::npos) return false;
  ads_point base = {0, 0, 0}, p1, p2;
  acad::GetLastPoint(base);
  std::wstring first = rest.substr(0, blank), second(Trim(std::wstring_view(rest).substr(blank)));
  if (!acad::ParsePoint(first.c_str(), base, p1) || !acad::ParsePoint(second.c_str(), p1, p2)) return false;
  return ToWorld(p1, a) && ToWorld(p2, b);
}

// prompt replaces "Select objects: " when given; single ends the selection
// after the first line that found something.
int Interactive(const Filter& filter, ads_name ss, const ACHAR* prompt = nullptr, bool single = false) {
  acad::PointerRequestScope pointer(acad::PointerWants::kSelection);
  std::vector<AcDbObjectId> set;
  for (;;) {
    user::WriteText(prompt ? win::WideToUtf8(prompt) : std::string("Select objects: "));
    std::optional<std::string> line = acad::NextCommandLineInput();
    if (!line || *line == "^C") {
      user::Write("*Cancel*\n");
      return RTCAN;
    }
    user::Write(*line + "\n");
    std::wstring text(Trim(win::Utf8ToWide(*line)));
    if (text.empty()) break;
    std::wstring upper = win::textutil::Upper(text);
    int added = 0;
    Pt a{}, b{};
    if (upper == L"ALL") {
      for (const Candidate& c : Candidates(filter)) Add(set, c.id, added);
    } else if (upper == L"L") {
      SelectLast(filter, set, added);
    } else if ((upper[0] == L'W' || upper[0] == L'C') && text.size() > 1 && std::iswspace(text[1])) {
      if (!ParseCorners(text.substr(1), a, b)) {
        acutPrintf(L"\nInvalid window: two corners are needed.\n");
        continue;
      }
      SelectArea(upper[0] == L'C', a, b, filter, set, added);
    } else {
      ads_point base = {0, 0, 0}, p;
      acad::GetLastPoint(base);
      if (!acad::ParsePoint(text.c_str(), base, p) || !ToWorld(p, a)) {
        acutPrintf(L"\nInvalid selection\n");
        continue;
      }
      double tolerance = 3 * acad::PixelSize();
      std::vector<Candidate> all = Candidates(filter);
      for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (Near(it->outline, a, tolerance)) {
          Add(set, it->id, added);
          break;
        }
      }
    }
    acutPrintf(L"%d found\n", added);
    if (single && added > 0) break;
  }
  return MakeSet(std::move(set), ss);
}

}  // namespace

namespace acad {

bool WildcardMatch(const wchar_t* text, const wchar_t* pattern) {
  // Each comma-separated alternative is matched on its own.
  std::wstring all(pattern ? pattern : L"");
  size_t start = 0;
  for (;;) {
    size_t comma = all.find(L',', start);
    std::wstring alt = all.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
    const wchar_t* t = text;
    const wchar_t* p = alt.c_str();
    const wchar_t* star = nullptr;
    const wchar_t* mark = nullptr;
    bool ok = true;
    while (*t) {
      if (*p == L'*') {
        star = p++;
        mark = t;
      } else if (*p && (*p == L'?' || win::textutil::FoldChar(*p) == win::textutil::FoldChar(*t))) {
        ++p;
        ++t;
      } else if (star) {
        p = star + 1;
        t = ++mark;
      } else {
        ok = false;
        break;
      }
    }
    if (ok) {
      while (*p == L'*') ++p;
      if (!*p) return true;
    }
    if (comma == std::wstring::npos) return false;
    start = comma + 1;
  }
}

int OpenSelectionSetCount() { return static_cast<int>(TheSets().sets.size()); }

}  // namespace acad

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss) {
  if (!ss) return RTERROR;
  Filter f;
  if (!ReadFilter(filter, f)) return RTERROR;
  std::wstring mode = str ? str : L"";
  while (!mode.empty() && (mode[0] == L'_' || mode[0] == L'+' || mode[0] == L'-')) mode.erase(0, 1);
  mode = win::textutil::Upper(mode);
  if (!str) return Interactive(f, ss);
  // Options written as ":$" (pt1 is an array of two prompts: selecting and
  // removing) and ":S" (one pick); with nothing after them the user selects.
  bool options = false, single = false;
  const ACHAR* prompt = nullptr;
  while (mode.size() >= 2 && mode[0] == L':') {
    wchar_t option = mode[1];
    mode.erase(0, 2);
    options = true;
    if (option == L'$' && pt1) {
      prompt = static_cast<const ACHAR* const*>(pt1)[0];
    } else if (option == L'S') {
      single = true;
    } else if (option != L'$') {
      return RTERROR;
    }
  }
  if (options && mode.empty()) return Interactive(f, ss, prompt, single);

  std::vector<AcDbObjectId> set;
  int added = 0;
  if (mode == L"X" || mode == L"A") {
    for (const Candidate& c : Candidates(f)) Add(set, c.id, added);
  } else if (mode == L"L") {
    SelectLast(f, set, added);
  } else if (mode == L"C" || mode == L"W") {
    Pt a{}, b{};
    if (!pt1 || !pt2 || !ToWorld(static_cast<const double*>(pt1), a) || !ToWorld(static_cast<const double*>(pt2), b))
      return RTERROR;
    SelectArea(mode == L"C", a, b, f, set, added);
  } else {
    return RTERROR;
  }
  return MakeSet(std::move(set), ss);
}

int acedSSLength(const ads_name ss, Adesk::Int32* len) {
  std::vector<AcDbObjectId>* set = Find(ss);
  if (!set || !len) return RTERROR;
  *len = static_cast<Adesk::Int32>(set->size());
  return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres) {
  std::vector<AcDbObjectId>* set = Find(ss);
  if (!set || !entres || i < 0 || static_cast<size_t>(i) >= set->size()) return RTERROR;
  acdbGetAdsName(entres, (*set)[i]);
  return RTNORM;
}

int acedSSFree(const ads_name ss) {
  if (!Find(ss)) return RTERROR;
  TheSets().sets.erase(ss[0]);
  return RTNORM;
}
