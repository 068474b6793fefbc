// Ferrant: the electromagnetic field of solid, tubular and two-layer
// conductors carrying sinusoidal current.
#include "ferrant/Unit1.h"
#include "ferrant/UnitChart.h"
#include "ferrant/UnitChart2.h"
#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitTyt.h"
#include "ferrant/UnitWalec.h"
#include "toolkit/Controls.h"

int main() {
  tk::TApplication app("Ferrant");
  // The title window first: it is the main window, and closing it ends the program.
  app.CreateForm(ferrant::Form0);
  app.CreateForm(ferrant::Form1);
  app.CreateForm(ferrant::Form2);
  app.CreateForm(ferrant::Form3);
  app.CreateForm(ferrant::Form4);
  app.CreateForm(ferrant::FormWykChart);
  app.CreateForm(ferrant::FormWykChart2);
  app.Run();
  return 0;
}
