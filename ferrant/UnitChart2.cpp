#include "ferrant/UnitChart2.h"

#include "ferrant/UnitChart.h"

namespace ferrant {

TFormWykChart2* FormWykChart2 = nullptr;

TFormWykChart2::TFormWykChart2() {
  Name = "FormWykChart2";
  SetBounds(192, 107, 762, 573);
  SetCaption("FormWykChart2");

  Chart1 = UtworzWykresOkna(
      this, {"Rozkład gęstości prądu wzdłuż promienia dla różnych przenikalności magnetycznych względnych"},
      "Zmienność promienia od r1 do r2  w  [mm]", "Rozkład gęstości prądu dla różnych mi  [A/mm2]");
  Chart1->View3D = false;
  Chart1->BackWallFilled = false;
  Chart1->GradientVisible = true;
  Chart1->GradientEndColor = tk::clWhite;

  const tk::TColor kolory[6] = {tk::clRed, tk::clAqua, tk::clYellow, tk::clBlue, tk::clFuchsia, tk::clLime};
  tk::TChartSeries** serie[6] = {&Series1, &Series2, &Series3, &Series4, &Series5, &Series6};
  for (int i = 0; i < 6; ++i) {
    tk::TChartSeries* s = Chart1->AddSeries();
    s->SeriesColor = kolory[i];
    s->LineWidth = 2;
    s->PointerVisible = false;
    s->MarksVisible = false;
    s->XValuesAscending = true;
    *serie[i] = s;
  }

  SavePictureDialog1 = UtworzDialogMetapliku(this);

  Chart1->OnDblClick = [this](tk::TObject* s) { Chart1DblClick(s); };
}

void TFormWykChart2::Chart1DblClick(tk::TObject*) { ZapiszWykresEmf(*Chart1, *SavePictureDialog1); }

}  // namespace ferrant
