// Mantlo used with real input for a few thousand events on both windows: no
// crash, no hang, no box the program cannot give.
#include "mantlo/UnitChart.h"
#include "mantlo/UnitMantlo.h"
#include "support/Monkey.h"

namespace reliability {
namespace {

// The run-time's errors, the strict conversion's message for the point count
// and the refusal of a count whose points the chart cannot hold, in the
// program's box.
bool MantloBox(const tk::MessageRequest& m) {
  if (m.caption != "Mantlo") return false;
  if (RunTimeMessage(m.text) ||
      m.text == "Liczba kroków N musi być mniejsza niż 1000000: wykres mieści najwyżej 1000000 punktów")
    return true;
  const std::string tail = "' is not a valid integer value";
  return m.text.size() > tail.size() && m.text[0] == '\'' &&
         m.text.compare(m.text.size() - tail.size(), tail.size(), tail) == 0;
}

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
