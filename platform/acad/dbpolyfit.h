// Curve and spline fitting shared by the old 2D and 3D polylines: uniform
// B-splines through control points (clamped when open, periodic when
// closed) and the tangent-continuous arcs of a curve fit.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "gegeometry.h"

namespace acdbfit {

// Points generated per control span, like the host's SPLINESEGS default.
constexpr int kSplineSegs = 8;

// De Boor evaluation of a B-spline of the degree at t.
inline AcGePoint3d DeBoor(const std::vector<AcGePoint3d>& ctl, const std::vector<double>& knots, int degree,
                          double t) {
  int m = static_cast<int>(ctl.size());
  int k = degree;
  while (k + 1 < m && knots[static_cast<size_t>(k + 1)] <= t) ++k;
  std::vector<AcGePoint3d> d(static_cast<size_t>(degree + 1));
  for (int j = 0; j <= degree; ++j) d[static_cast<size_t>(j)] = ctl[static_cast<size_t>(j + k - degree)];
  for (int r = 1; r <= degree; ++r)
    for (int j = degree; j >= r; --j) {
      double lo = knots[static_cast<size_t>(j + k - degree)];
      double hi = knots[static_cast<size_t>(j + 1 + k - r)];
      double a = hi > lo ? (t - lo) / (hi - lo) : 0.0;
      const AcGePoint3d& p = d[static_cast<size_t>(j - 1)];
      AcGePoint3d& q = d[static_cast<size_t>(j)];
      q = AcGePoint3d(p.x + (q.x - p.x) * a, p.y + (q.y - p.y) * a, p.z + (q.z - p.z) * a);
    }
  return d[static_cast<size_t>(degree)];
}

// The points of a spline through the control points. An open spline starts
// and ends at the first and last control point; a closed one returns to its
// first generated point (which is not repeated at the end).
inline std::vector<AcGePoint3d> SplinePoints(const std::vector<AcGePoint3d>& ctl, int degree, bool closed,
                                             int segs = kSplineSegs) {
  int n = static_cast<int>(ctl.size());
  if (n < 3 || degree < 2) return ctl;
  std::vector<AcGePoint3d> out;
  if (!closed) {
    int p = std::min(degree, n - 1);
    std::vector<double> knots;
    for (int i = 0; i <= p; ++i) knots.push_back(0.0);
    for (int i = 1; i < n - p; ++i) knots.push_back(i);
    for (int i = 0; i <= p; ++i) knots.push_back(n - p);
    int total = (n - p) * segs;
    for (int s = 0; s <= total; ++s) out.push_back(DeBoor(ctl, knots, p, static_cast<double>(s) / segs));
    out.front() = ctl.front();
    out.back() = ctl.back();
    return out;
  }
  int p = degree;
  std::vector<AcGePoint3d> wrapped(ctl);
  for (int i = 0; i < p; ++i) wrapped.push_back(ctl[static_cast<size_t>(i % n)]);
  std::vector<double> knots;
  for (int i = 0; i <= n + 2 * p; ++i) knots.push_back(i);
  for (int s = 0; s < n * segs; ++s) out.push_back(DeBoor(wrapped, knots, p, p + static_cast<double>(s) / segs));
  return out;
}

// The signed angle from direction a to direction b in the plane.
inline double TurnAngle(const AcGeVector2d& a, const AcGeVector2d& b) {
  return std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
}

// The bulge of the arc from a to b that leaves a in the tangent direction.
inline double BulgeFromTangent(const AcGePoint2d& a, const AcGePoint2d& b, const AcGeVector2d& tangent) {
  AcGeVector2d chord = b - a;
  if (chord.length() == 0.0 || tangent.length() == 0.0) return 0.0;
  double theta = TurnAngle(tangent, chord);
  // Tangents pointing backwards would make arcs of almost a full turn.
  theta = std::clamp(theta, -1.5, 1.5);
  return std::tan(theta / 2.0);
}

struct FitVertex {
  AcGePoint2d pt;
  double bulge = 0.0;
  double tangent = 0.0;  // direction angle
  bool extra = false;    // generated between two given vertices
};

// A curve fit through the points: at every given point a tangent from its
// neighbours, and per segment one generated point in between (the midpoint
// of the Hermite curve of the two tangents), joined by arcs that follow
// those tangents.
inline std::vector<FitVertex> CurveFit(const std::vector<AcGePoint2d>& pts, bool closed) {
  size_t n = pts.size();
  std::vector<FitVertex> out;
  if (n < 2) {
    for (const AcGePoint2d& p : pts) out.push_back({p, 0.0, 0.0, false});
    return out;
  }
  std::vector<AcGeVector2d> tan(n);
  auto unit = [](AcGeVector2d v) { double l = v.length(); return l > 0 ? v / l : v; };
  for (size_t i = 0; i < n; ++i) {
    bool first = i == 0, last = i + 1 == n;
    if (closed || (!first && !last)) {
      const AcGePoint2d& prev = pts[(i + n - 1) % n];
      const AcGePoint2d& next = pts[(i + 1) % n];
      tan[i] = unit(unit(next - pts[i]) + unit(pts[i] - prev));
    } else if (first) {
      tan[i] = unit(pts[1] - pts[0]);
    } else {
      tan[i] = unit(pts[n - 1] - pts[n - 2]);
    }
  }
  size_t segs = closed ? n : n - 1;
  for (size_t i = 0; i < n; ++i) {
    FitVertex v{pts[i], 0.0, std::atan2(tan[i].y, tan[i].x), false};
    if (i >= segs) {
      out.push_back(v);
      break;
    }
    const AcGePoint2d& a = pts[i];
    const AcGePoint2d& b = pts[(i + 1) % n];
    double len = a.distanceTo(b);
    AcGeVector2d ta = tan[i] * len, tb = tan[(i + 1) % n] * len;
    AcGePoint2d mid((a.x + b.x) / 2 + (ta.x - tb.x) / 8, (a.y + b.y) / 2 + (ta.y - tb.y) / 8);
    AcGeVector2d tm = unit((b - a) * 1.5 - (ta + tb) * 0.25);
    v.bulge = BulgeFromTangent(a, mid, tan[i]);
    out.push_back(v);
    out.push_back({mid, BulgeFromTangent(mid, b, tm), std::atan2(tm.y, tm.x), true});
  }
  return out;
}
}  // namespace acdbfit
