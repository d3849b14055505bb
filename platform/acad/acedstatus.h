// The status bar's progress meter. With no screen, the meter shows in the
// transcript: the caption when it starts and the final position when the
// status bar is restored.
#pragma once

#include <string>

#include "adesk.h"

int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos);
int acedSetStatusBarProgressMeterPos(int pos);
void acedRestoreStatusBar();

namespace acad {

struct ProgressMeter {
  bool active = false;
  int minPos = 0, maxPos = 0, pos = 0;
};
// The meter as it stands (for tests and the host).
const ProgressMeter& CurrentProgressMeter();
// The meter's caption.
const std::wstring& ProgressMeterCaption();
// A function told whenever the meter starts, moves or ends (a status bar on
// a display repaints); null for none.
using ProgressListener = void (*)();
void SetProgressListener(ProgressListener listener);

}  // namespace acad
