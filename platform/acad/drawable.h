// AcGiDrawable: anything the graphics system can draw. A drawable sets its
// traits (colour, layer, line type ...), draws its view-independent geometry
// in world draw and, when world draw returns false, its view-dependent
// geometry in viewport draw. Database objects are drawables; so is any
// object an application makes only to be shown (an orbit circle, a hatch
// that lives in a preview).
#pragma once

#include "adesk.h"
#include "dbid.h"
#include "rxobject.h"

class AcGsNode;
class AcGiDrawableTraits;
class AcGiWorldDraw;
class AcGiViewportDraw;
class AcDbExtents;

class AcGiDrawable : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcGiDrawable)

 public:
  // What setAttributes reports about the drawable.
  enum SetAttributesFlags {
    kDrawableNone = 0,
    kDrawableIsAnEntity = 1,
    kDrawableUsesNesting = 2,
    kDrawableIsCompoundObject = 4,
    kDrawableViewIndependentViewportDraw = 8,
    kDrawableIsInvisible = 16,
    kDrawableHasAttributes = 32,
    kDrawableRegenTypeDependantGeometry = 64,
    kDrawableIsDimension = 128 | kDrawableIsCompoundObject,
    kDrawableRegenDraw = 256,
  };
  enum DrawableType { kGeometry = 0, kDistantLight, kPointLight, kSpotLight, kAmbientLight, kSolidBackground };

  AcGiDrawable() = default;

  // Sets the traits the drawable's geometry is drawn with; returns flags.
  virtual Adesk::UInt32 setAttributes(AcGiDrawableTraits* traits) = 0;
  // The view-independent geometry. False asks for viewportDraw as well.
  virtual Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) = 0;
  // The geometry that depends on the view it is drawn in.
  virtual void viewportDraw(AcGiViewportDraw* viewportDraw) = 0;
  // True for objects of a database: the graphics system holds them by id.
  virtual Adesk::Boolean isPersistent() const = 0;
  virtual AcDbObjectId id() const = 0;
  virtual DrawableType drawableType() const { return kGeometry; }
  // The node the graphics system keeps for the drawable (null when none).
  virtual void setGsNode(AcGsNode* node) = 0;
  virtual AcGsNode* gsNode() const = 0;
  // The drawable's extents, when it can tell them cheaply.
  virtual bool bounds(AcDbExtents& bounds) const;
  // Logical flags of the viewport draw (none here).
  virtual Adesk::UInt32 viewportDrawLogicalFlags(AcGiViewportDraw* viewportDraw);

 protected:
  AcGiDrawable(const AcGiDrawable&) = default;
};
