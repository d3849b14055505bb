// How hatches draw themselves: a solid hatch fills its loops (holes by the
// even-odd rule); a patterned hatch draws its pattern's line families, each
// line cut where it crosses the loops and dashed as the pattern says. Also
// the reading of a hatch kept as read from a file (edge loops, pattern
// lines) into what is drawn.
#include <algorithm>
#include <cmath>

#include "dbdrawutil.h"
#include "dbhatch.h"
#include "dxffiler.h"

namespace acdbdraw {

namespace {

// More lines than this in one family, or lines closer than a pixel, show
// as a filled area.
constexpr long long kMaxLines = 20000;
constexpr long long kMaxDashes = 200000;

void FillLoops(AcGiWorldDraw* draw, const HatchArea& hatch) {
  // Kept from fill to fill: a drawing may fill hundreds of thousands.
  thread_local std::vector<AcGePoint3d> vertices;
  thread_local std::vector<Adesk::Int32> faces;
  vertices.clear();
  faces.clear();
  bool first = true;
  for (const auto& loop : hatch.loops) {
    if (loop.size() < 3) continue;
    // One face: the first loop, the others its holes, all filled together.
    faces.push_back(first ? static_cast<Adesk::Int32>(loop.size()) : -static_cast<Adesk::Int32>(loop.size()));
    first = false;
    for (const AcGePoint2d& p : loop) {
      faces.push_back(static_cast<Adesk::Int32>(vertices.size()));
      vertices.emplace_back(p.x, p.y, hatch.elevation);
    }
  }
  if (faces.empty()) return;
  AcGiFillType fill = draw->subEntityTraits().fillType();
  draw->subEntityTraits().setFillType(kAcGiFillAlways);
  draw->geometry().shell(static_cast<Adesk::UInt32>(vertices.size()), vertices.data(),
                         static_cast<Adesk::UInt32>(faces.size()), faces.data());
  draw->subEntityTraits().setFillType(fill);
}

void Segment(AcGiWorldDraw* draw, const AcGePoint2d& o, const AcGeVector2d& u, double t0, double t1, double z) {
  AcGePoint3d pts[2] = {AcGePoint3d(o.x + u.x * t0, o.y + u.y * t0, z), AcGePoint3d(o.x + u.x * t1, o.y + u.y * t1, z)};
  draw->geometry().polyline(t1 > t0 ? 2 : 1, pts);
}

// Draws one family; false when it is too dense to draw as lines.
bool DrawFamily(AcGiWorldDraw* draw, const HatchArea& hatch, const PatternLine& line, double pixel) {
  AcGeVector2d u(std::cos(line.angle), std::sin(line.angle));
  AcGeVector2d n = u.perpVector();
  double spacing = line.offset.dotProduct(n);
  if (!std::isfinite(spacing) || std::fabs(spacing) < 1e-12) return true;
  if (std::fabs(spacing) < pixel) return false;
  double lo = 1e300, hi = -1e300;
  for (const auto& loop : hatch.loops)
    for (const AcGePoint2d& p : loop) {
      double d = (p - line.base).dotProduct(n);
      lo = std::min(lo, d);
      hi = std::max(hi, d);
    }
  if (lo > hi) return true;
  double k0 = std::ceil(std::min(lo / spacing, hi / spacing)), k1 = std::floor(std::max(lo / spacing, hi / spacing));
  if (k1 - k0 > kMaxLines) return false;
  double period = 0.0;
  for (double d : line.dashes) period += std::fabs(d);
  long long dashesLeft = kMaxDashes;
  std::vector<double> cuts;
  for (double k = k0; k <= k1; k += 1.0) {
    AcGePoint2d o = line.base + line.offset * k;
    cuts.clear();
    for (const auto& loop : hatch.loops) {
      size_t m = loop.size();
      for (size_t i = 0; i < m; ++i) {
        const AcGePoint2d& p = loop[i];
        const AcGePoint2d& q = loop[(i + 1) % m];
        double dp = (p - o).dotProduct(n), dq = (q - o).dotProduct(n);
        if ((dp > 0) == (dq > 0)) continue;
        AcGePoint2d x = p + (q - p) * (dp / (dp - dq));
        cuts.push_back((x - o).dotProduct(u));
      }
    }
    std::sort(cuts.begin(), cuts.end());
    for (size_t i = 0; i + 1 < cuts.size(); i += 2) {
      double a = cuts[i], b = cuts[i + 1];
      if (period <= 1e-12 || (b - a) / period > 1000 || dashesLeft <= 0) {
        Segment(draw, o, u, a, b, hatch.elevation);
        continue;
      }
      // The dashes start at the line's own origin, whole periods before a.
      double pos = std::floor(a / period) * period;
      for (size_t d = 0; pos <= b && dashesLeft > 0; d = (d + 1) % line.dashes.size(), --dashesLeft) {
        double len = std::fabs(line.dashes[d]);
        if (line.dashes[d] >= 0.0) {
          double s = std::max(pos, a), e = std::min(pos + len, b);
          if (e >= s) Segment(draw, o, u, s, e, hatch.elevation);
        }
        pos += len;
      }
    }
  }
  return true;
}

}  // namespace

std::vector<PatternLine> DefaultPattern(double angle, double scale) {
  if (!(scale > 0.0) || !std::isfinite(scale)) scale = 1.0;
  PatternLine line;
  line.angle = angle + M_PI / 4;
  line.offset = AcGeVector2d(-std::sin(line.angle), std::cos(line.angle)) * (3.175 * scale);
  return {line};
}

void DrawHatch(AcGiWorldDraw* draw, const HatchArea& hatch) {
  if (!draw || hatch.loops.empty()) return;
  draw->geometry().pushModelTransform(hatch.normal.isZeroLength() ? AcGeVector3d::kZAxis : hatch.normal);
  // Measuring and other regenerations need the loops only.
  bool fill = hatch.solid || hatch.pattern.empty() || draw->regenType() != kAcGiStandardDisplay;
  if (!fill) {
    double pixel = 2.0 * draw->deviation(kAcGiMaxDevForFacet, AcGePoint3d::kOrigin);
    for (const PatternLine& line : hatch.pattern)
      if (!DrawFamily(draw, hatch, line, pixel)) {
        fill = true;
        break;
      }
  }
  if (fill) FillLoops(draw, hatch);
  draw->geometry().popModelTransform();
}


// ---------------------------------------------------------------- hatches kept as read

namespace {

using Pairs = std::vector<std::pair<int, std::string>>;

// Reads the pairs in order; a value of another group than expected ends
// the reading (the hatch then draws what was read before).
class Cursor {
 public:
  Cursor(const Pairs& pairs, size_t end) : m_pairs(pairs), m_end(end) {}
  bool at(int code) const { return m_i < m_end && m_pairs[m_i].first == code; }
  bool done() const { return m_i >= m_end; }
  void skip() { ++m_i; }
  bool real(int code, double& v) {
    if (!at(code)) return false;
    v = 0.0;
    acdbParseDouble(m_pairs[m_i++].second, v);
    if (!std::isfinite(v)) v = 0.0;
    return true;
  }
  bool integer(int code, long long& v) {
    if (!at(code)) return false;
    v = 0;
    acdbParseInt(m_pairs[m_i++].second, v);
    return true;
  }
  double realOr(int code, double fallback) {
    double v = fallback;
    return real(code, v) ? v : fallback;
  }
  long long intOr(int code, long long fallback) {
    long long v = fallback;
    return integer(code, v) ? v : fallback;
  }
  bool point(int code, AcGePoint2d& p) {
    if (!real(code, p.x)) return false;
    return real(code + 10, p.y);
  }
  // Moves on to the next pair of the group, if there is one.
  bool seek(int code) {
    while (m_i < m_end && m_pairs[m_i].first != code) ++m_i;
    return m_i < m_end;
  }

