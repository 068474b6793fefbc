// Mantlo: the electric field of an insulated conductor above earth.
#include "mantlo/Start.h"
#include "toolkit/controls/Controls.h"

int main() {
  tk::TApplication app("Mantlo");
  mantlo::UtworzOkna(app);
  app.Run();
  return 0;
}
