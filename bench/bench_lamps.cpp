// Throughput of the device interface on the smallest devices: how many preset
// items per second pass FeedItem + ProcessNextItem, and what one frame costs.

#include <benchmark/benchmark.h>

#include "devices/led/CSimpleLed.h"
#include "devices/led/CTrafficRGYColorA.h"
#include "render/QtCanvas.h"

namespace {

using radove::DeviceColours;

void BM_LedFeedAndProcess(benchmark::State& state) {
  radove::CSimpleLed led{DeviceColours{}};
  radove::ItemCounter counter;
  led.AttachItemCounter(&counter);
  const auto n = state.range(0);
  for (auto _ : state) {
    for (std::int64_t i = 0; i < n; ++i) led.FeedItem(1, 0, 0, i, 0);
    while (led.ProcessNextItem(0)) {
    }
    benchmark::DoNotOptimize(led.Lit());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_LedFeedAndProcess)->Arg(76800);

template <class Device>
void BM_RenderAtCanvasSize(benchmark::State& state) {
  Device device{DeviceColours{}};
  device.FeedItem(1, 0, 0, 7, 0);
  device.ProcessNextItem(0);
  const auto& s = device.Surface();
  radove::ImageTarget target(s.canvasWidth, s.canvasHeight);
  for (auto _ : state) {
    device.Render(target, radove::kModeActive);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RenderAtCanvasSize<radove::CSimpleLed>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderAtCanvasSize<radove::CTrafficRGYColorA>)->Unit(benchmark::kMicrosecond);

}  // namespace
