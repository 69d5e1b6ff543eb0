// How long the inspection grids take for the largest inspections: a colour module's
// memory pane with 320 GRAM pages of 240 entries (76,800 rows) and an ST7920's 64
// GDRAM pages. A full update runs when a device is created or a file opened; a quick
// update after every single step, so it must stay far below a frame's time.

#include <benchmark/benchmark.h>

#ifdef RADOVE_BENCH_UI

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "core/Records.h"
#include "panes/CClassView.h"
#include "panes/CMemoryWnd.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_panes";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

radove::InspectionSnapshot Pages(int pages, int columns, int seed) {
  radove::InspectionSnapshot s;
  s.model = "ILI9341";
  radove::ChipDescriptor chip;
  chip.name = "ILI9341";
  char buf[64];
  int tag = 0;
  for (int p = 0; p < pages; ++p) {
    radove::InspectionGroup g;
    std::snprintf(buf, sizeof buf, "PAGE%d(列地址:数据)", p);
    g.name = buf;
    g.entries.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
      radove::InspectionEntry e;
      std::snprintf(buf, sizeof buf, "0x%03X", c);
      e.name = buf;
      std::snprintf(buf, sizeof buf, "0x%05X", (p * 7 + c * 13 + seed) & 0xFFFFF);
      e.value = buf;
      std::snprintf(buf, sizeof buf, "GRAM列地址0x%03X中存储的显示数据", c);
      e.description = buf;
      e.tag = tag++;
      g.entries.push_back(std::move(e));
    }
    chip.memory.push_back(std::move(g));
  }
  s.chips.push_back(std::move(chip));
  return s;
}

// The first update creates the rows; later ones reuse them.
void BM_MemoryPaneFirstFullUpdate(benchmark::State& state) {
  App();
  const auto snap = Pages(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0);
  for (auto _ : state) {
    radove::CMemoryWnd pane;
    pane.resize(320, 600);
    pane.UpdatePane(snap, radove::CMemoryWnd::kFull);
    benchmark::DoNotOptimize(pane.Visible());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_MemoryPaneFirstFullUpdate)->Args({320, 240})->Args({64, 16})->Unit(benchmark::kMillisecond);

void BM_MemoryPaneReusedFullUpdate(benchmark::State& state) {
  App();
  const auto a = Pages(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0);
  const auto b = Pages(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 1);
  radove::CMemoryWnd pane;
  pane.resize(320, 600);
  pane.UpdatePane(a, radove::CMemoryWnd::kFull);
  bool flip = false;
  for (auto _ : state) {
    pane.UpdatePane(flip ? a : b, radove::CMemoryWnd::kFull);
    flip = !flip;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_MemoryPaneReusedFullUpdate)->Args({320, 240})->Args({64, 16})->Unit(benchmark::kMillisecond);

// A single step on a large memory: every value rewritten (worst case) or none.
void BM_MemoryPaneQuickUpdate(benchmark::State& state) {
  App();
  const auto a = Pages(320, 240, 0);
  const auto b = Pages(320, 240, state.range(0));
  radove::CMemoryWnd pane;
  pane.resize(320, 600);
  pane.show();
  pane.UpdatePane(a, radove::CMemoryWnd::kFull);
  bool flip = false;
  for (auto _ : state) {
    pane.UpdatePane(flip ? a : b, radove::CMemoryWnd::kQuick);
    QApplication::processEvents();  // the repaint the change causes
    flip = !flip;
  }
  state.SetLabel(state.range(0) ? "all values change" : "no value changes");
}
BENCHMARK(BM_MemoryPaneQuickUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MemoryPaneClear(benchmark::State& state) {
  App();
  const auto snap = Pages(320, 240, 0);
  radove::CMemoryWnd pane;
  for (auto _ : state) {
    state.PauseTiming();
    pane.UpdatePane(snap, radove::CMemoryWnd::kFull);
    state.ResumeTiming();
    pane.ClearPane();
  }
}
BENCHMARK(BM_MemoryPaneClear)->Unit(benchmark::kMillisecond);

// A full 240x320 frame as a preset list: 76,800 items in the data tree.
void BM_DataTreeRebuild(benchmark::State& state) {
  App();
  radove::PresetList list;
  for (int i = 0; i < 76800; ++i) list.push_back(radove::MakeDataItem(i + 1, true, 0, i & 0xFFFF));
  radove::CClassView tree;
  tree.resize(250, 600);
  tree.show();
  for (auto _ : state) {
    tree.RebuildDataTree(false, &list);
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(list.size()));
}
BENCHMARK(BM_DataTreeRebuild)->Unit(benchmark::kMillisecond);

}  // namespace

#endif
