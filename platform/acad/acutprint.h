// Printing on the host's command line.
#pragma once

#include "wintypes.h"

// Formats with the platform's wide printf rules and appends the result to the
// command line (the transcript). Returns the number of characters printed.
int acutPrintf(const wchar_t* format, ...);
