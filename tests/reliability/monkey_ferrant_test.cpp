// Ferrant used with real input for a few thousand events on all seven
// windows: no crash, no hang, no box the program cannot give.
#include "ferrant/Start.h"
#include "support/Monkey.h"
#include "support/ProgramBoxes.h"

namespace reliability {
namespace {

// Beyond what a press may show: a picture file that cannot be written, in
// the program's box, and the question before the program ends.
bool FerrantMonkeyBox(const tk::MessageRequest& m) {
  if (m.caption == "Ferrant" && m.text.rfind("Cannot create file \"", 0) == 0) return true;
  return FerrantBox(m) || (m.caption == "Confirm" && m.text == "Czy zamknąć aplikację");
}

TEST(FerrantMonkey, RealInputOnEveryWindow) { Monkey({"Ferrant", ferrant::UtworzOkna, FerrantMonkeyBox}).Run(); }

}  // namespace
}  // namespace reliability
