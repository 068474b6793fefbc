// Mantlo: the electric field of an insulated conductor above earth.
#include "mantlo/UnitChart.h"
#include "mantlo/UnitMantlo.h"
#include "toolkit/Controls.h"

int main() {
  tk::TApplication app("Mantlo");
  mantlo::TForm1* Form1 = nullptr;
  mantlo::TFormChartE* FormChartE = nullptr;
  app.CreateForm(Form1);
  app.CreateForm(FormChartE);
  app.Run();
  return 0;
}
