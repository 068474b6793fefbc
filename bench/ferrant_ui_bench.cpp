// links: ferrant_lib
// The analysis windows' handlers as the user runs them: each button with its
// computation, plot and (where it has one) map, and the maps alone, with the
// window repainting afterwards.
#include <benchmark/benchmark.h>

#include <functional>

#include "bench/Okna.h"
#include "ferrant/Start.h"
#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitWalec.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"

namespace {

using namespace ferrant;

void Okna() {
  static bool gotowe = false;
  if (gotowe) return;
  gotowe = true;
  // The windows live until the process ends: destroying them from a static
  // destructor would run after Qt's own globals are gone.
  UtworzOkna(*new tk::TApplication("Ferrant"));
  tk::SetMessageHandler([](const tk::MessageRequest&) { return int(tk::mrOk); });
  Form2->ShowForm();
  Form3->ShowForm();
  Form4->ShowForm();
  tk::Dispatch([] { Form4->Odswiez(); });  // no show handler there: its map needs one computation first
  tk::testing::ProcessEvents();
}

void Uruchom(benchmark::State& state, const std::function<void()>& handler) {
  Okna();
  pomiary::Uruchom(state, handler);
}

#define OBSLUGA(nazwa, wyrazenie)       \
  void nazwa(benchmark::State& state) { \
    Uruchom(state, [] { wyrazenie; });  \
  }                                     \
  BENCHMARK(nazwa)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)

OBSLUGA(BM_Walec_Mapa, Form2->Image2Click(Form2->Image2));
OBSLUGA(BM_Walec_WykresE, Form2->BitBtn1Click(Form2->BitBtn1));
OBSLUGA(BM_Walec_WykresJ_i_mapa, Form2->BitBtn2Click(Form2->BitBtn2));
OBSLUGA(BM_Walec_WykresH, Form2->BitBtn3Click(Form2->BitBtn3));
OBSLUGA(BM_Walec_WykresKn, Form2->BitBtn4Click(Form2->BitBtn4));

OBSLUGA(BM_Cylinder_Mapa, Form3->Image2Click(Form3->Image2));
OBSLUGA(BM_Cylinder_WykresE, Form3->BitBtn1Click(Form3->BitBtn1));
OBSLUGA(BM_Cylinder_WykresH, Form3->BitBtn2Click(Form3->BitBtn2));
OBSLUGA(BM_Cylinder_WykresJ_i_mapa, Form3->BitBtn3Click(Form3->BitBtn3));
OBSLUGA(BM_Cylinder_WykresKn, Form3->BitBtn4Click(Form3->BitBtn4));
OBSLUGA(BM_Cylinder_WykresJ1f_i_mapa, Form3->BitBtn5Click(Form3->BitBtn5));
OBSLUGA(BM_Cylinder_StratyMi, Form3->BitBtn6Click(Form3->BitBtn6));
OBSLUGA(BM_Cylinder_ProfileMi, Form3->BitBtn8Click(Form3->BitBtn8));

OBSLUGA(BM_PrzeWar_Mapa, Form4->Image2Click(Form4->Image2));
OBSLUGA(BM_PrzeWar_WykresE, Form4->BitBtn1Click(Form4->BitBtn1));
OBSLUGA(BM_PrzeWar_WykresH, Form4->BitBtn2Click(Form4->BitBtn2));
OBSLUGA(BM_PrzeWar_WykresJ_i_mapa, Form4->BitBtn3Click(Form4->BitBtn3));
OBSLUGA(BM_PrzeWar_WykresKn, Form4->BitBtn4Click(Form4->BitBtn4));

}  // namespace

BENCHMARK_MAIN();
