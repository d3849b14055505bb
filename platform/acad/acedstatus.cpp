// The status bar's progress meter, shown in the transcript as "[progress]" lines.
#include "acedstatus.h"

#include <algorithm>
#include <string>

#include "format.h"
#include "textconv.h"
#include "transcript.h"

namespace {

acad::ProgressMeter g_meter;
std::wstring g_caption;
acad::ProgressListener g_listener = nullptr;

void Tell() {
  if (g_listener) g_listener();
}

}  // namespace

namespace acad {
const ProgressMeter& CurrentProgressMeter() { return g_meter; }
const std::wstring& ProgressMeterCaption() { return g_caption; }
void SetProgressListener(ProgressListener listener) { g_listener = listener; }
}  // namespace acad

int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos) {
  if (maxPos < minPos) return -1;
  g_caption = label ? label : L"";
  g_meter = {true, minPos, maxPos, minPos};
  user::WriteLine("[progress] " + win::WideToUtf8(g_caption));
  Tell();
  return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
  if (!g_meter.active) return -1;
  // A position outside the range is clamped, as the bar cannot show it.
  int before = g_meter.pos;
  g_meter.pos = std::clamp(pos, g_meter.minPos, g_meter.maxPos);
  if (g_meter.pos != before) Tell();
  return 0;
}

void acedRestoreStatusBar() {
  if (!g_meter.active) return;
  user::WriteLine(win::WideToUtf8(win::Format(L"[progress] %s %d/%d", g_caption.c_str(), g_meter.pos - g_meter.minPos,
                                              g_meter.maxPos - g_meter.minPos)));
  g_meter.active = false;
  Tell();
}
