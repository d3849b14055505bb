// How the entities kept as read from a file draw themselves, from the pairs
// they were read with: dimensions through their anonymous blocks, block
// references with attributes (their block and the attribute texts), 2D
// solids and traces, 3D faces, leaders, splines, multileaders (leader lines
// and text), hatches with edge loops or pattern lines, and attribute
// definitions standing in a layout. Other kinds draw nothing.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "dbdatabase.h"
#include "dbdrawutil.h"
#include "dbproxy.h"
#include "dbsymtb.h"
#include "dbtext.h"
#include "dxffiler.h"
#include "textconv.h"

namespace {

using Pairs = std::vector<std::pair<int, std::string>>;

double Real(const std::string& v) {
  double d = 0.0;
  return acdbParseDouble(v, d) && std::isfinite(d) ? d : 0.0;
}

long long Int(const std::string& v) {
  long long n = 0;
  return acdbParseInt(v, n) ? n : 0;
}

// The record's own pairs end where its first follower (a 0 group) begins.
size_t OwnEnd(const Pairs& pairs) {
  for (size_t i = 0; i < pairs.size(); ++i)
    if (pairs[i].first == 0) return i;
  return pairs.size();
}

// The first value of a group among the record's own pairs.
const std::string* Find(const Pairs& pairs, int code, size_t begin = 0, size_t end = std::string::npos) {
  end = std::min(end, pairs.size());
  for (size_t i = begin; i < end; ++i)
    if (pairs[i].first == code) return &pairs[i].second;
  return nullptr;
}

double RealOr(const Pairs& pairs, int code, double fallback, size_t begin = 0, size_t end = std::string::npos) {
  const std::string* v = Find(pairs, code, begin, end);
  return v ? Real(*v) : fallback;
}

// The point whose x has the code (y and z follow with code + 10, + 20).
AcGePoint3d PointAt(const Pairs& pairs, size_t i) {
  AcGePoint3d p(Real(pairs[i].second), 0.0, 0.0);
  int code = pairs[i].first;
  for (size_t j = i + 1; j < pairs.size() && j <= i + 2; ++j) {
    if (pairs[j].first == code + 10) p.y = Real(pairs[j].second);
    else if (pairs[j].first == code + 20) p.z = Real(pairs[j].second);
    else break;
  }
  return p;
}

bool PointOf(const Pairs& pairs, int code, AcGePoint3d& p, size_t begin = 0, size_t end = std::string::npos) {
  end = std::min(end, pairs.size());
  for (size_t i = begin; i < end; ++i)
    if (pairs[i].first == code) {
      p = PointAt(pairs, i);
      return true;
    }
  return false;
}

AcGeVector3d NormalOf(const Pairs& pairs, size_t end) {
  AcGePoint3d n;
  if (!PointOf(pairs, 210, n, 0, end)) return AcGeVector3d::kZAxis;
  AcGeVector3d v = n.asVector();
  return v.isZeroLength() ? AcGeVector3d::kZAxis : v.normal();
}

AcDbObjectId BlockNamed(AcDbDatabase* db, const std::wstring& name) {
  AcDbObjectId id;
  AcDbBlockTable* table = nullptr;
  if (!db || name.empty() || acdbOpenObject(table, db->blockTableId(), AcDb::kForRead) != Acad::eOk) return id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

AcDbObjectId LayerNamed(AcDbDatabase* db, const std::wstring& name) {
  AcDbObjectId id;
  AcDbLayerTable* table = nullptr;
  if (!db || name.empty() || acdbOpenObject(table, db->layerTableId(), AcDb::kForRead) != Acad::eOk) return id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

// A text of a record drawn nested, with the record's own layer and colour.
class NestedText : public AcGiDrawable {
 public:
  NestedText(AcDbText& text, AcDbObjectId layer) : m_text(text), m_layer(layer) {}
  Adesk::UInt32 setAttributes(AcGiDrawableTraits* traits) override {
    traits->setTrueColor(m_text.color());
    traits->setLayer(m_layer);
    return kDrawableIsAnEntity;
  }
  Adesk::Boolean worldDraw(AcGiWorldDraw* draw) override { return m_text.worldDraw(draw); }
  void viewportDraw(AcGiViewportDraw*) override {}
  Adesk::Boolean isPersistent() const override { return false; }
  AcDbObjectId id() const override { return AcDbObjectId(); }
  void setGsNode(AcGsNode*) override {}
  AcGsNode* gsNode() const override { return nullptr; }

 private:
  AcDbText& m_text;
  AcDbObjectId m_layer;
};

// Draws the pairs [begin, end) of an ATTRIB or ATTDEF record as its text.
void DrawAttributeText(AcGiWorldDraw* draw, AcDbDatabase* db, const Pairs& pairs, size_t begin, size_t end) {
  AcDbDxfRecord record(db, nullptr);  // raw pairs are kept in UTF-8
  long long vertical = 0;
  for (size_t i = begin; i < end; ++i) {
    int code = pairs[i].first;
    // A multiline attribute's embedded text follows; the single line is enough.
    if (code == 101) break;
    if (code == 74) vertical = Int(pairs[i].second);
    // 73 is the field length of an attribute, not the vertical alignment.
    if (code == 73 || code == 74) continue;
    record.pairs.push_back(AcDbDxfPair{code, pairs[i].second});
  }
  AcDbText text;
  if (text.dxfInFields(record) != Acad::eOk) return;
  if (vertical >= 0 && vertical <= 3) text.setVerticalMode(static_cast<AcDbTextVertMode>(vertical));
  NestedText nested(text, LayerNamed(db, text.layerName()));
  draw->geometry().draw(&nested);
}

void DrawDimension(AcGiWorldDraw* draw, AcDbDatabase* db, const Pairs& pairs, size_t end) {
  const std::string* name = Find(pairs, 2, 0, end);
  if (!name) return;
  AcDbObjectId block = BlockNamed(db, win::Utf8ToWide(*name));
  if (!block.isNull()) acdbdraw::DrawBlockContents(draw, block, AcGeMatrix3d::kIdentity);
}

void DrawInsert(AcGiWorldDraw* draw, AcDbDatabase* db, const Pairs& pairs, size_t end) {
  const std::string* name = Find(pairs, 2, 0, end);
  AcDbObjectId block = name ? BlockNamed(db, win::Utf8ToWide(*name)) : AcDbObjectId();
  if (!block.isNull()) {
    AcGePoint3d pos, origin;
    PointOf(pairs, 10, pos, 0, end);
    AcGeVector3d normal = NormalOf(pairs, end);
    AcDbBlockTableRecord* rec = nullptr;
    if (acdbOpenObject(rec, block, AcDb::kForRead) == Acad::eOk) {
      origin = rec->origin();
      rec->close();
    }
    AcGeMatrix3d scale;
    scale.entry[0][0] = RealOr(pairs, 41, 1.0, 0, end);
    scale.entry[1][1] = RealOr(pairs, 42, 1.0, 0, end);
    scale.entry[2][2] = RealOr(pairs, 43, 1.0, 0, end);
    double rotation = RealOr(pairs, 50, 0.0, 0, end) * M_PI / 180.0;
    // An array insertion repeats the block in columns and rows.
    long long columns = std::clamp<long long>(Int(Find(pairs, 70, 0, end) ? *Find(pairs, 70, 0, end) : "1"), 1, 100);
    long long rows = std::clamp<long long>(Int(Find(pairs, 71, 0, end) ? *Find(pairs, 71, 0, end) : "1"), 1, 100);
    double dx = RealOr(pairs, 44, 0.0, 0, end), dy = RealOr(pairs, 45, 0.0, 0, end);
    AcGeMatrix3d place = AcGeMatrix3d::planeToWorld(normal) * AcGeMatrix3d::translation(pos.asVector()) *
                         AcGeMatrix3d::rotation(rotation, AcGeVector3d::kZAxis);
    for (long long r = 0; r < rows; ++r)
      for (long long c = 0; c < columns; ++c)
        acdbdraw::DrawBlockContents(
            draw, block,
            place * AcGeMatrix3d::translation(AcGeVector3d(dx * c, dy * r, 0)) * scale *
                AcGeMatrix3d::translation(-origin.asVector()));
  }
  // The attributes follow the record, each up to the next 0 group.
  for (size_t i = end; i < pairs.size(); ++i) {
    if (pairs[i].first != 0 || pairs[i].second != "ATTRIB") continue;
    size_t j = i + 1;
    while (j < pairs.size() && pairs[j].first != 0) ++j;
    const std::string* flags = Find(pairs, 70, i + 1, j);
    if (!(flags && (Int(*flags) & 1))) DrawAttributeText(draw, db, pairs, i + 1, j);
    i = j - 1;
  }
}

void DrawSolid(AcGiWorldDraw* draw, const Pairs& pairs, size_t end, bool filled) {
  AcGePoint3d p[4];
  if (!PointOf(pairs, 10, p[0], 0, end) || !PointOf(pairs, 11, p[1], 0, end) || !PointOf(pairs, 12, p[2], 0, end))
    return;
  if (!PointOf(pairs, 13, p[3], 0, end)) p[3] = p[2];
  if (filled) {
    // A 2D solid is in the plane of its normal and fills 1-2-4-3.
    draw->geometry().pushModelTransform(NormalOf(pairs, end));
    AcGePoint3d quad[4] = {p[0], p[1], p[3], p[2]};
    AcGiFillType fill = draw->subEntityTraits().fillType();
    draw->subEntityTraits().setFillType(kAcGiFillAlways);
    draw->geometry().polygon(4, quad);
    draw->subEntityTraits().setFillType(fill);
    draw->geometry().popModelTransform();
    return;
  }
  // A 3D face: its visible edges (flag bits 1, 2, 4, 8 hide edges 1 to 4).
  const std::string* f = Find(pairs, 70, 0, end);
  long long hidden = f ? Int(*f) : 0;
  for (int e = 0; e < 4; ++e) {
    if (hidden & (1 << e)) continue;
    AcGePoint3d edge[2] = {p[e], p[(e + 1) % 4]};
    draw->geometry().polyline(2, edge);
  }
}

void DrawLeader(AcGiWorldDraw* draw, const Pairs& pairs, size_t end) {
  std::vector<AcGePoint3d> points;
  for (size_t i = 0; i < end; ++i)
    if (pairs[i].first == 10) points.push_back(PointAt(pairs, i));
  if (!points.empty()) draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
}

void DrawSpline(AcGiWorldDraw* draw, const Pairs& pairs, size_t end) {
  int degree = static_cast<int>(Int(Find(pairs, 71, 0, end) ? *Find(pairs, 71, 0, end) : "3"));
  std::vector<double> knots, weights;
  std::vector<AcGePoint3d> ctrl, fit;
  for (size_t i = 0; i < end; ++i) {
    switch (pairs[i].first) {
      case 40: knots.push_back(Real(pairs[i].second)); break;
      case 41: weights.push_back(Real(pairs[i].second)); break;
      case 10: ctrl.push_back(PointAt(pairs, i)); break;
      case 11: fit.push_back(PointAt(pairs, i)); break;
      default: break;
    }
  }
  std::vector<AcGePoint3d> pts = acdbdraw::SplinePoints(degree, knots, ctrl, weights, fit);
  if (!pts.empty()) draw->geometry().polyline(static_cast<Adesk::UInt32>(pts.size()), pts.data());
}

// A multileader: every leader line (its vertices, then the leader's landing
// point and dog-leg) and its text.
void DrawMultileader(AcGiWorldDraw* draw, const Pairs& pairs, size_t end) {
  std::vector<AcGePoint3d> line;
  AcGePoint3d landing;
  AcGeVector3d dogleg;
  double doglegLength = 0.0;
  bool inLeader = false, inLine = false;
  for (size_t i = 0; i < end; ++i) {
    int code = pairs[i].first;
    const std::string& v = pairs[i].second;
    if (code == 302 && v == "LEADER{") {
      inLeader = true;
    } else if (code == 304 && v == "LEADER_LINE{") {
      inLine = true;
      line.clear();
    } else if (code == 305 && v == "}") {
      if (inLine && !line.empty()) {
        line.push_back(landing);
        draw->geometry().polyline(static_cast<Adesk::UInt32>(line.size()), line.data());
      }
      inLine = false;
    } else if (code == 303 && v == "}") {
      if (inLeader && doglegLength > 0.0) {
        AcGePoint3d leg[2] = {landing, landing + dogleg * doglegLength};
        draw->geometry().polyline(2, leg);
      }
      inLeader = false;
    } else if (inLine && code == 10) {
      line.push_back(PointAt(pairs, i));
    } else if (inLeader && !inLine && code == 10) {
      landing = PointAt(pairs, i);
    } else if (inLeader && !inLine && code == 11) {
      dogleg = PointAt(pairs, i).asVector();
    } else if (inLeader && !inLine && code == 40) {
      doglegLength = Real(v);
    }
  }
  // The text: contents 304 at 12, height 41, direction 13, width 43.
  const std::string* contents = nullptr;
  for (size_t i = 0; i < end; ++i)
    if (pairs[i].first == 304 && pairs[i].second != "LEADER_LINE{") {
      contents = &pairs[i].second;
      break;
    }
  AcGePoint3d at;
  if (!contents || !PointOf(pairs, 12, at, 0, end)) return;
  AcDbMText text;
  text.setContents(win::Utf8ToWide(*contents).c_str());
  text.setLocation(at);
  double height = RealOr(pairs, 41, 0.0, 0, end);
  if (height > 0.0) text.setTextHeight(height);
  AcGePoint3d direction;
  if (PointOf(pairs, 13, direction, 0, end) && !direction.asVector().isZeroLength())
    text.setDirection(direction.asVector());
  text.setWidth(RealOr(pairs, 43, 0.0, 0, end));
  text.worldDraw(draw);
}

}  // namespace

Adesk::Boolean AcDbProxyEntity::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  const Pairs& pairs = m_raw.pairs;
  size_t end = OwnEnd(pairs);
  const std::string& type = m_raw.type;
  AcDbDatabase* db = database();
  if (type == "DIMENSION" || type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION") {
    DrawDimension(draw, db, pairs, end);
  } else if (type == "INSERT") {
    DrawInsert(draw, db, pairs, end);
  } else if (type == "SOLID" || type == "TRACE") {
    DrawSolid(draw, pairs, end, true);
  } else if (type == "3DFACE") {
    DrawSolid(draw, pairs, end, false);
  } else if (type == "LEADER") {
    DrawLeader(draw, pairs, end);
  } else if (type == "SPLINE") {
    DrawSpline(draw, pairs, end);
  } else if (type == "MULTILEADER" || type == "MLEADER") {
    DrawMultileader(draw, pairs, end);
  } else if (type == "HATCH") {
    acdbdraw::HatchArea hatch;
    if (acdbdraw::HatchFromPairs(draw, pairs, end, hatch)) acdbdraw::DrawHatch(draw, hatch);
  } else if (type == "ATTDEF") {
    // An attribute definition shows its tag only where it stands in a
    // layout; in a block it is what references fill in.
    AcDbBlockTableRecord* owner = nullptr;
    bool inLayout = false;
    if (acdbOpenObject(owner, ownerId(), AcDb::kForRead) == Acad::eOk) {
      inLayout = owner->isLayout();
      owner->close();
    }
    if (inLayout) {
      Pairs tag(pairs.begin(), pairs.begin() + static_cast<std::ptrdiff_t>(end));
      // The tag (2) shows in place of the default value (1).
      for (auto& [code, value] : tag)
        if (code == 1) code = 999;
      for (auto& [code, value] : tag)
        if (code == 2) code = 1;
      DrawAttributeText(draw, db, tag, 0, tag.size());
    }
  }
  return true;
}
