// acedGrRead: the drawing window's input, from the scripted user's lines
// "@drag x,y" (pointer moved), "@pick x,y" (left button), "@rclick" (right
// button) and "@type TEXT" (characters, one per call; an empty "@type" is
// Enter). Points are in the current user coordinate system.
#pragma once

#include "adscodes.h"

// Event types of acedGrRead.
#define GRREAD_KEYBOARD 2  // result RTSHORT: the character code (13 for Enter)
#define GRREAD_PICK 3      // result RT3DPOINT
#define GRREAD_DRAG 5      // result RT3DPOINT
#define GRREAD_RCLICK 25   // result RTSHORT 0

// track bit 1 asks for drag events; without it "@drag" lines are passed
// over. RTNORM with an event; RTCAN for Esc ("^C") or the end of the script.
int acedGrRead(int track, int* type, resbuf* result);

namespace acad {
// Drops characters of an "@type" line not read yet (tests).
void ResetGrRead();
}  // namespace acad
