// The host's own drawing commands for scripts and tests: LINE, PLINE (line
// and arc segments, close), CIRCLE, ERASE and LIST. They work in model space
// of the working database, under a write lock of the current document.
#pragma once

#include <string>
#include <utility>
#include <vector>

class AcDbEntity;

namespace acad {

// Runs the built-in drawing command of that name (any case); false when the
// name is not one of them.
bool RunDrawingCommand(const std::wstring& name);

// Name and one-line description of each, for HELP.
std::vector<std::pair<std::wstring, std::wstring>> DrawingCommands();

// The LIST line of one entity: type, handle, layer and its key geometry.
std::wstring DescribeEntity(const AcDbEntity* entity);

}  // namespace acad
