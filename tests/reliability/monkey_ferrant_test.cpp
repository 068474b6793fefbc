// Ferrant used with real input for a few thousand events on all seven
// windows: no crash, no hang, no box the program cannot give.
#include "ferrant/Unit1.h"
#include "ferrant/UnitChart.h"
#include "ferrant/UnitChart2.h"
#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitTyt.h"
#include "ferrant/UnitWalec.h"
#include "numerics/AlgMZes4.h"
#include "plot/Wykresy4.h"
#include "support/Monkey.h"

namespace reliability {
namespace {

using namespace ferrant;

bool InTable(const std::string& text, const char* const* table, int n) {
  for (int i = 0; i < n; ++i)
    if (text == table[i]) return true;
  return false;
}

// The run-time's errors and a picture file that cannot be written in the
// program's box, the solver's and the plot painter's messages in their
// modules' boxes, and the question before the program ends.
bool FerrantBox(const tk::MessageRequest& m) {
  if (m.caption == "Ferrant") return RunTimeMessage(m.text) || m.text.rfind("Cannot create file \"", 0) == 0;
  if (m.caption == plot::kCaptionWykresy4) return InTable(m.text, plot::BledyWykresy4, 5);
  if (m.caption == num::kCaptionAlgMZes4) return InTable(m.text, num::BledyAlgMZes4, 34);
  return m.caption == "Confirm" && m.text == "Czy zamknąć aplikację";
}

TEST(FerrantMonkey, RealInputOnEveryWindow) {
  auto start = [] {
    auto app = std::make_unique<tk::TApplication>("Ferrant");
    app->CreateForm(Form0);
    app->CreateForm(Form1);
    app->CreateForm(Form2);
    app->CreateForm(Form3);
    app->CreateForm(Form4);
    app->CreateForm(FormWykChart);
    app->CreateForm(FormWykChart2);
    return app;
  };
  Monkey monkey({"Ferrant", start, FerrantBox});
  monkey.Run();
}

}  // namespace
}  // namespace reliability
