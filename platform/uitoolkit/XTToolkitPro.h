// The UI toolkit: skins, themed controls and the task dialog.
#pragma once

#include "xtpcontrols.h"
#include "xtpskin.h"
#include "xtptaskdialog.h"
