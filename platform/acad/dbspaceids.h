// The entities of a drawing's model space, in drawing order, for the editor's
// and the host's passes over the whole drawing (selection, painting).
#pragma once

#include <vector>

#include "dbobject.h"

class AcDbDatabase;

// Empty when there is no database or it has no model space.
std::vector<AcDbObjectId> acdbModelSpaceIds(AcDbDatabase* db);
