// The Windows programming interface as far as the platform stands in for it.
#pragma once

#include "wintypes.h"
#include "module.h"
#include "winreg.h"
#include "stringapiset.h"
#include "fileapi.h"
#include "inifile.h"
#include "winuser.h"
#include "wingdi.h"
