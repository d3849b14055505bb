// The editor's prompts, answered by the scripted user's lines. Each prompt is
// written to the transcript with the answer taken; the end of the script is
// Esc (RTCAN). Results follow the host: RTNORM with a value, RTNONE for Enter
// where allowed, RTKWORD for a keyword, RTCAN for Esc.
#pragma once

#include <cstddef>

#include "adscodes.h"

// acedInitGet bits.
#define RSG_NONULL 0x0001
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080

int acedInitGet(int val, const ACHAR* kwl);
int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result);
int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result);
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result);  // result holds 133 characters
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen);
int acedGetInt(const ACHAR* prompt, int* result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetKword(const ACHAR* prompt, ACHAR* result);  // result holds 133 characters
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufLen);
// The keyword (or arbitrary text with RSG_OTHER) behind the last RTKWORD.
int acedGetInput(ACHAR* result);
int acedGetInput(ACHAR* result, size_t bufLen);

namespace acad {

// Where "@dx,dy" answers are relative to: the last point entered.
void SetLastPoint(const ads_point pt);
void GetLastPoint(ads_point pt);

// Parses "x,y[,z]" or "@dx,dy[,dz]" (relative to base). False if not a point.
bool ParsePoint(const wchar_t* text, const ads_point base, ads_point result);

}  // namespace acad
