#include "mantlo/Start.h"

#include "mantlo/UnitChart.h"
#include "mantlo/UnitMantlo.h"
#include "toolkit/controls/Controls.h"

namespace mantlo {

TForm1* UtworzOkna(tk::TApplication& app) {
  TForm1* Form1 = nullptr;
  TFormChartE* FormChartE = nullptr;
  app.CreateForm(Form1);
  app.CreateForm(FormChartE);
  return Form1;
}

}  // namespace mantlo
