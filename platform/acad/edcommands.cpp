// The host's drawing commands for scripts and tests: LINE, PLINE, CIRCLE, ERASE, LIST.
#include "edcommands.h"

#include <cmath>
#include <cwctype>
#include <memory>

#include "acdocman.h"
#include "acedsel.h"
#include "acedview.h"
#include "acutprint.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbextents.h"
#include "dbhostapp.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbsymtb.h"
#include "edprompt.h"
#include "format.h"
#include "textutil.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Holds a write lock of the current document for one command.
class CommandLock {
 public:
  explicit CommandLock(const wchar_t* name) : m_doc(curDoc()) {
    m_bLocked = acDocManager->lockDocument(m_doc, AcAp::kWrite, name, name, false) == Acad::eOk;
  }
  ~CommandLock() {
    if (m_bLocked) acDocManager->unlockDocument(m_doc);
  }
  CommandLock(const CommandLock&) = delete;
  CommandLock& operator=(const CommandLock&) = delete;

 private:
  AcApDocument* m_doc;
  bool m_bLocked = false;
};

bool ToWorld(const ads_point ucs, AcGePoint3d& world) {
  resbuf from{}, to{};
  from.restype = to.restype = RTSHORT;
  from.resval.rint = 1;
  to.resval.rint = 0;
  ads_point out;
  if (acedTrans(ucs, &from, &to, 0, out) != RTNORM) return false;
  world.set(out[0], out[1], out[2]);
  return true;
}

// Appends to model space; the entity is owned by the database afterwards
// (or deleted when it cannot be appended).
bool Append(AcDbEntity* entity) {
  std::unique_ptr<AcDbEntity> owned(entity);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return false;
  AcDbBlockTableRecord* space = nullptr;
  Acad::ErrorStatus es = table->getAt(L"*Model_Space", space, AcDb::kForWrite);
  table->close();
  if (es != Acad::eOk) return false;
  es = space->appendAcDbEntity(owned.get());
  space->close();
  if (es != Acad::eOk) {
    acutPrintf(L"\nCannot add the entity: %s\n", Acad::ErrorStatusText(es));
    return false;
  }
  owned.release()->close();
  return true;
}

void CmdLine() {
  CommandLock lock(L"LINE");
  ads_point from, to;
  if (acedGetPoint(nullptr, L"Specify first point: ", from) != RTNORM) return;
  while (acedGetPoint(from, L"Specify next point: ", to) == RTNORM) {
    AcGePoint3d a, b;
    if (!ToWorld(from, a) || !ToWorld(to, b)) return;
    if (!Append(new AcDbLine(a, b))) return;
    for (int i = 0; i < 3; ++i) from[i] = to[i];
  }
}

// The bulge of an arc that leaves p0 in the direction dirAngle and ends at p1
// (the tangent arc of the polyline command), and its direction at p1.
double TangentBulge(const AcGePoint2d& p0, const AcGePoint2d& p1, double dirAngle, double& endAngle) {
  double chord = std::atan2(p1.y - p0.y, p1.x - p0.x);
  double theta = std::remainder(chord - dirAngle, 2 * kPi);  // half the included angle
  endAngle = chord + theta;
  return std::tan(theta / 2);
}

void CmdPline() {
  CommandLock lock(L"PLINE");
  ads_point start;
  if (acedGetPoint(nullptr, L"Specify start point: ", start) != RTNORM) return;
  AcGePoint3d w;
  if (!ToWorld(start, w)) return;
  auto pline = std::make_unique<AcDbPolyline>();
  pline->addVertexAt(0, AcGePoint2d(w.x, w.y));
  bool arcs = false;
  double direction = 0;  // where the last segment ends up heading
  ads_point last = {start[0], start[1], start[2]};
  for (;;) {
    acedInitGet(0, arcs ? L"Close Line" : L"Arc Close");
    ads_point next;
    int r = acedGetPoint(last, arcs ? L"Specify end point of arc or [Close/Line]: "
                                    : L"Specify next point or [Arc/Close]: ",
                         next);
    unsigned n = pline->numVerts();
    AcGePoint2d p0;
    pline->getPointAt(n - 1, p0);
    if (r == RTKWORD) {
      ACHAR kw[32];
      acedGetInput(kw, 32);
      std::wstring k = kw;
      if (k == L"Arc") arcs = true;
      else if (k == L"Line") arcs = false;
      else if (k == L"Close") {
        if (n < 2) {
          acutPrintf(L"\nA polyline needs two points before it can close.\n");
          continue;
        }
        AcGePoint2d first;
        pline->getPointAt(0, first);
        if (arcs) {
          double end;
          pline->setBulgeAt(n - 1, TangentBulge(p0, first, direction, end));
        }
        pline->setClosed(true);
        break;
      }
      continue;
    }
    if (r != RTNORM) break;
    if (!ToWorld(next, w)) break;
    AcGePoint2d p1(w.x, w.y);
    if (p1.distanceTo(p0) == 0) {
      acutPrintf(L"\nThe point is the last point again.\n");
      continue;
    }
    if (arcs) {
      double end;
      pline->setBulgeAt(n - 1, TangentBulge(p0, p1, direction, end));
      direction = end;
    } else {
      direction = std::atan2(p1.y - p0.y, p1.x - p0.x);
    }
    pline->addVertexAt(n, p1);
    for (int i = 0; i < 3; ++i) last[i] = next[i];
  }
  if (pline->numVerts() >= 2) Append(pline.release());
}

