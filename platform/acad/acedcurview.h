// The active viewport's view and the current user coordinate system through
// the host's calls: acedSetCurrentView takes only the properties set on the
// view record; the coordinate system travels as the matrix from user to
// world coordinates.
#pragma once

#include "adesk.h"
#include "adscodes.h"
#include "dbid.h"

class AcDbViewTableRecord;
class AcGeMatrix3d;

// eNullObjectPointer for no record, eInvalidInput for a height or width set
// to zero or less; nothing changes then. The viewport id names the active
// viewport (the host has only one), a null id included.
Acad::ErrorStatus acedSetCurrentView(AcDbViewTableRecord* view, AcDbObjectId viewportId);

Acad::ErrorStatus acedGetCurrentUCS(AcGeMatrix3d& mat);
// eInvalidInput (nothing changed) for a matrix whose axes are not unit length
// and at right angles.
Acad::ErrorStatus acedSetCurrentUCS(const AcGeMatrix3d& mat);
