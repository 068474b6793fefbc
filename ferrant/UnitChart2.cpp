#include "ferrant/UnitChart2.h"

#include "ferrant/UnitChart.h"

namespace ferrant {

TFormWykChart2* FormWykChart2 = nullptr;

namespace {

tk::TFont Arial(tk::TColor color) {
  tk::TFont f;
  f.Name = "Arial";
  f.Height = -13;
  f.Color = color;
  f.Style = tk::fsBold;
  return f;
}

}  // namespace

TFormWykChart2::TFormWykChart2() {
  Name = "FormWykChart2";
  SetBounds(192, 107, 762, 573);
  SetCaption("FormWykChart2");

  Chart1 = new tk::TChart(this);
  Chart1->Name = "Chart1";
  Chart1->SetAlign(tk::alClient);
  Chart1->Title.Text = {
      "Rozkład gęstości prądu wzdłuż promienia dla różnych przenikalności magnetycznych względnych"};
  Chart1->Title.Font = Arial(tk::clBlue);
  Chart1->BottomAxis.Title = "Zmienność promienia od r1 do r2  w  [mm]";
  Chart1->BottomAxis.TitleFont = Arial(tk::clBlack);
  Chart1->LeftAxis.Title = "Rozkład gęstości prądu dla różnych mi  [A/mm2]";
  Chart1->LeftAxis.TitleFont = Arial(tk::clBlack);
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

  SavePictureDialog1 = new tk::TSavePictureDialog(this);
  UstawDialogMetapliku(*SavePictureDialog1);

  Chart1->OnDblClick = [this](tk::TObject* s) { Chart1DblClick(s); };
}

void TFormWykChart2::Chart1DblClick(tk::TObject*) { ZapiszWykresEmf(*Chart1, *SavePictureDialog1); }

}  // namespace ferrant
