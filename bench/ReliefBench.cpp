// Relief drawing speed on the real Pyrenees terrain model: the whole map of
// 505 x 505 and 1000 x 1000 pixels with interpolation, contours and shading,
// from the grid window to the finished pixels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "flight/Geodesy.h"
#include "support/TestFiles.h"
#include "views/Relief.h"

namespace {

void drawRelief(benchmark::State& state) {
  quorvanta::TerrainModel terrain;
  if (const auto failure = quorvanta::loadTerrainModel(
          (quorvanta::test::testDataDir() / "dem" / "pyrenees").string(), terrain)) {
    state.SkipWithError(failure->c_str());
    return;
  }
  const int width = static_cast<int>(state.range(0));
  const double deg = quorvanta::DegToRad;
  // Most of the model: 0.7 degrees of latitude and 0.9 of longitude.
  const quorvanta::MapRect rect{42.78 * deg, 42.08 * deg, 1.93 * deg, 1.03 * deg};
  const quorvanta::ReliefOptions options{.contours = true, .shading = true};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(width));
  for (auto _ : state) {
    const auto range = quorvanta::reliefRange(terrain, rect);
    const auto index = quorvanta::reliefIndex(terrain, rect, width, width, range, true);
    const auto colours = quorvanta::reliefColourTable(options);
    quorvanta::writeReliefPixels(index, width, width, colours, true, pixels.data(),
                                 static_cast<std::size_t>(width));
    benchmark::DoNotOptimize(pixels.data());
  }
}

}  // namespace

BENCHMARK(drawRelief)->Arg(505)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
