// Saving and loading large drawings, and recording an undo snapshot.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"
#include "model/undo.h"
#include "persist/drawing_file.h"
#include "platform/atomic_file.h"

namespace {

std::unique_ptr<qm::TCadGroup> MakeLayer(int n) {
  auto g = std::make_unique<qm::TCadGroup>(nullptr, 1, "Layer 1");
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0, 1000);
  for (int i = 0; i < n; ++i) {
    qm::TPointD a{u(rng), u(rng)}, b{u(rng), u(rng)};
    switch (i % 3) {
      case 0: g->InsertMember(std::make_unique<qm::TCadLine>(a, b)); break;
      case 1: g->InsertMember(std::make_unique<qm::TCadArc>(a, b, 0.5)); break;
      default: g->InsertMember(std::make_unique<qm::TCadCirc>(a, 3.0)); break;
    }
  }
  return g;
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

std::vector<std::uint32_t> gPixels(320 * 240, 0xFF000000u);
qm::TPreviewSource Preview() { return {320, 240, 320, gPixels.data()}; }

void BM_SaveDrawing(benchmark::State& state) {
  auto layer = MakeLayer(static_cast<int>(state.range(0)));
  qm::TDrawingToSave d;
  d.layers = {layer.get()};
  d.activeLayer = 0;
  std::string path = TempPath("qm-bench-save.qmd");
  for (auto _ : state) {
    auto rep = qm::SaveDrawingFile(path, d, Preview());
    benchmark::DoNotOptimize(rep);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDrawing)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadDrawing(benchmark::State& state) {
  std::string path = TempPath("qm-bench-load.qmd");
  {
    auto layer = MakeLayer(static_cast<int>(state.range(0)));
    qm::TDrawingToSave d;
    d.layers = {layer.get()};
    qm::SaveDrawingFile(path, d, Preview());
  }
  for (auto _ : state) {
    qm::TLoadedDrawing loaded;
    auto rep = qm::LoadDrawingFile(path, false, loaded);
    if (rep.result != qm::kLoadOk) state.SkipWithError(rep.message.c_str());
    benchmark::DoNotOptimize(loaded.layers.size());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDrawing)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same number of bytes written and read sequentially, for comparison.
void BM_SequentialWrite(benchmark::State& state) {
  std::string bytes(static_cast<std::size_t>(state.range(0)), 'x');
  std::string path = TempPath("qm-bench-seq.bin");
  for (auto _ : state) benchmark::DoNotOptimize(qm::platform::WriteFileAtomically(path, bytes));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SequentialWrite)->Arg(42020675)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SequentialRead(benchmark::State& state) {
  std::string path = TempPath("qm-bench-seq.bin");
  qm::platform::WriteFileAtomically(path, std::string(static_cast<std::size_t>(state.range(0)), 'x'));
  for (auto _ : state) {
    std::string out;
    benchmark::DoNotOptimize(qm::platform::ReadWholeFile(path, out, std::size_t(1) << 30));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SequentialRead)->Arg(42020675)->Unit(benchmark::kMillisecond)->Iterations(3);

struct BenchStore : qm::TSnapshotStore {
  qm::TDrawingToSave d;
  bool SaveSnapshot(const std::string& path) override {
    return qm::SaveDrawingFile(path, d, Preview()).result == qm::kSaveOk;
  }
  bool LoadSnapshot(const std::string&) override { return false; }
};

void BM_RecordUndoStep(benchmark::State& state) {
  auto layer = MakeLayer(static_cast<int>(state.range(0)));
  BenchStore store;
  store.d.layers = {layer.get()};
  std::string dir = TempPath("qm-bench-mail");
  std::filesystem::create_directories(dir);
  qm::TUndoList list(dir, std::to_string(::getpid()), store, nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(list.Record("step"));
  list.ClearAll();
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecordUndoStep)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
