#include "mantlo/UnitChart.h"

namespace mantlo {

TFormChartE::TFormChartE() {
  Name = "FormChartE";
  SetCaption(" ");
  SetWidth(600);
  SetHeight(420);
  Chart1 = new tk::TChart(this);
  Chart1->Name = "Chart1";
  Chart1->SetAlign(tk::alClient);
  Chart1->View3D = false;
  Chart1->Title.Text.clear();
}

}  // namespace mantlo
