// How the scripted user looks into controls the window system does not know
// (grids, graphics previews): the two messages behind @print and @cell.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace win {
// One line of @print: the tag that follows the control id ("" or "row 3") and the text.
using ScriptPrintLines = std::vector<std::pair<std::wstring, std::wstring>>;
}
// @print ID: wParam 0, lParam a win::ScriptPrintLines*. A control that answers appends its lines
// and returns TRUE. The transcript shows "[print ID] TEXT" for an empty tag and
// "[print ID TAG] TEXT" otherwise.
#define WM_SCRIPT_PRINT 0x0398
// @cell ID ROW COL [dbl]: wParam ROW, lParam COL (from 0, fixed rows/columns included). The
// control scrolls the cell into view and returns its centre in client pixels as
// MAKELRESULT(x, y), or -1 when there is no such cell. The interpreter then sends the left
// button down/up (with dbl: down, up, double-click, up) at that point, as @mouse does.
#define WM_SCRIPT_CELLPOINT 0x0399
