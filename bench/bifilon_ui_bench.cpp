// links: bifilon_lib
// Bifilon's three buttons as the user runs them, with the window repainting
// afterwards.  Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include "bifilon/UnitBifilon.h"
#include "toolkit/Controls.h"
#include "toolkit/Testing.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"

namespace {

bifilon::TFormBifilon* Okno() {
  static bifilon::TFormBifilon* f = nullptr;
  if (f != nullptr) return f;
  // The window lives until the process ends, like the program's.
  tk::TApplication& app = *new tk::TApplication("Bifilon");
  app.CreateForm(f);
  tk::SetDecimalSeparator(',');
  tk::SetMessageHandler([](const tk::MessageRequest&) { return int(tk::mrOk); });
  f->ShowForm();
  tk::testing::ProcessEvents();
  return f;
}

void Uruchom(benchmark::State& state, void (bifilon::TFormBifilon::*obsluga)(tk::TObject*)) {
  bifilon::TFormBifilon* f = Okno();
  for (auto _ : state) {
    if (!tk::Dispatch([&] { (f->*obsluga)(nullptr); })) state.SkipWithError("the handler failed");
    tk::testing::ProcessEvents();
  }
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
