// The grid control at full size: 100,000 rows by 10 columns filled with
// SetItemText, sorted by a text column, auto-sized and painted once, each
// step timed. The sort is also shown as a ratio to std::sort of the same
// cells with the same compare, measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "GridCtrl.h"

namespace {

const int kRows = 100000;
const int kCols = 10;
const int kSortColumn = 3;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Texts of the sort column: a pseudo-random key with repeats.
CString KeyText(int row) {
  unsigned int x = static_cast<unsigned int>(row) * 2654435761u;
  CString text;
  text.Format(L"site %05u-%c", (x >> 8) % 60000u, static_cast<wchar_t>(L'A' + (x >> 3) % 26));
  return text;
}

void BM_GridFillSortAutoSizePaint(benchmark::State& state) {
  CWnd owner;
  owner.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 700, nullptr, nullptr);
  double fill = 0, sort = 0, stdSort = 0, autoSize = 0, paint = 0;
  for (auto _ : state) {
    CGridCtrl grid;
    grid.Create(CRect(0, 0, 1000, 700), &owner, 100, WS_CHILD | WS_VISIBLE);
    grid.SetRedraw(FALSE);

    auto start = std::chrono::steady_clock::now();
    grid.SetRowCount(kRows + 1);
    grid.SetColumnCount(kCols);
    grid.SetFixedRowCount(1);
    for (int row = 0; row <= kRows; ++row)
      for (int col = 0; col < kCols; ++col) {
        if (col == kSortColumn && row > 0) {
          grid.SetItemText(row, col, KeyText(row));
        } else {
          CString text;
          text.Format(L"r%d c%d", row, col);
          grid.SetItemText(row, col, text);
        }
      }
    fill += SecondsSince(start);

    // The same cells, the same compare, sorted by the standard library.
    std::vector<CGridCellBase*> cells;
    cells.reserve(kRows);
    for (int row = 1; row <= kRows; ++row) cells.push_back(grid.GetCell(row, kSortColumn));
    start = std::chrono::steady_clock::now();
    std::sort(cells.begin(), cells.end(), [](CGridCellBase* a, CGridCellBase* b) {
      return CGridCtrl::pfnCellTextCompare(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), 0) < 0;
    });
    stdSort += SecondsSince(start);
    benchmark::DoNotOptimize(cells.data());

    start = std::chrono::steady_clock::now();
    grid.SortItems(kSortColumn, TRUE);
    sort += SecondsSince(start);

    start = std::chrono::steady_clock::now();
    grid.AutoSize();
    autoSize += SecondsSince(start);

    grid.SetRedraw(TRUE, TRUE);
    start = std::chrono::steady_clock::now();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(1000, 700, 1, 32, nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    grid.OnDraw(&dc);
    dc.SelectObject(pOld);
    paint += SecondsSince(start);
  }
  double n = static_cast<double>(state.iterations());
  state.counters["fill_s"] = fill / n;
  state.counters["sort_s"] = sort / n;
  state.counters["std_sort_s"] = stdSort / n;
  state.counters["sort_ratio"] = stdSort > 0 ? sort / stdSort : 0;
  state.counters["autosize_s"] = autoSize / n;
  state.counters["paint_s"] = paint / n;
  owner.DestroyWindow();
}

BENCHMARK(BM_GridFillSortAutoSizePaint)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
