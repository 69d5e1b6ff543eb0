// The preset editor with a full colour frame's worth of items (240 x 320 pixels,
// two bytes each = 153,600 rows): loading and saving the working copy, and with the
// Qt UI built, opening the dialog, scrolling to the end, inserting a generated block
// in the middle and saving through OK.

#include <benchmark/benchmark.h>

#include "tools/BulkGenerator.h"
#include "tools/PresetTable.h"

#ifdef RADOVE_BENCH_UI
#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include "tools/CDataPreloadDlg.h"
#endif

namespace {

using radove::PresetList;

constexpr int kFrameItems = 240 * 320 * 2;

const PresetList& Frame() {
  static const PresetList items = [] {
    PresetList list;
    list.reserve(kFrameItems);
    list.push_back(radove::MakeDataItem(1, false, 0, 0x2C, "memory write"));
    for (int i = 1; i < kFrameItems; ++i) list.push_back(radove::MakeDataItem(i + 1, true, 0, (i * 37) & 0xFF));
    return list;
  }();
  return items;
}

void BM_TableLoad(benchmark::State& state) {
  const PresetList& items = Frame();
  for (auto _ : state) {
    radove::PresetTable table;
    table.Load(items);
    benchmark::DoNotOptimize(table.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * kFrameItems);
}
BENCHMARK(BM_TableLoad)->Unit(benchmark::kMillisecond);

void BM_TableSave(benchmark::State& state) {
  radove::PresetTable table;
  table.Load(Frame());
  for (auto _ : state) {
    PresetList saved = table.Save();
    benchmark::DoNotOptimize(saved.data());
  }
  state.SetItemsProcessed(state.iterations() * kFrameItems);
}
BENCHMARK(BM_TableSave)->Unit(benchmark::kMillisecond);

void BM_TableMoveFirstToBottom(benchmark::State& state) {
  radove::PresetTable table;
  table.Load(Frame());
  for (auto _ : state) benchmark::DoNotOptimize(table.MoveToBottom(0));
}
BENCHMARK(BM_TableMoveFirstToBottom)->Unit(benchmark::kMicrosecond);

#ifdef RADOVE_BENCH_UI

void EnsureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "bench_preset_editor";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// Construction with the list, shown and painted once.
void BM_DialogOpen(benchmark::State& state) {
  EnsureApplication();
  radove::GeneratorParameters generator;
  for (auto _ : state) {
    radove::CDataPreloadDlg dlg(Frame(), generator);
    dlg.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(dlg.Grid()->grab().width());
  }
}
BENCHMARK(BM_DialogOpen)->Unit(benchmark::kMillisecond);

// Jumping from the top to the bottom of the grid and painting what shows there.
void BM_DialogScrollToEnd(benchmark::State& state) {
  EnsureApplication();
  radove::GeneratorParameters generator;
  radove::CDataPreloadDlg dlg(Frame(), generator);
  dlg.show();
  QScrollBar* bar = dlg.Grid()->verticalScrollBar();
  for (auto _ : state) {
    bar->setValue(bar->maximum());
    benchmark::DoNotOptimize(dlg.Grid()->grab().width());
    bar->setValue(0);
    benchmark::DoNotOptimize(dlg.Grid()->grab().width());
  }
}
BENCHMARK(BM_DialogScrollToEnd)->Unit(benchmark::kMillisecond);

// 10,000 generated rows put before the middle row, then taken out again.
void BM_DialogInsertGeneratedInTheMiddle(benchmark::State& state) {
  EnsureApplication();
  radove::GeneratorParameters generator;
  generator.end = 20000;
  radove::Generate(generator, radove::kGenerateLimit);
  radove::CDataPreloadDlg dlg(Frame(), generator);
  for (auto _ : state) {
    dlg.InsertGenerated(kFrameItems / 2);
    state.PauseTiming();
    dlg.Model()->Load(Frame());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DialogInsertGeneratedInTheMiddle)->Unit(benchmark::kMillisecond);

// OK: the grid written back into a new list.
void BM_DialogSave(benchmark::State& state) {
  EnsureApplication();
  radove::GeneratorParameters generator;
  for (auto _ : state) {
    state.PauseTiming();
    auto dlg = std::make_unique<radove::CDataPreloadDlg>(Frame(), generator);
    state.ResumeTiming();
    dlg->accept();
    benchmark::DoNotOptimize(dlg->Result().size());
    state.PauseTiming();
    dlg.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DialogSave)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
