// The drawing interface of the graphics system that drawables draw through:
// the traits of what is drawn next (colour, layer, line type, fill), the
// world and viewport draw contexts, their geometry (polylines, circles, arcs,
// polygons, shells, meshes, text, nested drawables, model transforms) and the
// viewport a viewport draw looks through. The graphics system implements
// them; drawables only call them.
#pragma once

#include "acgitextstyle.h"
#include "adesk.h"
#include "dbcolor.h"
#include "dbid.h"
#include "drawable.h"
#include "gegeometry.h"

class AcDbDatabase;

enum AcGiRegenType {
  eAcGiRegenTypeInvalid = 0,
  kAcGiStandardDisplay = 2,
  kAcGiHideOrShadeCommand,
  kAcGiRenderCommand,
  kAcGiForExplode,
  kAcGiSaveWorldDrawForProxy,
};

enum AcGiFillType { kAcGiFillAlways = 1, kAcGiFillNever = 2 };

enum AcGiArcType { kAcGiArcSimple = 0, kAcGiArcSector, kAcGiArcChord };

enum AcGiDeviationType {
  kAcGiMaxDevForCircle = 0,
  kAcGiMaxDevForCurve,
  kAcGiMaxDevForBoundary,
  kAcGiMaxDevForIsoline,
  kAcGiMaxDevForFacet,
};

// The properties of the geometry drawn next. A colour index of 0 means "by
// block", 256 "by layer"; the graphics system resolves both before it looks
// a colour up in the device's palette.
class AcGiSubEntityTraits : public AcRxObject {
 public:
  virtual void setColor(Adesk::UInt16 colorIndex) = 0;
  virtual void setTrueColor(const AcCmColor& color) = 0;
  virtual void setLayer(AcDbObjectId layerId) = 0;
  virtual void setLineType(AcDbObjectId linetypeId) = 0;
  virtual void setSelectionMarker(Adesk::Int64 marker) = 0;
  virtual void setFillType(AcGiFillType fillType) = 0;
  virtual void setLineWeight(AcDb::LineWeight weight) = 0;
  virtual void setLineTypeScale(double scale = 1.0) = 0;
  virtual void setThickness(double thickness) = 0;

  virtual Adesk::UInt16 color() const = 0;
  virtual AcCmColor trueColor() const = 0;
  virtual AcDbObjectId layerId() const = 0;
  virtual AcDbObjectId lineTypeId() const = 0;
  virtual AcGiFillType fillType() const = 0;
  virtual AcDb::LineWeight lineWeight() const = 0;
  virtual double lineTypeScale() const = 0;
  virtual double thickness() const = 0;
};

// The traits a drawable sets in setAttributes.
class AcGiDrawableTraits : public AcGiSubEntityTraits {};

// What the drawing happens for.
class AcGiContext : public AcRxObject {
 public:
  // The database of the drawable being drawn (null for one of no database).
  virtual AcDbDatabase* database() const = 0;
  virtual Adesk::Boolean isPsOut() const { return false; }
  virtual Adesk::Boolean isPlotGeneration() const { return false; }
  virtual bool isBoundaryClipping() const { return false; }
};

class AcGiGeometry;

class AcGiCommonDraw : public AcRxObject {
 public:
  virtual AcGiRegenType regenType() const = 0;
  virtual Adesk::Boolean regenAbort() const = 0;
  virtual AcGiSubEntityTraits& subEntityTraits() const = 0;
  virtual AcGiGeometry* rawGeometry() const = 0;
  virtual Adesk::Boolean isDragging() const = 0;
  virtual AcGiContext* context() = 0;
  virtual Adesk::UInt32 numberOfIsolines() const = 0;
  // The largest distance between a curve and the chords drawn for it, in
  // model units near the point.
  virtual double deviation(const AcGiDeviationType type, const AcGePoint3d& point) const = 0;
};

class AcGiGeometry : public AcRxObject {
 public:
  // Model transforms: geometry given after a push is carried through the
  // product of the pushed matrices. A normal pushes the plane-to-world
  // matrix of that normal (the arbitrary-axis rule).
  virtual void getModelToWorldTransform(AcGeMatrix3d& matrix) const = 0;
  virtual void getWorldToModelTransform(AcGeMatrix3d& matrix) const = 0;
  virtual Adesk::Boolean pushModelTransform(const AcGeVector3d& normal) = 0;
  virtual Adesk::Boolean pushModelTransform(const AcGeMatrix3d& matrix) = 0;
  virtual Adesk::Boolean popModelTransform() = 0;

