// Bifilon used with real input for a few thousand events: no crash, no hang,
// no box the program cannot give.
#include "bifilon/UnitBifilon.h"
#include "linalg/Algelin4.h"
#include "support/Monkey.h"

namespace reliability {
namespace {

// The run-time's errors in the program's box, the linear solver's in its own.
bool BifilonBox(const tk::MessageRequest& m) {
  if (m.caption == "Bifilon") return RunTimeMessage(m.text);
  if (m.caption == linalg::kTytulBledowAlgelin)
    for (const char* t : linalg::BledyAlgelin4)
      if (m.text == t) return true;
  return false;
}

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
