// Character LCD speed: data writes through the module's input queue, and one full
// render of the widest panel.

#include <benchmark/benchmark.h>

#include "devices/character/CHD44780UModule.h"
#include "render/QtCanvas.h"

namespace radove {
namespace {

// One data item fed and executed at a time, as a run takes them.
void BM_Lcm1602DataWrites(benchmark::State& state) {
  CLCM1602HD44780U lcm{DeviceColours{}};
  lcm.FeedItem(0, 0, 0, 0x38, 0);
  lcm.FeedItem(0, 0, 0, 0x0E, 0);  // cursor on: every write moves the cursor line
  while (lcm.ProcessNextItem()) {
  }
  int code = 0x20;
  for (auto _ : state) {
    lcm.FeedItem(1, 0, 0, code, 0);
    benchmark::DoNotOptimize(lcm.ProcessNextItem());
    code = code == 0x7F ? 0x20 : code + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Lcm1602DataWrites);

// A 40x2 panel with every cell a full block (all 50 dots of ten rows lit, the
// cursor line aside), drawn into an image at canvas size.
void BM_Lcm4002FullPanelRender(benchmark::State& state) {
  CLCM4002HD44780U lcm{DeviceColours{}};
  for (int word : {0x38, 0x0C, 0x01, 0x80}) lcm.FeedItem(0, 0, 0, word, 0);
  for (int i = 0; i < 40; ++i) lcm.FeedItem(1, 0, 0, 0xFF, 0);
  lcm.FeedItem(0, 0, 0, 0xC0, 0);
  for (int i = 0; i < 40; ++i) lcm.FeedItem(1, 0, 0, 0xFF, 0);
  while (lcm.QueuedItems() > 0) lcm.ProcessNextItem();
  const CSurfaceBase& s = lcm.Surface();
  ImageTarget target(s.canvasWidth, s.canvasHeight);
  for (auto _ : state) {
    lcm.Render(target, kModeActive);
    benchmark::DoNotOptimize(target.Image().constBits());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Lcm4002FullPanelRender)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace radove
