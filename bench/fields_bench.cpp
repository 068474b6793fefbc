// links: ferrant_lib
// Speed of the field models of the three conductor kinds: one computation of
// the window's results (Oblicz and Kn), the Kn(f) plot (200 computations and
// the painter's drawing into the recorded picture) and a radial plot (two
// more computations, 603 field values and the drawing), at the windows'
// default inputs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include "ferrant/PoleCylindra.h"
#include "ferrant/PolePrzeWar.h"
#include "ferrant/PoleWalca.h"
#include "numerics/Stale4.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/MessageBox.h"

namespace {

using ferrant::TPoleCylindra;
using ferrant::TPolePrzeWar;
using ferrant::TPoleWalca;
using num::Extended;

using num::kMi0;

tk::TImage* Obraz() {
  static tk::TForm* forma = [] {
    tk::EnsureWindowing();
    return new tk::TForm();
  }();
  static tk::TImage* obraz = [] {
    auto* o = new tk::TImage(forma);
    o->SetBounds(0, 0, 500, 400);
    return o;
  }();
  return obraz;
}

std::unique_ptr<TPoleWalca> Walec() { return std::make_unique<TPoleWalca>(Obraz(), 1000, 50, kMi0, 55e6L, 0.05L, 200); }
std::unique_ptr<TPoleCylindra> Rura() {
  return std::make_unique<TPoleCylindra>(Obraz(), 63000, 50, kMi0, 56e6L, 0.98L, 1.0L, 200);
}
std::unique_ptr<TPolePrzeWar> Dwuwarstwowy() {
  return std::make_unique<TPolePrzeWar>(Obraz(), 500, 50, 200 * kMi0, kMi0, 8e6L, 34.8e6L, 0.015L, 0.019L, 200);
}

template <class Pole>
void Wyniki(benchmark::State& state, std::unique_ptr<Pole> p) {
  for (auto _ : state) {
    p->Oblicz();
    benchmark::DoNotOptimize(p->WspNaskorkowosci());
  }
}

template <class Pole>
void WykresKn(benchmark::State& state, std::unique_ptr<Pole> p) {
  for (auto _ : state) {
    p->WykresKn();
    benchmark::DoNotOptimize(p->Wykresy->FWek[1].Wek[200]);
  }
}

template <class Pole>
void WykresJ(benchmark::State& state, std::unique_ptr<Pole> p) {
  for (auto _ : state) {
    p->f = 50;
    p->Oblicz();
    p->WykresJ();
    benchmark::DoNotOptimize(p->Wykresy->FWek[1].Wek[200]);
  }
}

void BM_Walec_ObliczKn(benchmark::State& s) { Wyniki(s, Walec()); }
void BM_Rura_ObliczKn(benchmark::State& s) { Wyniki(s, Rura()); }
void BM_Dwuwarstwowy_ObliczKn(benchmark::State& s) { Wyniki(s, Dwuwarstwowy()); }
// The two-layer solve at f = range(0) Hz: from about 200 Hz to 30 kHz the
// layer's Hankel values come from the continued fraction.
void BM_Dwuwarstwowy_ObliczKn_f(benchmark::State& s) {
  auto p = Dwuwarstwowy();
  p->f = static_cast<Extended>(s.range(0));
  Wyniki(s, std::move(p));
}
void BM_Walec_WykresKn(benchmark::State& s) { WykresKn(s, Walec()); }
void BM_Rura_WykresKn(benchmark::State& s) { WykresKn(s, Rura()); }
void BM_Dwuwarstwowy_WykresKn(benchmark::State& s) { WykresKn(s, Dwuwarstwowy()); }
void BM_Walec_WykresJ(benchmark::State& s) { WykresJ(s, Walec()); }
void BM_Rura_WykresJ(benchmark::State& s) { WykresJ(s, Rura()); }
void BM_Dwuwarstwowy_WykresJ(benchmark::State& s) { WykresJ(s, Dwuwarstwowy()); }

BENCHMARK(BM_Walec_ObliczKn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rura_ObliczKn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dwuwarstwowy_ObliczKn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dwuwarstwowy_ObliczKn_f)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Walec_WykresKn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rura_WykresKn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dwuwarstwowy_WykresKn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Walec_WykresJ)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rura_WykresJ)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dwuwarstwowy_WykresJ)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // A refused plot would wait for a click: answer every box at once.
  tk::SetMessageHandler([](const tk::MessageRequest&) { return static_cast<int>(tk::mrOk); });
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
