// The class library's core: strings (and, as they are built, collections,
// files and the rest).
#pragma once

#include "windows.h"
#include "cstring.h"
#include "afxtempl.h"
#include "afxcoll.h"
#include "splitpath.h"
#include "filefind.h"
#include "wstdlib.h"
#include "afxfile.h"
#include "afxwaitcursor.h"
