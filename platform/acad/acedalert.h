// acedAlert: the host's alert box, a message box titled "AutoCAD" with an OK
// button (in the transcript as every message box is).
#pragma once

#include "adscodes.h"

int acedAlert(const ACHAR* message);
