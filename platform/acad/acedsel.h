// Selection sets: acedSSGet with the scripted user's picks, window and
// crossing, "X" (all), "L" (last), the DXF filters of group 0 (entity type,
// wildcards and comma lists, any case) and group 8 (layer); and the calls that
// read and free a set. A set keeps its entities in the order they were
// selected (model-space order within one window) for as long as it lives.
#pragma once

#include "adscodes.h"

// str: nullptr (interactive), "C"/"W" with pt1 and pt2, "X" (all), "L" (last),
// "_" prefixes accepted; ":$" (pt1: prompts for selecting and removing) and
// ":S" (one pick) ask the user as nullptr does. RTNORM with a set of at least one entity; RTERROR
// for an empty selection or a filter of groups other than 0 and 8; RTCAN for Esc.
int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss);
int acedSSLength(const ads_name ss, Adesk::Int32* len);
int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres);
int acedSSFree(const ads_name ss);

namespace acad {
// The number of selection sets not yet freed (the host reports leaks in tests).
int OpenSelectionSetCount();
// Whether a wildcard pattern ("LINE,*POLYLINE", "L?NE") matches, any case.
bool WildcardMatch(const wchar_t* text, const wchar_t* pattern);
}  // namespace acad
