// Mantlo used with real input for a few thousand events on both windows: no
// crash, no hang, no box the program cannot give.
#include "mantlo/Start.h"
#include "support/Monkey.h"
#include "support/ProgramBoxes.h"

TEST(MantloMonkey, RealInputOnBothWindows) {
  reliability::Monkey({"Mantlo", mantlo::UtworzOkna, reliability::MantloBox}).Run();
}