  // Each call returns true when the drawing was stopped (regen abort).
  virtual Adesk::Boolean circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) const = 0;
  virtual Adesk::Boolean circle(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) const = 0;
  // An arc from startVector (from the centre) turning sweepAngle about the
  // normal; a sector or chord arc is a closed outline (filled when the fill
  // type says so).
  virtual Adesk::Boolean circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                     const AcGeVector3d& startVector, double sweepAngle,
                                     AcGiArcType arcType = kAcGiArcSimple) const = 0;
  virtual Adesk::Boolean circularArc(const AcGePoint3d& start, const AcGePoint3d& point, const AcGePoint3d& end,
                                     AcGiArcType arcType = kAcGiArcSimple) const = 0;
  virtual Adesk::Boolean polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* vertexList,
                                  const AcGeVector3d* normal = nullptr, Adesk::Int64 baseSubEntMarker = -1) const = 0;
  // A closed outline, filled when the fill type is kAcGiFillAlways.
  virtual Adesk::Boolean polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* vertexList) const = 0;
  // A grid of rows x columns vertices (row by row): its edges, or its
  // quadrilaterals filled when the fill type says so.
  virtual Adesk::Boolean mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* vertexList) const = 0;
  // Faces given as counts followed by vertex indexes. A negative count is a
  // hole of the face before it: the face and its holes fill together by the
  // even-odd rule.
  virtual Adesk::Boolean shell(Adesk::UInt32 nbVertex, const AcGePoint3d* vertexList, Adesk::UInt32 faceListSize,
                               const Adesk::Int32* faceList) const = 0;
  // Text on its baseline from position along direction, in the plane of the
  // normal; height is the height of capitals, width the width factor and
  // oblique the slant in radians. Drawn in the standard text style.
  virtual Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                              double height, double width, double oblique, const ACHAR* message) const = 0;
  // Text in a text style (its size, width factor, obliquing, fonts); length
  // -1 draws up to the terminator; raw text is drawn as it stands.
  virtual Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                              const ACHAR* message, Adesk::Int32 length, Adesk::Boolean raw,
                              const AcGiTextStyle& textStyle) const = 0;
  virtual Adesk::Boolean xline(const AcGePoint3d& first, const AcGePoint3d& second) const = 0;
  virtual Adesk::Boolean ray(const AcGePoint3d& basePoint, const AcGePoint3d& throughPoint) const = 0;
  // Draws another drawable nested in this one: its own attributes apply,
  // "by block" takes the colour of the drawable that nests it.
  virtual Adesk::Boolean draw(AcGiDrawable* drawable) const = 0;
  virtual Adesk::Boolean worldLine(const AcGePoint3d points[2]) = 0;
};

class AcGiWorldGeometry : public AcGiGeometry {};

class AcGiWorldDraw : public AcGiCommonDraw {
 public:
  virtual AcGiWorldGeometry& geometry() const = 0;
};

// The view a viewport draw is made for. Eye coordinates have the target at
// the origin, x to the right, y up and z towards the camera; device
// coordinates are pixels of the viewport, x to the right and y down.
class AcGiViewport : public AcRxObject {
 public:
  virtual void getModelToEyeTransform(AcGeMatrix3d& matrix) const = 0;
  virtual void getEyeToModelTransform(AcGeMatrix3d& matrix) const = 0;
  virtual void getWorldToEyeTransform(AcGeMatrix3d& matrix) const = 0;
  virtual void getEyeToWorldTransform(AcGeMatrix3d& matrix) const = 0;
  // World and device pixels (parallel projection; a perspective view maps
  // the target's plane).
  virtual void getWorldToDeviceTransform(AcGeMatrix3d& matrix) const = 0;
  virtual void getDeviceToWorldTransform(AcGeMatrix3d& matrix) const = 0;
  virtual Adesk::Boolean isPerspective() const = 0;
  virtual void getNumPixelsInUnitSquare(const AcGePoint3d& worldPoint, AcGePoint2d& pixelArea,
                                        bool includePerspective = true) const = 0;
  virtual void getCameraLocation(AcGePoint3d& location) const = 0;
  virtual void getCameraTarget(AcGePoint3d& target) const = 0;
  virtual void getCameraUpVector(AcGeVector3d& upVector) const = 0;
  virtual Adesk::UInt64 viewportId() const = 0;
  virtual Adesk::Int16 acadWindowId() const = 0;
  // The viewport's first and last pixel: (0, 0) and (width - 1, height - 1).
  virtual void getViewportDcCorners(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const = 0;
  virtual double linetypeScaleMultiplier() const = 0;
};

class AcGiViewportGeometry : public AcGiGeometry {
 public:
  // Outlines given in eye coordinates and in device pixels.
  virtual Adesk::Boolean polylineEye(Adesk::UInt32 nbPoints, const AcGePoint3d* points) const = 0;
  virtual Adesk::Boolean polygonEye(Adesk::UInt32 nbPoints, const AcGePoint3d* points) const = 0;
  virtual Adesk::Boolean polylineDc(Adesk::UInt32 nbPoints, const AcGePoint3d* points) const = 0;
  virtual Adesk::Boolean polygonDc(Adesk::UInt32 nbPoints, const AcGePoint3d* points) const = 0;
};

class AcGiViewportDraw : public AcGiCommonDraw {
 public:
  virtual AcGiViewportGeometry& geometry() const = 0;
  virtual const AcGiViewport& viewport() const = 0;
  virtual Adesk::UInt32 sequenceNumber() const = 0;
  virtual Adesk::Boolean isValidId(const Adesk::UInt64 acgiId) const = 0;
  virtual AcDbObjectId viewportObjectId() const = 0;
};
