// What a person does to a large grid, timed per action: 100,000 rows by 10
// columns on a window of 1000 x 700, title tips on. Each key press, wheel
// notch, pointer move and edit goes in as the window messages the system
// would send and is followed by the repaint the person would see, so the
// times (processor time of the thread, in ms) are those of one keystroke from
// the message to the pixels. The aim is an answer within one frame (16 ms)
// even at the bottom of the grid.
#include <benchmark/benchmark.h>

#include <ctime>

#include "GridCtrl.h"
#include "wndimpl.h"

namespace {

const int kRows = 100000;
const int kCols = 10;

// The thread's processor time, so that other work on a shared machine does
// not count.
struct Clock {
  using time_point = double;
  static double now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
  }
};

double MsSince(Clock::time_point start) { return Clock::now() - start; }

// One grid filled once and reused by every benchmark.
struct BigGrid {
  CWnd owner;
  CGridCtrl grid;
  BigGrid() {
    owner.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 700, nullptr, nullptr);
    grid.Create(CRect(0, 0, 1000, 700), &owner, 100, WS_CHILD | WS_VISIBLE);
    grid.SetRedraw(FALSE);
    grid.SetRowCount(kRows + 1);
    grid.SetColumnCount(kCols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row <= kRows; ++row)
      for (int col = 0; col < kCols; ++col) {
        CString text;
        text.Format(col == 5 ? L"a rather long text that its cell cuts off, row %d" : L"r%d c%d", row, col);
        grid.SetItemText(row, col, text);
      }
    grid.SetEditable(TRUE);
    grid.EnableTitleTips(TRUE);
    grid.SetRedraw(TRUE, TRUE);
    grid.SetFocus();
    grid.UpdateWindow();
  }
  ~BigGrid() { owner.DestroyWindow(); }

  void Key(UINT vk, bool ctrl = false) {
    if (ctrl) win::wnd::SetKeyDown(VK_CONTROL, true);
    CWnd::GetFocus()->SendMessage(WM_KEYDOWN, vk, 1);
    if (ctrl) win::wnd::SetKeyDown(VK_CONTROL, false);
  }
  void Char(wchar_t ch) { CWnd::GetFocus()->SendMessage(WM_CHAR, ch, 1); }
  void Paint() { grid.UpdateWindow(); }
};

BigGrid& Grid() {
  static BigGrid* pGrid = new BigGrid;  // lives until the process ends
  return *pGrid;
}

// Arrow keys from the given row on: once the focus reaches the bottom of the
// window every move scrolls the grid by one row. The same at the top and in
// the last rows shows whether a key's cost grows with the rows above it.
void ArrowsDownFrom(benchmark::State& state, int nFirstRow) {
  BigGrid& g = Grid();
  double total = 0;
  int n = 0;
  for (auto _ : state) {
    g.grid.SetFocusCell(nFirstRow, 2);
    g.grid.EnsureVisible(nFirstRow, 2);
    g.Paint();
    for (int i = 0; i < 200; ++i) {
      auto start = Clock::now();
      g.Key(VK_DOWN);
      g.Paint();
      total += MsSince(start);
      ++n;
    }
  }
  state.counters["ms_per_key"] = total / n;
}

void BM_ArrowDownAtTheTop(benchmark::State& state) { ArrowsDownFrom(state, 1); }
void BM_ArrowDownAtTheBottom(benchmark::State& state) { ArrowsDownFrom(state, kRows - 1000); }

// Page Down from the top to the end, then Control+Home and Control+End.
void BM_PagesAndCorners(benchmark::State& state) {
  BigGrid& g = Grid();
  double pages = 0, corners = 0;
  int nPages = 0, nCorners = 0;
  for (auto _ : state) {
    g.grid.SetFocusCell(1, 1);
    g.grid.EnsureVisible(1, 1);
    for (int i = 0; i < 200; ++i) {
      auto start = Clock::now();
      g.Key(VK_NEXT);
      g.Paint();
      pages += MsSince(start);
      ++nPages;
    }
    for (int i = 0; i < 20; ++i) {
      auto start = Clock::now();
      g.Key(i % 2 ? VK_HOME : VK_END, true);
      g.Paint();
      corners += MsSince(start);
      ++nCorners;
    }
  }
  state.counters["ms_per_page"] = pages / nPages;
  state.counters["ms_per_corner"] = corners / nCorners;
}

// The wheel near the end of the grid: three lines per notch.
void BM_WheelAtTheBottom(benchmark::State& state) {
  BigGrid& g = Grid();
  double total = 0;
  int n = 0;
  for (auto _ : state) {
    g.grid.EnsureVisible(kRows, 1);
    for (int i = 0; i < 200; ++i) {
      auto start = Clock::now();
      g.grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, i < 100 ? WHEEL_DELTA : -WHEEL_DELTA), MAKELPARAM(500, 300));
      g.Paint();
      total += MsSince(start);
      ++n;
    }
  }
  state.counters["ms_per_notch"] = total / n;
}

// The pointer moving over cells at the bottom (the long column shows tips).
void BM_PointerOverCellsAtTheBottom(benchmark::State& state) {
  BigGrid& g = Grid();
  double total = 0;
  int n = 0;
  for (auto _ : state) {
    g.grid.EnsureVisible(kRows, 1);
    g.Paint();
    for (int i = 0; i < 500; ++i) {
      CPoint point(40 + (i * 37) % 900, 30 + (i * 53) % 640);
      CPoint screen = point;
      g.grid.ClientToScreen(&screen);
      ::SetCursorPos(screen.x, screen.y);
      HWND target = ::GetCapture() ? ::GetCapture() : g.grid.GetSafeHwnd();
      ::ScreenToClient(target, &screen);
      auto start = Clock::now();
      ::SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
      g.Paint();
      total += MsSince(start);
      ++n;
    }
    if (::GetCapture()) ::ReleaseCapture();
  }
  state.counters["ms_per_move"] = total / n;
}

// An edit at the bottom: a digit starts the editor, Enter stores the text.
void BM_EditAtTheBottom(benchmark::State& state) {
  BigGrid& g = Grid();
  double total = 0;
  int n = 0;
  for (auto _ : state) {
    for (int i = 0; i < 200; ++i) {
      g.grid.SetFocus();
      g.grid.SetFocusCell(kRows - i, 3);
      g.grid.EnsureVisible(kRows - i, 3);
      g.Paint();
      auto start = Clock::now();
      g.Char(L'7');
      g.Char(L'\r');
      g.Paint();
      total += MsSince(start);
      ++n;
    }
  }
  state.counters["ms_per_edit"] = total / n;
}

BENCHMARK(BM_ArrowDownAtTheTop)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ArrowDownAtTheBottom)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PagesAndCorners)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WheelAtTheBottom)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PointerOverCellsAtTheBottom)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EditAtTheBottom)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
