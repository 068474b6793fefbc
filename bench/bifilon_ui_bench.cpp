// links: bifilon_lib
// Bifilon's three buttons as the user runs them, with the window repainting
// afterwards.
#include "bench/Okna.h"
#include "bifilon/Start.h"
#include "bifilon/UnitBifilon.h"

namespace {

void Uruchom(benchmark::State& state, void (bifilon::TFormBifilon::*obsluga)(tk::TObject*)) {
  bifilon::TFormBifilon* f = pomiary::GlowneOkno("Bifilon", bifilon::UtworzOkna);
  pomiary::Uruchom(state, [&] { (f->*obsluga)(nullptr); });
}

void BM_Potencjal(benchmark::State& s) { Uruchom(s, &bifilon::TFormBifilon::BitBtn1Click); }
void BM_Natezenie(benchmark::State& s) { Uruchom(s, &bifilon::TFormBifilon::BitBtn2Click); }
void BM_Pojemnosci(benchmark::State& s) { Uruchom(s, &bifilon::TFormBifilon::BitBtn3Click); }

#define POMIAR(nazwa) BENCHMARK(nazwa)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
POMIAR(BM_Potencjal);
POMIAR(BM_Natezenie);
POMIAR(BM_Pojemnosci);

}  // namespace

BENCHMARK_MAIN();
