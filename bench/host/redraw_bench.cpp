// The time from a wheel turn in the drawing window to the new picture on the
// screen (painted, copied to the X window and the X server done with it), on
// a private Xvfb. The drawing is $REDRAW_DRAWING, else a floor plan of the
// test corpus. Aim: under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "acdocman.h"
#include "display.h"
#include "displayhost.h"
#include "drawingwindow.h"
#include "textconv.h"
#include "windows.h"
#include "xvfbserver.h"

namespace {

void WheelZoomRedraw(benchmark::State& state) {
  testsupport::XvfbServer server;
  std::string error;
  if (!server.Running() || !host::screen::Start(server.Display(), {}, error)) {
    state.SkipWithError(("no display: " + error).c_str());
    return;
  }
  const char* env = std::getenv("REDRAW_DRAWING");
  std::string drawing = env && *env ? env : DEFAULT_DRAWING;
  AcApDocument* doc = nullptr;
  if (acDocManager->openDocument(win::Utf8ToWide(drawing).c_str(), doc) != Acad::eOk) {
    state.SkipWithError(("cannot open " + drawing).c_str());
    host::screen::Stop();
    return;
  }
  host::screen::ZoomExtents();
  win::display::PaintNow();
  HWND view = host::drawing::Window();
  POINT at{400, 300};
  if (view) ClientToScreen(view, &at);
  int notch = 0;
  for (auto _ : state) {
    // In and out in turn, so the view stays about the same.
    short delta = (notch++ % 2) ? -WHEEL_DELTA : WHEEL_DELTA;
    SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(at.x, at.y));
    win::display::PaintNow();
  }
  state.SetLabel(drawing.substr(drawing.find_last_of('/') + 1));
  host::screen::Stop();
  acDocManager->closeAllDocuments();
}

}  // namespace

BENCHMARK(WheelZoomRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
