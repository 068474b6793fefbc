#pragma once
// The current-density profiles of the tube for six relative permeabilities.
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"

namespace ferrant {

class TFormWykChart2 : public tk::TForm {
 public:
  TFormWykChart2();

  tk::TChart* Chart1;
  tk::TChartSeries* Series1;
  tk::TChartSeries* Series2;
  tk::TChartSeries* Series3;
  tk::TChartSeries* Series4;
  tk::TChartSeries* Series5;
  tk::TChartSeries* Series6;
  tk::TSavePictureDialog* SavePictureDialog1;

  void Chart1DblClick(tk::TObject* Sender);
};

extern TFormWykChart2* FormWykChart2;

}  // namespace ferrant