 private:
  const Pairs& m_pairs;
  size_t m_end;
  size_t m_i = 0;
};

// Points of an arc or elliptic arc edge. Counter-clockwise edges run from
// start to end angle; clockwise ones are written in two ways by different
// programs, so both readings are offered and the one that joins its
// neighbours is kept.
struct Edge {
  std::vector<AcGePoint2d> points;
  std::vector<AcGePoint2d> other;  // the second reading of a clockwise arc
};

std::vector<AcGePoint2d> ArcPoints(const AcGiCommonDraw* draw, const AcGePoint2d& c, const AcGeVector2d& major,
                                   double ratio, double a0, double a1, bool ccw) {
  double sweep = ccw ? a1 - a0 : -(a0 - a1);
  if (ccw && sweep <= 0) sweep += 2 * M_PI;
  if (!ccw && sweep >= 0) sweep -= 2 * M_PI;
  AcGeVector2d minor = major.perpVector() * ratio;
  int n = ChordCount(draw, major.length(), sweep);
  std::vector<AcGePoint2d> out;
  for (int i = 0; i <= n; ++i) {
    double t = a0 + sweep * i / n;
    out.push_back(c + major * std::cos(t) + minor * std::sin(t));
  }
  return out;
}

Edge ReadArc(const AcGiCommonDraw* draw, Cursor& in, bool elliptic) {
  Edge e;
  AcGePoint2d c;
  AcGePoint2d axis(1, 0);
  double radius = 1.0, ratio = 1.0;
  in.point(10, c);
  if (elliptic) {
    in.point(11, axis);
    ratio = in.realOr(40, 1.0);
  } else {
    radius = in.realOr(40, 1.0);
  }
  double a0 = in.realOr(50, 0.0) * M_PI / 180.0, a1 = in.realOr(51, 360.0) * M_PI / 180.0;
  bool ccw = in.intOr(73, 1) != 0;
  AcGeVector2d major = elliptic ? axis.asVector() : AcGeVector2d(radius, 0);
  if (std::fabs(a1 - a0) >= 2 * M_PI - 1e-9) {
    e.points = ArcPoints(draw, c, major, ratio, 0.0, 2 * M_PI, true);
    return e;
  }
  e.points = ArcPoints(draw, c, major, ratio, a0, a1, ccw);
  if (!ccw) e.other = ArcPoints(draw, c, major, ratio, -a0, -a1, false);
  return e;
}

Edge ReadSpline(Cursor& in) {
  Edge e;
  long long degree = in.intOr(94, 3);
  in.intOr(73, 0);
  in.intOr(74, 0);
  long long nKnots = std::clamp<long long>(in.intOr(95, 0), 0, 100000);
  long long nCtrl = std::clamp<long long>(in.intOr(96, 0), 0, 100000);
  std::vector<double> knots, weights;
  std::vector<AcGePoint3d> ctrl, fit;
  for (long long k = 0; k < nKnots && in.at(40); ++k) knots.push_back(in.realOr(40, 0.0));
  for (long long k = 0; k < nCtrl && in.at(10); ++k) {
    AcGePoint2d p;
    in.point(10, p);
    ctrl.emplace_back(p.x, p.y, 0.0);
    if (in.at(42)) weights.push_back(in.realOr(42, 1.0));
  }
  long long nFit = in.at(97) ? std::clamp<long long>(in.intOr(97, 0), 0, 100000) : 0;
  for (long long k = 0; k < nFit && in.at(11); ++k) {
    AcGePoint2d p;
    in.point(11, p);
    fit.emplace_back(p.x, p.y, 0.0);
  }
  AcGePoint2d tangent;
  in.point(12, tangent);
  in.point(13, tangent);
  for (const AcGePoint3d& p : SplinePoints(static_cast<int>(degree), knots, ctrl, weights, fit))
    e.points.emplace_back(p.x, p.y);
  return e;
}

// Joins the edges of a loop into one outline, choosing for each clockwise
// arc the reading that meets the edge before it (or, first, the one after).
std::vector<AcGePoint2d> Join(std::vector<Edge>& edges) {
  for (size_t i = 0; i < edges.size(); ++i) {
    Edge& e = edges[i];
    if (e.other.empty() || e.points.empty()) continue;
    double dA, dB;
    if (i > 0 && !edges[i - 1].points.empty()) {
      const AcGePoint2d& prev = edges[i - 1].points.back();
      dA = prev.distanceTo(e.points.front());
      dB = prev.distanceTo(e.other.front());
    } else if (edges.size() > 1) {
      const Edge& next = edges[(i + 1) % edges.size()];
      const AcGePoint2d& start = next.points.empty() ? e.points.back() : next.points.front();
      dA = start.distanceTo(e.points.back());
      dB = start.distanceTo(e.other.back());
    } else {
      dA = dB = 0.0;
    }
    if (dB < dA) e.points.swap(e.other);
    e.other.clear();
  }
  std::vector<AcGePoint2d> out;
  for (const Edge& e : edges)
    for (const AcGePoint2d& p : e.points)
      if (out.empty() || !out.back().isEqualTo(p)) out.push_back(p);
  if (out.size() > 1 && out.front().isEqualTo(out.back())) out.pop_back();
  return out;
}

}  // namespace

bool HatchFromPairs(const AcGiCommonDraw* draw, const Pairs& pairs, size_t end, HatchArea& hatch) {
  Cursor in(pairs, end);
  // The fields before the loops: elevation, normal, solid flag.
  while (!in.done() && !in.at(91)) {
    if (in.at(30)) {
      hatch.elevation = in.realOr(30, 0.0);
    } else if (in.at(210)) {
      double x = in.realOr(210, 0.0);
      double y = in.at(220) ? in.realOr(220, 0.0) : 0.0;
      double z = in.at(230) ? in.realOr(230, 1.0) : 1.0;
      AcGeVector3d n(x, y, z);
      if (!n.isZeroLength()) hatch.normal = n.normal();
    } else if (in.at(70)) {
      hatch.solid = in.intOr(70, 0) != 0;
    } else {
      in.skip();
    }
  }
  long long loops = 0;
  if (!in.integer(91, loops)) return false;
  loops = std::clamp<long long>(loops, 0, 100000);
  for (long long l = 0; l < loops; ++l) {
    long long type = 0;
    if (!in.integer(92, type)) break;
    std::vector<AcGePoint2d> outline;
    if (type & 2) {
      bool bulges = in.intOr(72, 0) != 0;
      in.intOr(73, 1);
      long long n = std::clamp<long long>(in.intOr(93, 0), 0, 1000000);
      std::vector<AcGePoint2d> v;
      std::vector<double> b;
      for (long long k = 0; k < n && in.at(10); ++k) {
        AcGePoint2d p;
        in.point(10, p);
        v.push_back(p);
        b.push_back(bulges && in.at(42) ? in.realOr(42, 0.0) : 0.0);
      }
      if (!v.empty()) {
        outline.push_back(v[0]);
        for (size_t k = 0; k < v.size(); ++k) AppendBulgeSegment(draw, v[k], v[(k + 1) % v.size()], b[k], outline);
        outline.pop_back();
      }
    } else {
      long long n = std::clamp<long long>(in.intOr(93, 0), 0, 1000000);
      std::vector<Edge> edges;
      for (long long k = 0; k < n; ++k) {
        long long kind = 0;
        if (!in.integer(72, kind)) break;
        if (kind == 1) {
          Edge e;
          AcGePoint2d a, b;
          in.point(10, a);
          in.point(11, b);
          e.points = {a, b};
          edges.push_back(std::move(e));
        } else if (kind == 2 || kind == 3) {
          edges.push_back(ReadArc(draw, in, kind == 3));
        } else if (kind == 4) {
          edges.push_back(ReadSpline(in));
        } else {
          break;
        }
      }
      outline = Join(edges);
    }
    // The boundary objects' handles follow.
    long long sources = in.intOr(97, 0);
    for (long long k = 0; k < sources && in.at(330); ++k) in.skip();
    if (outline.size() >= 2) hatch.loops.push_back(std::move(outline));
  }
  // After the loops: the pattern's angle and scale, then its line families.
  double angle = 0.0, scale = 1.0;
  long long lines = 0;
  while (!in.done() && !in.at(78) && !in.at(98)) {
    if (in.at(52)) angle = in.realOr(52, 0.0) * M_PI / 180.0;
    else if (in.at(41)) scale = in.realOr(41, 1.0);
    else in.skip();
  }
  if (in.at(78)) lines = std::clamp<long long>(in.intOr(78, 0), 0, 1000);
  for (long long k = 0; k < lines && in.at(53); ++k) {
    PatternLine line;
    line.angle = in.realOr(53, 0.0) * M_PI / 180.0;
    line.base.x = in.realOr(43, 0.0);
    line.base.y = in.realOr(44, 0.0);
    line.offset.x = in.realOr(45, 0.0);
    line.offset.y = in.realOr(46, 0.0);
    long long dashes = std::clamp<long long>(in.intOr(79, 0), 0, 1000);
    for (long long d = 0; d < dashes && in.at(49); ++d) line.dashes.push_back(in.realOr(49, 0.0));
    hatch.pattern.push_back(std::move(line));
  }
  if (!hatch.solid && hatch.pattern.empty()) hatch.pattern = DefaultPattern(angle, scale);
  return !hatch.loops.empty();
}

}  // namespace acdbdraw

Adesk::Boolean AcDbHatch::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  // The area's buffers are kept from drawing to drawing (a drawing may hold
  // hundreds of thousands of hatches); drawing a hatch draws no other.
  thread_local acdbdraw::HatchArea area;
  area.normal = normal();
  area.elevation = m_dElevation;
  area.solid = isSolidFill();
  area.pattern.clear();
  if (!area.solid) area.pattern = acdbdraw::DefaultPattern(patternAngle(), patternScale());
  size_t used = 0;
  for (const Loop& loop : m_loops) {
    // Object loops have their outline once the hatch was evaluated.
    if (loop.vertices.empty()) continue;
    if (area.loops.size() <= used) area.loops.emplace_back();
    std::vector<AcGePoint2d>& points = area.loops[used++];
    points.assign(1, loop.vertices[0]);
    size_t n = loop.vertices.size();
    for (size_t i = 0; i < n; ++i)
      acdbdraw::AppendBulgeSegment(draw, loop.vertices[i], loop.vertices[(i + 1) % n],
                                   i < loop.bulges.size() ? loop.bulges[i] : 0.0, points);
    points.pop_back();  // the first point again
  }
  area.loops.resize(used);
  acdbdraw::DrawHatch(draw, area);
  return true;
}
