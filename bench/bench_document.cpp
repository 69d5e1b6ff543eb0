// Saving and loading a simulation with two full 240x320 colour frames in its
// preset list (153,600 items), in memory and through a file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "document/CRadoveDoc.h"

namespace {

using namespace radove;

constexpr int kItems = 2 * 240 * 320;

const DocumentContents& TwoFrames() {
  static const DocumentContents contents = [] {
    DocumentContents c;
    c.librarySelection = {4, 1, 7};
    c.currentDeviceId = 700700;
    c.className = "CLCM240320ILI9341Z";
    c.classFileName = "CLCM240320ILI9341Z";
    PresetList items;
    items.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
      // RGB565 pixel bytes, a remark on the first byte of every row.
      const std::int64_t value = (i * 2654435761u) & 0xFF;
      items.push_back(MakeDataItem(i + 1, true, 0, value, i % 480 == 0 ? "第" + std::to_string(i / 480) + "行" : ""));
    }
    c.presetLists[c.currentDeviceId] = std::move(items);
    return c;
  }();
  return contents;
}

std::string TempPath() {
  return (std::filesystem::temp_directory_path() / "radove-bench-document.redu").string();
}

void BM_EncodeTwoFrames(benchmark::State& state) {
  const DocumentContents& c = TwoFrames();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto encoded = EncodeDocument(c);
    bytes = encoded.size();
    benchmark::DoNotOptimize(encoded.data());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_EncodeTwoFrames)->Unit(benchmark::kMillisecond);

void BM_DecodeTwoFrames(benchmark::State& state) {
  const auto encoded = EncodeDocument(TwoFrames());
  for (auto _ : state) {
    DocumentContents c = DecodeDocument(encoded);
    benchmark::DoNotOptimize(c.presetLists.size());
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_DecodeTwoFrames)->Unit(benchmark::kMillisecond);

void BM_SaveFileTwoFrames(benchmark::State& state) {
  CRadoveDoc doc;
  doc.LoadFromBytes(EncodeDocument(TwoFrames()));
  const std::string path = TempPath();
  for (auto _ : state) doc.Save(path);
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_SaveFileTwoFrames)->Unit(benchmark::kMillisecond);

void BM_LoadFileTwoFrames(benchmark::State& state) {
  const std::string path = TempPath();
  {
    CRadoveDoc doc;
    doc.LoadFromBytes(EncodeDocument(TwoFrames()));
    doc.Save(path);
  }
  CRadoveDoc doc;
  for (auto _ : state) {
    doc.Load(path);
    benchmark::DoNotOptimize(doc.Presets());
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_LoadFileTwoFrames)->Unit(benchmark::kMillisecond);

}  // namespace
