#include "ferrant/Start.h"

#include "ferrant/Unit1.h"
#include "ferrant/UnitChart.h"
#include "ferrant/UnitChart2.h"
#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitTyt.h"
#include "ferrant/UnitWalec.h"
#include "toolkit/controls/Controls.h"

namespace ferrant {

TForm0* UtworzOkna(tk::TApplication& app) {
  app.CreateForm(Form0);
  app.CreateForm(Form1);
  app.CreateForm(Form2);
  app.CreateForm(Form3);
  app.CreateForm(Form4);
  app.CreateForm(FormWykChart);
  app.CreateForm(FormWykChart2);
  return Form0;
}

}  // namespace ferrant
