// AcDbRegion: a flat area bounded by one closed loop made from curves, with its
// area and its DXF.
#include "dbregion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "db2dpline.h"
#include "db3dpline.h"
#include "dbcurves.h"
#include "dbgeutil.h"

using namespace acdbgeo;

ACRX_DEFINE_MEMBERS(AcDbRegion, AcDbEntity, L"REGION")

namespace {
// One boundary piece in the plane: from a to b, an arc when the bulge is not 0.
struct Piece {
  AcGePoint2d a, b;
  double bulge = 0.0;
  bool used = false;
};

// The first line of the modeler text; what follows it describes the loop.
constexpr const char* kModelerHead = "21200 0 1 0";
constexpr const char* kPlaneTag = "loop-plane";
constexpr const char* kVertexTag = "loop-vertex";

std::unique_ptr<AcDbPolyline> MakeLoop(const AcGeVector3d& normal, double elevation) {
  auto loop = std::make_unique<AcDbPolyline>();
  loop->setNormal(normal);
  loop->setElevation(elevation);
  loop->setClosed(true);
  return loop;
}

// Splits text at spaces.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    size_t j = i;
    while (j < line.size() && line[j] != ' ') ++j;
    if (j > i) out.push_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}
}  // namespace

AcDbRegion::AcDbRegion(const AcDbRegion& o) : AcDbEntity(o) {
  if (o.m_loop) m_loop.reset(static_cast<AcDbPolyline*>(o.m_loop->clone()));
}

