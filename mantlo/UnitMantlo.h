#pragma once
// The insulated conductor above earth: its window (the model in
// mantlo/model/ModelMantlo.h).
#include <cstdint>
#include <string>

#include "mantlo/model/ModelMantlo.h"
#include "numerics/AlgeZes4.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"

namespace grid {
class TAlignedGrid;
}

namespace mantlo {

using num::Extended;

class TForm1 : public tk::TForm {
 public:
  TForm1();
  ~TForm1() override;

  grid::TAlignedGrid* AlignedGrid1;
  tk::TGroupBox* GroupBox3;
  tk::TBitBtn* BitBtn10;
  tk::TBitBtn* BitBtn11;
  tk::TBitBtn* BitBtn12;
  tk::TChart* Chart1;
  tk::TChartSeries* Series1;

  void BitBtn10Click(tk::TObject* Sender);
  void BitBtn11Click(tk::TObject* Sender);
  void BitBtn12Click(tk::TObject* Sender);

  // The model from rows 0..4 of the grid.
  TUklad CzytajUklad();
  // The number of steps N from row 8, strictly converted; a count whose
  // N + 1 points the chart cannot hold is refused with a message.
  int32_t CzytajLiczbeKrokow();

 private:
  void WykresPowierzchni(bool izolacja);
};

}  // namespace mantlo
