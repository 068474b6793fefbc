// Bifilon used with real input for a few thousand events: no crash, no hang,
// no box the program cannot give.
#include "bifilon/UnitBifilon.h"
#include "linalg/Algelin4.h"
#include "support/Monkey.h"
#include "support/ProgramBoxes.h"

namespace reliability {
namespace {

TEST(BifilonMonkey, RealInputOnEveryControl) {
  auto start = [] {
    auto app = std::make_unique<tk::TApplication>("Bifilon");
    bifilon::TFormBifilon* form = nullptr;
    app->CreateForm(form);
    return app;
  };
  Monkey monkey({"Bifilon", start, BifilonBox});
  monkey.Run();
}

}  // namespace
}  // namespace reliability
