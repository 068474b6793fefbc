#pragma once
// The chart of the tube's power loss against relative permeability.  The
// tubular-conductor window fills and shows it; a resize recomputes it.
#include <string>
#include <vector>

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
