// Bifilon: the electrostatic field of a screened two-core cable.
#include "bifilon/UnitBifilon.h"
#include "toolkit/Controls.h"

int main() {
  tk::TApplication app("Bifilon");
  bifilon::TFormBifilon* FormBifilon = nullptr;
  app.CreateForm(FormBifilon);
  app.Run();
  return 0;
}
