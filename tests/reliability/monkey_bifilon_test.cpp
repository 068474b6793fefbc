// Bifilon used with real input for a few thousand events: no crash, no hang,
// no box the program cannot give.
#include "bifilon/Start.h"
#include "support/Monkey.h"
#include "support/ProgramBoxes.h"

TEST(BifilonMonkey, RealInputOnEveryControl) {
  reliability::Monkey({"Bifilon", bifilon::UtworzOkna, reliability::BifilonBox}).Run();
}
