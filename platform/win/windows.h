// The Windows programming interface as far as the platform stands in for it.
#pragma once

#include "wintypes.h"
#include "module.h"
