// Mantlo used with real input for a few thousand events on both windows: no
// crash, no hang, no box the program cannot give.
#include "mantlo/UnitChart.h"
#include "mantlo/UnitMantlo.h"
#include "support/Monkey.h"
#include "support/ProgramBoxes.h"

namespace reliability {
namespace {

TEST(MantloMonkey, RealInputOnBothWindows) {
  auto start = [] {
    auto app = std::make_unique<tk::TApplication>("Mantlo");
    mantlo::TForm1* main = nullptr;
    mantlo::TFormChartE* chart = nullptr;
    app->CreateForm(main);
    app->CreateForm(chart);
    return app;
  };
  Monkey monkey({"Mantlo", start, MantloBox});
  monkey.Run();
}

}  // namespace
}  // namespace reliability