Acad::ErrorStatus AcDbRegion::createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions) {
  if (curveSegments.isEmpty()) return Acad::eInvalidInput;
  // The plane: the normal of the first curve that has one.
  AcGeVector3d normal = AcGeVector3d::kZAxis;
  for (int i = 0; i < curveSegments.length(); ++i) {
    auto* e = static_cast<const AcRxObject*>(curveSegments[i]);
    if (auto* a = AcDbArc::cast(e)) { normal = a->normal(); break; }
    if (auto* c = AcDbCircle::cast(e)) { normal = c->normal(); break; }
    if (auto* p = AcDbPolyline::cast(e)) { normal = p->normal(); break; }
    if (auto* p = AcDb2dPolyline::cast(e)) { normal = p->normal(); break; }
  }
  AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(normal);
  bool haveElevation = false;
  double elevation = 0.0, scale = 1.0;
  bool planar = true;
  auto plane = [&](const AcGePoint3d& w) {
    AcGePoint3d q = toPlane * w;
    if (!haveElevation) {
      elevation = q.z;
      haveElevation = true;
    } else if (std::fabs(q.z - elevation) > 1e-8 * scale) {
      planar = false;
    }
    scale = std::max({scale, std::fabs(q.x), std::fabs(q.y)});
    return AcGePoint2d(q.x, q.y);
  };

  std::vector<Piece> pieces;
  std::vector<AcDbEntity*> exploded;  // parts of polylines, freed below
  auto addCurve = [&](const AcRxObject* obj, auto& self) -> bool {
    if (auto* l = AcDbLine::cast(obj)) {
      pieces.push_back({plane(l->startPoint()), plane(l->endPoint()), 0.0, false});
      return true;
    }
    if (auto* a = AcDbArc::cast(obj)) {
      if (!a->normal().isParallelTo(normal)) return planar = false;
      AcGePoint3d s, e;
      a->getStartPoint(s);
      a->getEndPoint(e);
      double bulge = std::tan(a->sweep() / 4.0);
      if (a->normal().dotProduct(normal) < 0) bulge = -bulge;
      pieces.push_back({plane(s), plane(e), bulge, false});
      return true;
    }
    if (auto* c = AcDbCircle::cast(obj)) {
      if (!c->normal().isParallelTo(normal) || c->radius() <= 0) return planar = false;
      AcGePoint3d s, m;
      c->getPointAtParam(0.0, s);
      c->getPointAtParam(kPi, m);
      pieces.push_back({plane(s), plane(m), 1.0, false});
      pieces.push_back({plane(m), plane(s), 1.0, false});
      if (c->normal().dotProduct(normal) < 0) pieces[pieces.size() - 1].bulge = pieces[pieces.size() - 2].bulge = -1.0;
      return true;
    }
    if (AcDbPolyline::cast(obj) || AcDb2dPolyline::cast(obj) || AcDb3dPolyline::cast(obj)) {
      AcDbVoidPtrArray parts;
      static_cast<const AcDbEntity*>(obj)->explode(parts);
      bool ok = true;
      for (int i = 0; i < parts.length(); ++i) {
        auto* part = static_cast<AcDbEntity*>(parts[i]);
        exploded.push_back(part);
        ok = self(part, self) && ok;
      }
      return ok;
    }
    return false;
  };
  bool known = true;
  for (int i = 0; i < curveSegments.length() && known; ++i) {
    auto* obj = static_cast<const AcRxObject*>(curveSegments[i]);
    known = obj && addCurve(obj, addCurve);
  }
  for (AcDbEntity* e : exploded) delete e;
  if (!known) return planar ? Acad::eInvalidInput : Acad::eNotApplicable;
  if (!planar) return Acad::eNotApplicable;

  // Chains the pieces into closed loops.
  double tol = 1e-8 * scale;
  std::vector<AcDbRegion*> made;
  for (size_t first = 0; first < pieces.size(); ++first) {
    if (pieces[first].used) continue;
    pieces[first].used = true;
    std::vector<Piece> loop{pieces[first]};
    while (!(loop.back().b.distanceTo(loop.front().a) <= tol)) {
      bool found = false;
      for (Piece& p : pieces) {
        if (p.used) continue;
        if (p.a.distanceTo(loop.back().b) <= tol) {
          loop.push_back(p);
        } else if (p.b.distanceTo(loop.back().b) <= tol) {
          loop.push_back({p.b, p.a, -p.bulge, true});  // walked backwards
        } else {
          continue;
        }
        p.used = found = true;
        break;
      }
      if (!found) {
        for (AcDbRegion* r : made) delete r;
        return Acad::eNotClosedPath;
      }
    }
    auto* region = new AcDbRegion();
    region->m_loop = MakeLoop(normal, elevation);
    for (const Piece& p : loop)
      if (p.a.distanceTo(p.b) > tol) region->m_loop->addVertexAt(region->m_loop->numVerts(), p.a, p.bulge);
    if (auto* src = AcDbEntity::cast(static_cast<const AcRxObject*>(curveSegments[0])))
      region->setPropertiesFrom(*src);
    made.push_back(region);
  }
  for (AcDbRegion* r : made) regions.append(r);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getArea(double& area) const {
  area = 0.0;
  return m_loop ? m_loop->getArea(area) : Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getPerimeter(double& perimeter) const {
  perimeter = m_loop ? m_loop->length() : 0.0;
  return Acad::eOk;
}

AcGeVector3d AcDbRegion::normal() const { return m_loop ? m_loop->normal() : AcGeVector3d::kZAxis; }

AcDbPolyline* AcDbRegion::boundary() const {
  return m_loop ? static_cast<AcDbPolyline*>(m_loop->clone()) : nullptr;
}

Acad::ErrorStatus AcDbRegion::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  return m_loop ? m_loop->getGeomExtents(extents) : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return m_loop ? m_loop->transformBy(xform) : Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::explode(AcDbVoidPtrArray& entities) const {
  if (!m_loop) return Acad::eOk;
  std::unique_ptr<AcDbPolyline> loop(static_cast<AcDbPolyline*>(m_loop->clone()));
  loop->setPropertiesFrom(*this);
  return loop->explode(entities);
}

void AcDbRegion::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbModelerGeometry");
  filer.writeInt(70, 1);
  filer.writeUtf8(1, kModelerHead);
  filer.writeUtf8(1, "0 0 0");
  char line[200];
  AcGeVector3d n = normal();
  std::snprintf(line, sizeof line, "%s %.17g %.17g %.17g %.17g #", kPlaneTag, n.x, n.y, n.z,
                m_loop ? m_loop->elevation() : 0.0);
  filer.writeUtf8(1, line);
  for (unsigned int i = 0, count = m_loop ? m_loop->numVerts() : 0; i < count; ++i) {
    AcGePoint2d p;
    double bulge = 0.0;
    m_loop->getPointAt(i, p);
    m_loop->getBulgeAt(i, bulge);
    std::snprintf(line, sizeof line, "%s %.17g %.17g %.17g #", kVertexTag, p.x, p.y, bulge);
    filer.writeUtf8(1, line);
  }
  filer.writeUtf8(1, "End-of-ACIS-data");
}

Acad::ErrorStatus AcDbRegion::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  m_loop.reset();
  bool ours = false;
  for (const AcDbDxfPair& p : record.pairs) {
    if (p.code != 1) continue;
    std::vector<std::string_view> w = Words(p.value);
    if (p.value == kModelerHead) ours = true;
    if (!ours || w.empty()) continue;
    std::vector<double> v;
    for (size_t i = 1; i < w.size() && w[i] != "#"; ++i) {
      double d;
      if (!acdbParseDouble(w[i], d) || !std::isfinite(d)) return Acad::eBadDxfFile;
      v.push_back(d);
    }
    if (w[0] == kPlaneTag && v.size() == 4) {
      AcGeVector3d n(v[0], v[1], v[2]);
      if (n.isZeroLength()) return Acad::eBadDxfFile;
      m_loop = MakeLoop(n.normal(), v[3]);
    } else if (w[0] == kVertexTag && v.size() == 3) {
      if (!m_loop) return Acad::eBadDxfFile;
      m_loop->addVertexAt(m_loop->numVerts(), AcGePoint2d(v[0], v[1]), v[2]);
    }
  }
  // Modeler data of other programs: the region is kept as read.
  return ours && m_loop ? Acad::eOk : Acad::eWrongObjectType;
}
