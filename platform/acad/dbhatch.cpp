// AcDbHatch: loops from boundary objects or vertices, their outline, and DXF.
#include "dbhatch.h"

#include <cmath>
#include <cwctype>
#include <vector>

#include "dbcurves.h"
#include "dbgeutil.h"
#include "dbpline.h"
#include "dbstub.h"

using namespace acdbgeo;

ACRX_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, L"HATCH")

const AcDbHatch::Settings& AcDbHatch::usualSettings() {
  static const Settings usual;
  return usual;
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& n) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (n.isZeroLength()) return Acad::eInvalidInput;
  AcGeVector3d unit = n.normal();
  // Compared exactly: the usual plane is the z axis itself.
  if (m_settings.get() || unit.x != 0.0 || unit.y != 0.0 || unit.z != 1.0) m_settings.make().normal = unit;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setElevation(double e) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_dElevation = e;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setAssociative(bool on) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_bAssociative = on;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const ACHAR* name) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!name || !*name) return Acad::eInvalidInput;
  set(&Settings::patternType, type);
  set(&Settings::pattern, std::wstring(name));
  return Acad::eOk;
}

bool AcDbHatch::isSolidFill() const {
  // Asked at every drawing: letters compared without the locale's case tables.
  static const wchar_t kSolid[] = L"SOLID";
  const std::wstring& name = settings().pattern;
  if (name.size() != 5) return false;
  for (size_t i = 0; i < 5; ++i) {
    wchar_t c = name[i];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c != kSolid[i]) return false;
  }
  return true;
}

Acad::ErrorStatus AcDbHatch::setPatternScale(double s) {
  if (!(s > 0.0)) return Acad::eInvalidInput;
  set(&Settings::patternScale, s);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcDbObjectIdArray& boundaryIds) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (boundaryIds.isEmpty()) return Acad::eInvalidInput;
  Loop loop;
  loop.type = loopType & ~kPolyline;
  for (const AcDbObjectId& id : boundaryIds) {
    if (id.isNull()) return Acad::eNullObjectId;
    loop.ids.push_back(id);
  }
  m_loops.push_back(std::move(loop));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (vertices.length() < 2 || (!bulges.isEmpty() && bulges.length() != vertices.length())) return Acad::eInvalidInput;
  Loop loop;
  loop.type = loopType | kPolyline;
  loop.vertices.assign(vertices.begin(), vertices.end());
  loop.bulges.assign(vertices.length(), 0.0);
  for (int i = 0; i < bulges.length(); ++i) loop.bulges[static_cast<size_t>(i)] = bulges[i];
  loop.evaluated = true;
  m_loops.push_back(std::move(loop));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int index) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index < 0 || index >= numLoops()) return Acad::eInvalidIndex;
  m_loops.erase(m_loops.begin() + index);
  return Acad::eOk;
}

