// The drawable base class's run-time class and default queries.
#include "drawable.h"

ACRX_DEFINE_ABSTRACT(AcGiDrawable, AcRxObject)

bool AcGiDrawable::bounds(AcDbExtents&) const { return false; }

Adesk::UInt32 AcGiDrawable::viewportDrawLogicalFlags(AcGiViewportDraw*) { return 0; }
