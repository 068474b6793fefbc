#pragma once
// A spare chart window: created hidden at start-up, never shown.
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"

namespace mantlo {

class TFormChartE : public tk::TForm {
 public:
  TFormChartE();
  tk::TChart* Chart1;
};

}  // namespace mantlo
