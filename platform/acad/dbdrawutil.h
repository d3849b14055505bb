// Helpers the entities share when they draw themselves: polylines of
// vertices with bulges and widths, curves cut into chords the graphics
// system asks for, the contents of a block, and hatch areas with their
// pattern lines.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "acgi.h"
#include "dbid.h"
#include "gegeometry.h"

namespace acdbdraw {

// A vertex of a polyline in its plane.
struct PlineVertex {
  AcGePoint2d pt;
  double bulge = 0.0;
  double startWidth = 0.0;
  double endWidth = 0.0;
};

// The number of chords for an arc of the radius and sweep so that no chord
// strays further than the draw's deviation (at least 2, at most 1024).
int ChordCount(const AcGiCommonDraw* draw, double radius, double sweep);

// Appends the points of the segment from a to b with the bulge (a itself
// not included) in the plane.
void AppendBulgeSegment(const AcGiCommonDraw* draw, const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                        std::vector<AcGePoint2d>& out);

// Draws the vertices in the plane of the normal at the elevation: a
// polyline one pixel wide, or filled bands where a segment has width.
void DrawPolyline(AcGiWorldDraw* draw, const std::vector<PlineVertex>& vertices, bool closed,
                  const AcGeVector3d& normal, double elevation);

// Draws the entities of a block (not erased, each with its own traits)
// carried by the transform; "by block" takes the colour of the drawable
// being drawn.
void DrawBlockContents(AcGiWorldDraw* draw, AcDbObjectId blockId, const AcGeMatrix3d& transform);

// One line family of a hatch pattern, in the hatch's plane: lines at the
// angle through base + k * offset, dashed by the lengths (positive dash,
// negative gap, zero dot; none for a solid line).
struct PatternLine {
  double angle = 0.0;
  AcGePoint2d base;
  AcGeVector2d offset;
  std::vector<double> dashes;
};

// A hatch ready to draw: closed loops in its plane, solid or patterned.
struct HatchArea {
  AcGeVector3d normal = AcGeVector3d::kZAxis;
  double elevation = 0.0;
  std::vector<std::vector<AcGePoint2d>> loops;
  bool solid = false;
  std::vector<PatternLine> pattern;
};

// Fills a solid hatch (loops by the even-odd rule), or draws its pattern
// lines cut at the loops. A pattern too dense to see as lines fills.
void DrawHatch(AcGiWorldDraw* draw, const HatchArea& hatch);

// Points along a B-spline of the degree, knots, control points and weights
// (no weights: all 1), 16 per span; the fit points (or the control points)
// when the control frame is not a valid one.
std::vector<AcGePoint3d> SplinePoints(int degree, const std::vector<double>& knots,
                                      const std::vector<AcGePoint3d>& ctrl, const std::vector<double>& weights,
                                      const std::vector<AcGePoint3d>& fit);

// Reads a HATCH record kept as read (its pairs up to `end`): loops of any
// kind (polyline, line, arc, elliptic arc and spline edges), solid fill or
// the pattern's line families. False when the pairs are not a hatch.
bool HatchFromPairs(const AcGiCommonDraw* draw, const std::vector<std::pair<int, std::string>>& pairs, size_t end,
                    HatchArea& hatch);

// The lines of a predefined pattern the drawing does not describe: 45
// degree lines 3.175 apart (the common brick and steel section) turned and
// scaled as the hatch says.
std::vector<PatternLine> DefaultPattern(double angle, double scale);

}  // namespace acdbdraw
