// The host's 256-colour index palette and its screen colour settings.
#pragma once

#include "adesk.h"

// The screen colour of a colour index as 0x00BBGGRR (a COLORREF): 1 to 9 the
// named colours, 10 to 249 twenty-four hues in five shades, each full and
// half saturated, 250 to 255 greys. 0 (by block) and 256 (by layer) are black
// and white as the host draws them on a dark screen.
Adesk::UInt32 acedGetRGB(int colorIndex);

// The host's screen colours, each a COLORREF (red in the low byte, then green
// and blue). The host starts with a black model space and a white layout.
struct AcColorSettings {
  Adesk::UInt32 dwGfxModelBkColor;       // model space background
  Adesk::UInt32 dwGfxLayoutBkColor;      // layout (paper) background
  Adesk::UInt32 dwParallelBkColor;       // background of parallel views
  Adesk::UInt32 dwBEditBkColor;          // block editor background
  Adesk::UInt32 dwCmdLineBkColor;        // command line background
  Adesk::UInt32 dwPlotPrevBkColor;       // plot preview background
  Adesk::UInt32 dwModelCrossHairColor;   // model space cross-hairs
  Adesk::UInt32 dwLayoutCrossHairColor;  // layout cross-hairs
  Adesk::UInt32 dwCmdLineTextColor;      // command line text
};

// Copies the current settings; false without a place to copy them to.
bool acedGetCurrentColors(AcColorSettings* pColorSettings);
// Makes the given settings current; false without settings.
bool acedSetCurrentColors(AcColorSettings* pColorSettings);

namespace acad {
// The settings the host starts with (and gets back on ResetColorSettings).
AcColorSettings DefaultColorSettings();
void ResetColorSettings();
}  // namespace acad
