// The C runtime's wide-text number readers of the original platform. They
// read like the original: leading blanks are skipped, an optional sign and
// then decimal digits up to the first other character (0 when there is no
// digit); a value beyond the type's range gives its largest or smallest value
// instead of wrapping round.
#pragma once

#include "wintypes.h"

int _wtoi(const wchar_t* str);
long _wtol(const wchar_t* str);
LONGLONG _wtoi64(const wchar_t* str);

#define _ttoi _wtoi
#define _ttol _wtol
#define _ttoi64 _wtoi64