Adesk::Int32 AcDbHatch::loopTypeAt(int index) const {
  return index >= 0 && index < numLoops() ? m_loops[static_cast<size_t>(index)].type : kDefault;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int index, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                                       AcGeDoubleArray& bulges) const {
  if (index < 0 || index >= numLoops()) return Acad::eInvalidIndex;
  const Loop& loop = m_loops[static_cast<size_t>(index)];
  if (!loop.evaluated) return Acad::eNotApplicable;
  loopType = loop.type;
  vertices.removeAll();
  bulges.removeAll();
  for (const AcGePoint2d& p : loop.vertices) vertices.append(p);
  for (double b : loop.bulges) bulges.append(b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getAssocObjIdsAt(int index, AcDbObjectIdArray& ids) const {
  if (index < 0 || index >= numLoops()) return Acad::eInvalidIndex;
  ids.removeAll();
  for (const AcDbObjectId& id : m_loops[static_cast<size_t>(index)].ids) ids.append(id);
  return Acad::eOk;
}

AcGePoint2d AcDbHatch::toPlane(const AcGePoint3d& p) const {
  // The plane of the z axis, which nearly every hatch lies in, is the xy
  // plane itself.
  if (!m_settings.get()) return {p.x, p.y};
  AcGePoint3d q = AcGeMatrix3d::worldToPlane(normal()) * p;
  return {q.x, q.y};
}

AcGePoint3d AcDbHatch::toWorld(const AcGePoint2d& p) const {
  if (!m_settings.get()) return {p.x, p.y, m_dElevation};
  return AcGeMatrix3d::planeToWorld(normal()) * AcGePoint3d(p.x, p.y, m_dElevation);
}

bool AcDbHatch::outlineOf(AcDbObjectId id, Loop& loop) const {
  AcDbStub* s = id.stub();
  AcDbObject* obj = s ? s->m_pObject : nullptr;
  if (!obj || obj->isErased()) return false;
  loop.vertices.clear();
  loop.bulges.clear();
  const AcGeVector3d& n = settings().normal;
  if (auto* c = AcDbCircle::cast(obj)) {
    // A circle in the hatch's own plane (nearly always) needs no test.
    AcGeVector3d cn = c->normal();
    bool same = cn.x == n.x && cn.y == n.y && cn.z == n.z;
    if (!same && !cn.isParallelTo(n)) return false;
    double sense = same || cn.dotProduct(n) > 0 ? 1.0 : -1.0;
    AcGePoint2d centre = toPlane(c->center());
    loop.vertices = {AcGePoint2d(centre.x + c->radius(), centre.y), AcGePoint2d(centre.x - c->radius(), centre.y)};
    loop.bulges = {sense, sense};
    return true;
  }
  if (auto* p = AcDbPolyline::cast(obj)) {
    if (p->numVerts() < 2 || !p->normal().isParallelTo(n)) return false;
    AcGePoint3d first, last;
    p->getPointAt(0, first);
    p->getPointAt(p->numVerts() - 1, last);
    bool closed = p->isClosed() || first.isEqualTo(last);
    if (!closed) return false;
    double sense = p->normal().dotProduct(n) > 0 ? 1.0 : -1.0;
    unsigned int n = p->numVerts();
    if (!p->isClosed()) --n;  // the repeated end point
    for (unsigned int i = 0; i < n; ++i) {
      AcGePoint3d w;
      double b;
      p->getPointAt(i, w);
      p->getBulgeAt(i, b);
      loop.vertices.push_back(toPlane(w));
      loop.bulges.push_back(b * sense);
    }
    return true;
  }
  if (auto* e = AcDbEllipse::cast(obj)) {
    if (!e->isClosed()) return false;
    // Straight pieces fine enough for filling.
    const int kPieces = 72;
    for (int i = 0; i < kPieces; ++i) {
      AcGePoint3d w;
      e->getPointAtParam(kTwoPi * i / kPieces, w);
      loop.vertices.push_back(toPlane(w));
      loop.bulges.push_back(0.0);
    }
    return true;
  }
  return false;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (Loop& loop : m_loops) {
    if (loop.ids.empty()) continue;
    // A loop of one closed boundary object.
    if (loop.ids.size() != 1 || !outlineOf(loop.ids[0], loop)) return Acad::eInvalidInput;
    loop.evaluated = true;
  }
  return Acad::eOk;
}

bool AcDbHatch::isEvaluated() const {
  for (const Loop& loop : m_loops)
    if (!loop.evaluated) return false;
  return !m_loops.empty();
}

namespace {
// Signed area of a closed outline with bulges.
template <class Points, class Bulges>
double LoopArea(const Points& v, const Bulges& b) {
  double sum = 0.0;
  size_t n = v.size();
  for (size_t i = 0; i < n; ++i) {
    const AcGePoint2d& p = v[i];
    const AcGePoint2d& q = v[(i + 1) % n];
    sum += p.x * q.y - q.x * p.y;
    double bulge = i < b.size() ? b[i] : 0.0;
    if (std::fabs(bulge) > 1e-10) {
      double chord = p.distanceTo(q);
      double sweep = 4.0 * std::atan(bulge);
      double r = chord / (2.0 * std::fabs(std::sin(sweep / 2.0)));
      sum += r * r * (sweep - std::sin(sweep));
    }
  }
  return sum / 2.0;
}
}  // namespace

Acad::ErrorStatus AcDbHatch::getArea(double& area) const {
  area = 0.0;
  if (!isEvaluated()) return Acad::eNotApplicable;
  // The first (outer) loop counts, the loops after it are holes.
  for (size_t i = 0; i < m_loops.size(); ++i) {
    double a = std::fabs(LoopArea(m_loops[i].vertices, m_loops[i].bulges));
    area += i == 0 || (m_loops[i].type & kExternal) ? a : -a;
  }
  if (area < 0) area = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  AcDbPolyline outline;
  for (const Loop& loop : m_loops) {
    if (!loop.evaluated) continue;
    outline.reset(false, 0);
    for (size_t i = 0; i < loop.vertices.size(); ++i)
      outline.addVertexAt(static_cast<unsigned int>(i), loop.vertices[i], loop.bulges[i]);
    outline.setClosed(true);
    outline.setNormal(normal());
    outline.setElevation(m_dElevation);
    AcDbExtents e;
    if (outline.getGeomExtents(e) == Acad::eOk) extents.addExt(e);
  }
  return extents.isEmpty() ? Acad::eInvalidExtents : Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  bool mirrored;
  AcGeVector3d n = TransformNormal(xform, normal(), mirrored);
  std::vector<std::vector<AcGePoint3d>> world;
  for (const Loop& loop : m_loops) {
    std::vector<AcGePoint3d> pts;
    for (const AcGePoint2d& p : loop.vertices) pts.push_back(xform * toWorld(p));
    world.push_back(std::move(pts));
  }
  AcGePoint3d origin = xform * toWorld(AcGePoint2d(0, 0));
  if (m_settings.get() || n.x != 0.0 || n.y != 0.0 || n.z != 1.0) m_settings.make().normal = n;
  m_dElevation = (AcGeMatrix3d::worldToPlane(n) * origin).z;
  for (size_t i = 0; i < m_loops.size(); ++i) {
    for (size_t k = 0; k < world[i].size(); ++k) m_loops[i].vertices[k] = toPlane(world[i][k]);
    if (mirrored)
      for (double& b : m_loops[i].bulges) b = -b;
  }
  set(&Settings::patternScale, patternScale() * xform.scale());
  return Acad::eOk;
}

void AcDbHatch::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbHatch");
  filer.writePoint3d(10, AcGePoint3d(0, 0, m_dElevation));
  filer.writeVector3d(210, normal());
  filer.writeString(2, settings().pattern);
  filer.writeInt(70, isSolidFill() ? 1 : 0);
  filer.writeInt(71, m_bAssociative ? 1 : 0);
  int written = 0;
  for (const Loop& loop : m_loops) written += loop.evaluated;
  filer.writeInt(91, written);
  for (const Loop& loop : m_loops) {
    if (!loop.evaluated) continue;
    filer.writeInt(92, loop.type | kPolyline);
    bool hasBulge = false;
    for (double b : loop.bulges) hasBulge = hasBulge || b != 0.0;
    filer.writeInt(72, hasBulge ? 1 : 0);
    filer.writeInt(73, 1);
    filer.writeInt(93, static_cast<long long>(loop.vertices.size()));
    for (size_t i = 0; i < loop.vertices.size(); ++i) {
      filer.writePoint2d(10, loop.vertices[i]);
      if (hasBulge) filer.writeDouble(42, loop.bulges[i]);
    }
    int live = 0;
    for (const AcDbObjectId& id : loop.ids) live += id.isResident() && !id.isErased();
    filer.writeInt(97, live);
    for (const AcDbObjectId& id : loop.ids)
      if (id.isResident() && !id.isErased()) filer.writeObjectId(330, id);
  }
  filer.writeInt(75, hatchStyle());
  filer.writeInt(76, patternType());
  if (!isSolidFill()) {
    filer.writeDouble(52, patternAngle() * 180.0 / kPi);
    filer.writeDouble(41, patternScale());
    filer.writeInt(77, 0);
    filer.writeInt(78, 0);
  }
  filer.writeInt(98, 0);
}

Acad::ErrorStatus AcDbHatch::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  m_loops.clear();
  const auto& pairs = record.pairs;
  size_t i = 0;
  auto at = [&](int code) { return i < pairs.size() && pairs[i].code == code; };
  // The fields before the loops.
  for (; i < pairs.size() && pairs[i].code != 91; ++i) {
    switch (pairs[i].code) {
      case 10: m_dElevation = AcDbDxfRecord::point(pairs, i).z; break;
      case 210: {
        AcGeVector3d n = AcDbDxfRecord::point(pairs, i).asVector();
        if (!n.isZeroLength()) {
          AcGeVector3d unit = n.normal();
          if (m_settings.get() || unit.x != 0.0 || unit.y != 0.0 || unit.z != 1.0) m_settings.make().normal = unit;
        }
        break;
      }
      case 2: set(&Settings::pattern, std::wstring(record.text(pairs[i].value))); break;
      case 71: m_bAssociative = AcDbDxfRecord::integer(pairs[i].value) != 0; break;
      default: break;
    }
  }
  if (!at(91)) return Acad::eMissingDxfField;
  long long loops = AcDbDxfRecord::integer(pairs[i++].value);
  if (loops < 0 || loops > static_cast<long long>(pairs.size())) return Acad::eBadDxfSequence;
  for (long long l = 0; l < loops; ++l) {
    if (!at(92)) return Acad::eBadDxfSequence;
    Loop loop;
    loop.type = static_cast<Adesk::Int32>(AcDbDxfRecord::integer(pairs[i++].value));
    // Only polyline loops are modelled; edge loops keep the hatch as read.
    if (!(loop.type & kPolyline)) return Acad::eNotImplementedYet;
    if (!at(72)) return Acad::eBadDxfSequence;
    bool hasBulge = AcDbDxfRecord::integer(pairs[i++].value) != 0;
    if (at(73)) ++i;
    if (!at(93)) return Acad::eBadDxfSequence;
    long long n = AcDbDxfRecord::integer(pairs[i++].value);
    if (n < 0 || n > static_cast<long long>(pairs.size())) return Acad::eBadDxfSequence;
    for (long long k = 0; k < n; ++k) {
      if (!at(10)) return Acad::eBadDxfSequence;
      AcGePoint3d p = AcDbDxfRecord::point(pairs, i);
      ++i;
      double b = 0.0;
      if (hasBulge && at(42)) b = AcDbDxfRecord::real(pairs[i++]);
      loop.vertices.emplace_back(p.x, p.y);
      loop.bulges.push_back(b);
    }
    if (at(97)) {
      long long ids = AcDbDxfRecord::integer(pairs[i++].value);
      for (long long k = 0; k < ids && at(330); ++k) loop.ids.push_back(record.idFromHandle(pairs[i++].value));
    }
    loop.evaluated = true;
    m_loops.push_back(std::move(loop));
  }
  for (; i < pairs.size(); ++i) {
    switch (pairs[i].code) {
      case 75: {
        long long s = AcDbDxfRecord::integer(pairs[i].value);
        set(&Settings::style, s >= 0 && s <= 2 ? static_cast<HatchStyle>(s) : kNormal);
        break;
      }
      case 76: {
        long long t = AcDbDxfRecord::integer(pairs[i].value);
        set(&Settings::patternType, t >= 0 && t <= 2 ? static_cast<HatchPatternType>(t) : kPreDefined);
        break;
      }
      case 52: set(&Settings::patternAngle, AcDbDxfRecord::real(pairs[i]) * kPi / 180.0); break;
      case 41: {
        double s = AcDbDxfRecord::real(pairs[i]);
        if (s > 0) set(&Settings::patternScale, s);
        break;
      }
      case 78:
        // Pattern definition lines are not modelled: such a hatch is kept as read.
        if (AcDbDxfRecord::integer(pairs[i].value) != 0) return Acad::eNotImplementedYet;
        break;
      default: break;
    }
  }
  return Acad::eOk;
}
