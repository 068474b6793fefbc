// links: plot toolkit numerics
// One plot of three curves of 201 points: recording only, and recording plus
// replay of the picture into a bitmap (what showing it costs).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "plot/Wykresy4.h"
#include "toolkit/controls/Controls.h"

namespace {

struct Stanowisko {
  std::unique_ptr<tk::TForm> form;
  tk::TImage* obraz = nullptr;
  std::unique_ptr<plot::TWykresy> wykres;

  Stanowisko() {
    tk::EnsureWindowing();
    form = std::make_unique<tk::TForm>();
    obraz = new tk::TImage(form.get());
    obraz->SetBounds(0, 0, 649, 401);
    wykres = std::make_unique<plot::TWykresy>(obraz, 200, 3);
    plot::TWykresy& w = *wykres;
    for (int j = 0; j <= 200; ++j) {
      w.FWek[0].Wek[j] = j * 0.25L;
      for (int k = 1; k <= 3; ++k) w.FWek[k].Wek[j] = 10 + 5 * sinl(j * 0.05L + k);
    }
    w.FWek[0].Jednostka.Tekst = "[mm]";
    w.FWek[0].Nazwa.Tekst = "r";
    w.FWek[1].Jednostka.Tekst = " [mV/m]";
    w.FWek[1].Nazwa.Tekst = "Ez(r)   f=50 [Hz]";
    w.FWek[2].Nazwa.Tekst = "        f=100 [Hz]";
    w.FWek[3].Nazwa.Tekst = "        f=500 [Hz]";
    w.FTytul = " Rozkład pola elektrycznego wzdłuż promienia";
  }
};

Stanowisko& Dane() {
  static Stanowisko s;
  return s;
}

void BM_WykresXY(benchmark::State& state) {
  Stanowisko& s = Dane();
  for (auto _ : state) benchmark::DoNotOptimize(s.wykres->WykresXY());
}
BENCHMARK(BM_WykresXY)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_WykresXYOdtworzony(benchmark::State& state) {
  Stanowisko& s = Dane();
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.wykres->WykresXY());
    auto bitmapa = s.obraz->Render();
    benchmark::DoNotOptimize(bitmapa.get());
  }
}
BENCHMARK(BM_WykresXYOdtworzony)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
