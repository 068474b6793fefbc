// Ferrant: the electromagnetic field of solid, tubular and two-layer
// conductors carrying sinusoidal current.
#include "ferrant/Start.h"
#include "toolkit/controls/Controls.h"

int main() {
  tk::TApplication app("Ferrant");
  ferrant::UtworzOkna(app);
  app.Run();
  return 0;
}
