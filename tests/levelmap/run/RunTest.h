// Shared set-up of the drive-test run tests: the CAD fixture (fresh drawing,
// transcript, scripted answers, leak checks) plus entity makers and a band
// map built in memory.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "cadtest.h"
#include "LevelBands.h"
#include "dbcurves.h"
#include "dbpline.h"

class RunTest : public CadTest {
 protected:
  void TearDown() override {
    CLevelBandTable::ClearBandMap(m_levelMap);
    CadTest::TearDown();
  }

  // A lightweight polyline through the points, added to model space.
  AcDbObjectId AddPline(std::vector<AcGePoint2d> pts, bool bClosed = false) {
    AcDbPolyline* pPline = new AcDbPolyline;
    for (unsigned int i = 0; i < pts.size(); ++i) pPline->addVertexAt(i, pts[i]);
    pPline->setClosed(bClosed);
    return Add(pPline);
  }
  AcDbObjectId AddLine(double x1, double y1, double x2, double y2) {
    return Add(new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
  }
  AcDbObjectId AddCircle(double x, double y, double r) {
    return Add(new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d::kZAxis, r));
  }

  // Adds a measurement type with bands of the given (colour, num) pairs.
  CLevelBandArray& AddType(const CString& strType, std::initializer_list<std::pair<int, int>> bands) {
    CLevelBandArray* pBands = new CLevelBandArray;
    for (const auto& band : bands) {
      levelmapdb rec;
      rec.color = band.first;
      rec.num = band.second;
      rec.remain = -7;  // whatever the last run left
      pBands->Add(rec);
    }
    m_levelMap.SetAt(strType, pBands);
    return *pBands;
  }

  // Whatever the script still holds unread.
  std::vector<std::string> Unread() {
    std::vector<std::string> rest;
    while (auto line = user::Script::Instance().Next()) rest.push_back(*line);
    return rest;
  }

  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

  CLevelBandMap m_levelMap;
};
