// Small helpers for the polyline geometry tests: building polylines from
// vertex lists and reading them back.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dbpline.h"

namespace geotest {

constexpr double kPi = 3.14159265358979323846;

struct Vert {
  double x, y, bulge, startWidth, endWidth;
};

inline AcDbPolyline* MakePline(const std::vector<Vert>& verts, bool closed = false) {
  AcDbPolyline* pl = new AcDbPolyline();
  for (size_t i = 0; i < verts.size(); ++i)
    pl->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(verts[i].x, verts[i].y), verts[i].bulge,
                    verts[i].startWidth, verts[i].endWidth);
  pl->setClosed(closed);
  return pl;
}

// Straight polyline through the points (default widths).
inline AcDbPolyline* MakePath(const std::vector<AcGePoint2d>& pts, bool closed = false) {
  std::vector<Vert> verts;
  for (const AcGePoint2d& p : pts) verts.push_back({p.x, p.y, 0.0, -1, -1});
  return MakePline(verts, closed);
}

inline std::vector<Vert> Verts(const AcDbPolyline* pl) {
  std::vector<Vert> out;
  for (unsigned int i = 0; i < pl->numVerts(); ++i) {
    AcGePoint2d p;
    Vert v{};
    pl->getPointAt(i, p);
    pl->getBulgeAt(i, v.bulge);
    pl->getWidthsAt(i, v.startWidth, v.endWidth);
    v.x = p.x;
    v.y = p.y;
    out.push_back(v);
  }
  return out;
}

// Compares every vertex, bulge and width pair.
inline void ExpectVerts(const AcDbPolyline* pl, const std::vector<Vert>& expected, const std::string& what = "") {
  std::vector<Vert> got = Verts(pl);
  ASSERT_EQ(got.size(), expected.size()) << what;
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, expected[i].x, 1e-9) << what << " vertex " << i;
    EXPECT_NEAR(got[i].y, expected[i].y, 1e-9) << what << " vertex " << i;
    EXPECT_NEAR(got[i].bulge, expected[i].bulge, 1e-9) << what << " bulge " << i;
    EXPECT_NEAR(got[i].startWidth, expected[i].startWidth, 1e-9) << what << " start width " << i;
    EXPECT_NEAR(got[i].endWidth, expected[i].endWidth, 1e-9) << what << " end width " << i;
  }
}

// Compares the vertex positions only.
inline void ExpectPoints(const AcDbPolyline* pl, const std::vector<AcGePoint2d>& expected, const std::string& what = "") {
  ASSERT_EQ(pl->numVerts(), expected.size()) << what;
  for (unsigned int i = 0; i < pl->numVerts(); ++i) {
    AcGePoint2d p;
    pl->getPointAt(i, p);
    EXPECT_NEAR(p.x, expected[i].x, 1e-9) << what << " vertex " << i;
    EXPECT_NEAR(p.y, expected[i].y, 1e-9) << what << " vertex " << i;
  }
}

inline double Bulge(const AcDbPolyline* pl, unsigned int i) {
  double b = 0;
  pl->getBulgeAt(i, b);
  return b;
}

}  // namespace geotest
