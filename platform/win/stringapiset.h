// Code-page conversion between multibyte text and wide text.
//
// The ANSI code page (CP_ACP, and the OEM and thread code pages) is UTF-8
// here; 65001 is UTF-8 and 936 is simplified Chinese (GBK). Counts are in
// bytes on the multibyte side and in wchar_t units on the wide side. As on
// the original platform: a length of -1 means terminated input and the
// terminator is converted and counted; an output size of 0 asks for the size
// needed; an output too small fails with ERROR_INSUFFICIENT_BUFFER.
#pragma once

#include "wintypes.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

#ifndef ERROR_NO_UNICODE_TRANSLATION
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#endif
#ifndef ERROR_INVALID_FLAGS
#define ERROR_INVALID_FLAGS 1004L
#endif

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                        int wideCount);

// Characters the code page cannot show become defaultChar (or "?"), and
// *usedDefaultChar tells whether that happened. UTF-8 takes neither: both
// must be null for it.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar);

// The code pages the system runs with (both UTF-8 here).
UINT GetACP();
UINT GetOEMCP();
