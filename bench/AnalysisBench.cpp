// Drawing speed of the analysis windows for a full 16,384-fix flight into
// an 800 x 500 image: series or points computed, then painted.
#include <benchmark/benchmark.h>

#include <memory>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/AnalysisPainters.h"
#include "flight/IgcReader.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"
#include "views/Barogram.h"

namespace {

using namespace quorvanta;

struct Flight {
  Flight() {
    const test::ScratchDir scratch;
    const auto path = scratch.write("bench.igc", test::igcFile(test::generateTrack({.fixCount = MaxFixes, .seed = 9})));
    readFlightFile(path, *record);
  }
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  QImage image{800, 500, QImage::Format_RGB32};
};

Flight& flight() {
  static Flight shared;
  return shared;
}

void barogram(benchmark::State& bench) {
  Flight& f = flight();
  const auto kind = static_cast<SeriesKind>(bench.range(0));
  for (auto _ : bench) {
    f.state->KeepSeries = false;
    ErsterPlot(*f.record, kind, 0, "", *f.state);
    QPainter painter(&f.image);
    paintBarogram(painter, f.image.size(), *f.record, *f.state, kind == SeriesKind::Baro);
  }
}

void polar(benchmark::State& bench) {
  Flight& f = flight();
  const auto kind = static_cast<PolarKind>(bench.range(0));
  for (auto _ : bench) {
    computePolar(*f.record, kind, 0, *f.state);
    QPainter painter(&f.image);
    paintPolar(painter, f.image.size(), *f.record, *f.state, kind);
  }
}

void statistics(benchmark::State& bench) {
  Flight& f = flight();
  for (auto _ : bench) {
    QPainter painter(&f.image);
    paintIntervalStatistics(painter, f.image.size(), intervalHistogram(*f.record));
  }
}

void perspective(benchmark::State& bench) {
  Flight& f = flight();
  const MapRect map = fitToTrack(*f.record);
  PerspectiveView view;
  view.dropLines = bench.range(0) != 0;
  for (auto _ : bench) {
    QPainter painter(&f.image);
    paintPerspective(painter, f.image.size(),
                     perspectiveSketch(*f.record, map, view, {}, heightStep(*f.record), 0, 800, 500));
  }
}

}  // namespace

BENCHMARK(barogram)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);  // baro, vario, speed, heading
BENCHMARK(polar)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);     // velocity, polar curve
BENCHMARK(statistics)->Unit(benchmark::kMillisecond);
BENCHMARK(perspective)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);  // without, with drop lines

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
