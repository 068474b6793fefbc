// links: mantlo_lib
// Mantlo's three chart buttons as the user runs them, with the window
// repainting afterwards, and the line chart with a large point count in
// both directions of x: the press up to the last point drawn, and a repaint
// of the chart once it holds them.
#include <functional>
#include <string>

#include "bench/Okna.h"
#include "grid/AlignedGrid.h"
#include "mantlo/Start.h"
#include "mantlo/UnitMantlo.h"
#include "toolkit/chart/Chart.h"

namespace {

void Uruchom(benchmark::State& state, const std::function<void(mantlo::TForm1*)>& przygotuj,
             void (mantlo::TForm1::*obsluga)(tk::TObject*)) {
  mantlo::TForm1* f = pomiary::GlowneOkno("Mantlo", mantlo::UtworzOkna);
  przygotuj(f);
  pomiary::Uruchom(state, [&] { (f->*obsluga)(nullptr); });
}

void Wiersze(mantlo::TForm1* f, const std::string& x1, const std::string& x2, const std::string& n) {
  f->AlignedGrid1->SetCells(1, 5, x1);
  f->AlignedGrid1->SetCells(1, 6, x2);
  f->AlignedGrid1->SetCells(1, 8, n);
}

// The line chart drawn once with N steps from x1 to x2, then repainted
// (as when another window uncovers it) in each round.
void Odrysowanie(benchmark::State& state, const std::string& x1, const std::string& x2, const std::string& n) {
  mantlo::TForm1* f = pomiary::GlowneOkno("Mantlo", mantlo::UtworzOkna);
  Wiersze(f, x1, x2, n);
  if (!tk::Dispatch([f] { f->BitBtn11Click(nullptr); })) state.SkipWithError("the handler failed");
  tk::testing::ProcessEvents();
  for (auto _ : state) {
    f->Chart1->Refresh();
    tk::testing::ProcessEvents();
  }
}

void BM_Przewod(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "-5,0", "5,0", "100"); }, &mantlo::TForm1::BitBtn10Click);
}
void BM_Izolacja(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "-5,0", "5,0", "100"); }, &mantlo::TForm1::BitBtn12Click);
}
void BM_Linia(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "-5,0", "5,0", "100"); }, &mantlo::TForm1::BitBtn11Click);
}
void BM_Linia_N100000_x1_mniejsze(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "-5,0", "5,0", "100000"); }, &mantlo::TForm1::BitBtn11Click);
}
void BM_Linia_N100000_x1_wieksze(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "5,0", "-5,0", "100000"); }, &mantlo::TForm1::BitBtn11Click);
}
void BM_Linia_N999999_x1_mniejsze(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "-5,0", "5,0", "999999"); }, &mantlo::TForm1::BitBtn11Click);
}
void BM_Linia_N999999_x1_wieksze(benchmark::State& s) {
  Uruchom(
      s, [](mantlo::TForm1* f) { Wiersze(f, "5,0", "-5,0", "999999"); }, &mantlo::TForm1::BitBtn11Click);
}
void BM_Odrysowanie_N100000_x1_mniejsze(benchmark::State& s) { Odrysowanie(s, "-5,0", "5,0", "100000"); }
void BM_Odrysowanie_N100000_x1_wieksze(benchmark::State& s) { Odrysowanie(s, "5,0", "-5,0", "100000"); }
void BM_Odrysowanie_N999999_x1_mniejsze(benchmark::State& s) { Odrysowanie(s, "-5,0", "5,0", "999999"); }
void BM_Odrysowanie_N999999_x1_wieksze(benchmark::State& s) { Odrysowanie(s, "5,0", "-5,0", "999999"); }

#define POMIAR(nazwa) BENCHMARK(nazwa)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
POMIAR(BM_Przewod);
POMIAR(BM_Izolacja);
POMIAR(BM_Linia);
POMIAR(BM_Linia_N100000_x1_mniejsze);
POMIAR(BM_Linia_N100000_x1_wieksze);
POMIAR(BM_Linia_N999999_x1_mniejsze);
POMIAR(BM_Linia_N999999_x1_wieksze);
POMIAR(BM_Odrysowanie_N100000_x1_mniejsze);
POMIAR(BM_Odrysowanie_N100000_x1_wieksze);
POMIAR(BM_Odrysowanie_N999999_x1_mniejsze);
POMIAR(BM_Odrysowanie_N999999_x1_wieksze);

}  // namespace

BENCHMARK_MAIN();