void CmdCircle() {
  CommandLock lock(L"CIRCLE");
  ads_point centre;
  if (acedGetPoint(nullptr, L"Specify center point for circle: ", centre) != RTNORM) return;
  ads_real radius = 0;
  acedInitGet(RSG_NONULL | RSG_NOZERO | RSG_NONEG, nullptr);
  if (acedGetReal(L"Specify radius of circle: ", &radius) != RTNORM) return;
  AcGePoint3d c;
  if (!ToWorld(centre, c)) return;
  Append(new AcDbCircle(c, AcGeVector3d(0, 0, 1), radius));
}

void CmdErase() {
  CommandLock lock(L"ERASE");
  ads_name ss;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) return;
  Adesk::Int32 count = 0;
  acedSSLength(ss, &count);
  for (Adesk::Int32 i = 0; i < count; ++i) {
    ads_name name;
    AcDbObjectId id;
    AcDbEntity* e = nullptr;
    if (acedSSName(ss, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) continue;
    if (acdbOpenObject(e, id, AcDb::kForWrite) != Acad::eOk) continue;
    e->erase();
    e->close();
  }
  acedSSFree(ss);
}

void CmdList() {
  ads_name ss;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) return;
  Adesk::Int32 count = 0;
  acedSSLength(ss, &count);
  for (Adesk::Int32 i = 0; i < count; ++i) {
    ads_name name;
    AcDbObjectId id;
    AcDbEntity* e = nullptr;
    if (acedSSName(ss, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) continue;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
    acutPrintf(L"%s\n", acad::DescribeEntity(e).c_str());
    e->close();
  }
  acedSSFree(ss);
}

std::wstring Point(const AcGePoint3d& p) { return win::Format(L"(%.4f,%.4f,%.4f)", p.x, p.y, p.z); }

}  // namespace

namespace acad {

std::wstring DescribeEntity(const AcDbEntity* e) {
  ACHAR handle[17] = {0};
  e->handle().getIntoAsciiBuffer(handle, 17);
  std::wstring text = win::Format(L"%-10s handle %-4s layer %s", e->dxfName().c_str(), handle, e->layerName().c_str());
  if (const AcDbLine* line = AcDbLine::cast(e)) {
    text += L"  from " + Point(line->startPoint()) + L" to " + Point(line->endPoint());
  } else if (const AcDbCircle* circle = AcDbCircle::cast(e)) {
    text += L"  center " + Point(circle->center()) + win::Format(L" radius %.4f", circle->radius());
  } else if (const AcDbArc* arc = AcDbArc::cast(e)) {
    text += L"  center " + Point(arc->center()) +
            win::Format(L" radius %.4f start %.4f end %.4f", arc->radius(), arc->startAngle() * 180 / kPi,
                        arc->endAngle() * 180 / kPi);
  } else if (const AcDbPolyline* pline = AcDbPolyline::cast(e)) {
    double end = 0, length = 0;
    pline->getEndParam(end);
    pline->getDistAtParam(end, length);
    text += win::Format(L"  %s, %u vertices, length %.4f:", pline->isClosed() ? L"closed" : L"open",
                        pline->numVerts(), length);
    for (unsigned i = 0; i < pline->numVerts(); ++i) {
      AcGePoint2d p;
      double bulge = 0;
      pline->getPointAt(i, p);
      pline->getBulgeAt(i, bulge);
      text += win::Format(L" (%.4f,%.4f)", p.x, p.y);
      if (bulge != 0) text += win::Format(L" bulge %.4f", bulge);
    }
  } else if (const AcDbPoint* point = AcDbPoint::cast(e)) {
    text += L"  at " + Point(point->position());
  } else {
    AcDbExtents ext;
    if (e->getGeomExtents(ext) == Acad::eOk)
      text += L"  extents " + Point(ext.minPoint()) + L" to " + Point(ext.maxPoint());
  }
  return text;
}

std::vector<std::pair<std::wstring, std::wstring>> DrawingCommands() {
  return {{L"CIRCLE", L"a circle by centre and radius"},
          {L"ERASE", L"erase the selected entities"},
          {L"LINE", L"lines through points until Enter"},
          {L"LIST", L"one line per selected entity"},
          {L"PLINE", L"a polyline: points, A arcs, L lines, C close"}};
}

bool RunDrawingCommand(const std::wstring& name) {
  std::wstring up = win::textutil::Upper(name);
  if (up == L"LINE") CmdLine();
  else if (up == L"PLINE") CmdPline();
  else if (up == L"CIRCLE") CmdCircle();
  else if (up == L"ERASE") CmdErase();
  else if (up == L"LIST") CmdList();
  else return false;
  return true;
}

}  // namespace acad
