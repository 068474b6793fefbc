#pragma once
// The chart of the tube's power loss against relative permeability.  The
// tubular-conductor window fills and shows it; a resize recomputes it.
#include "toolkit/Controls.h"
#include "toolkit/chart/Chart.h"

namespace ferrant {

class TFormWykChart : public tk::TForm {
 public:
  TFormWykChart();

  tk::TChart* Chart1;
  tk::TChartSeries* Series1;
  tk::TSavePictureDialog* SavePictureDialog1;

  void Chart1DblClick(tk::TObject* Sender);
  void Chart1CanResize(tk::TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);

 private:
  bool recomputing_ = false;
};

extern TFormWykChart* FormWykChart;

// The save dialog of both chart windows: any picture type may be chosen, the
// file written is always an enhanced metafile.
void UstawDialogMetapliku(tk::TSavePictureDialog& dialog);
// Writes the chart as an enhanced metafile under the name the user confirms.
void ZapiszWykresEmf(tk::TChart& chart, tk::TSavePictureDialog& dialog);

}  // namespace ferrant
