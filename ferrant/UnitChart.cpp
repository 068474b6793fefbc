#include "ferrant/UnitChart.h"

#include "ferrant/UnitCylinder.h"

namespace ferrant {

TFormWykChart* FormWykChart = nullptr;

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

void UstawDialogMetapliku(tk::TSavePictureDialog& dialog) {
  dialog.Title = "Zapisz rysunek jako metaplik *.emf";
  dialog.FileName = "*.emf";
  dialog.Filter = tk::kGraphicFilter;
}

void ZapiszWykresEmf(tk::TChart& chart, tk::TSavePictureDialog& dialog) {
  if (dialog.Execute()) chart.SaveToMetafileEnh(dialog.FileName);
}

TFormWykChart::TFormWykChart() {
  Name = "FormWykChart";
  SetBounds(192, 107, 781, 565);
  SetCaption(" ");

  Chart1 = new tk::TChart(this);
  Chart1->Name = "Chart1";
  Chart1->SetAlign(tk::alClient);
  Chart1->Title.Text = {
      "Zależność strat mocy w przewodzie cylindrycznym od przenikalności magnetycznej wzglednej", "", ""};
  Chart1->Title.Font = Arial(tk::clBlue);
  Chart1->BottomAxis.Title = "Przenikalność względna przewodu";
  Chart1->BottomAxis.TitleFont = Arial(tk::clBlack);
  Chart1->BottomAxis.Increment = 1;
  Chart1->LeftAxis.Title = "Straty mocy w przewodzie w [kW]";
  Chart1->LeftAxis.TitleFont = Arial(tk::clBlack);
  // One series of labelled values: a legend would show only its colour.
  Chart1->LegendVisible = false;
  Chart1->View3D = true;
  Chart1->Chart3DPercent = 1;
  Chart1->BackWallFilled = false;
  Chart1->GradientVisible = true;
  Chart1->GradientEndColor = tk::clSilver;

  Series1 = Chart1->AddSeries();
  Series1->SeriesColor = tk::clRed;
  Series1->PointerVisible = false;
  Series1->MarksVisible = false;
  Series1->XValuesAscending = true;

  SavePictureDialog1 = new tk::TSavePictureDialog(this);
  UstawDialogMetapliku(*SavePictureDialog1);

  Chart1->OnDblClick = [this](tk::TObject* s) { Chart1DblClick(s); };
  Chart1->OnCanResize = [this](tk::TObject* s, int& w, int& h, bool& r) { Chart1CanResize(s, w, h, r); };
}

void TFormWykChart::Chart1DblClick(tk::TObject*) { ZapiszWykresEmf(*Chart1, *SavePictureDialog1); }

// A new size redraws the loss chart from the tubular window's grid as it
// stands.  Showing the window from inside may itself resize the chart: that
// nested request is accepted without a second computation.
void TFormWykChart::Chart1CanResize(tk::TObject*, int&, int&, bool& Resize) {
  Resize = true;
  if (recomputing_) return;
  recomputing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{recomputing_};
  Form3->BitBtn6Click(Chart1);
}

}  // namespace ferrant
