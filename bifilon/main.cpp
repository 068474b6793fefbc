// Bifilon: the electrostatic field of a screened two-core cable.
#include "bifilon/Start.h"
#include "toolkit/controls/Controls.h"

int main() {
  tk::TApplication app("Bifilon");
  bifilon::UtworzOkna(app);
  app.Run();
  return 0;
}
