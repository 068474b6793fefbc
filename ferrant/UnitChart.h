#pragma once
// The chart of the tube's power loss against relative permeability.  The
// tubular-conductor window fills and shows it, and hands over the step that
// fills it: a resize runs that step again.
#include <string>
#include <vector>

#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"

namespace ferrant {

class TFormWykChart : public tk::TForm {
 public:
  TFormWykChart();

  tk::TChart* Chart1;
  tk::TChartSeries* Series1;
  tk::TSavePictureDialog* SavePictureDialog1;
  // The filling window's computation of the chart (its sender is the chart);
  // none until a window has filled it.
  tk::TNotifyEvent Przelicz;

  void Chart1DblClick(tk::TObject* Sender);
  void Chart1CanResize(tk::TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);

 private:
  bool recomputing_ = false;
};

extern TFormWykChart* FormWykChart;

// The chart filling a chart window: its title lines and axis titles in bold
// Arial, the title blue and the axis titles black.
tk::TChart* UtworzWykresOkna(tk::TForm* okno, std::vector<std::string> tytul, const std::string& osX,
                             const std::string& osY);
// The save dialog of both chart windows: any picture type may be chosen, the
// file written is always an enhanced metafile.
tk::TSavePictureDialog* UtworzDialogMetapliku(tk::TForm* okno);
// Writes the chart as an enhanced metafile under the name the user confirms.
void ZapiszWykresEmf(tk::TChart& chart, tk::TSavePictureDialog& dialog);

}  // namespace ferrant
