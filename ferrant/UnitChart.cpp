#include "ferrant/UnitChart.h"

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

tk::TChart* UtworzWykresOkna(tk::TForm* okno, std::vector<std::string> tytul, const std::string& osX,
                             const std::string& osY) {
  auto* chart = new tk::TChart(okno);
  chart->Name = "Chart1";
  chart->SetAlign(tk::alClient);
  chart->Title.Text = std::move(tytul);
  chart->Title.Font = Arial(tk::clBlue);
  chart->BottomAxis.Title = osX;
  chart->BottomAxis.TitleFont = Arial(tk::clBlack);
  chart->LeftAxis.Title = osY;
  chart->LeftAxis.TitleFont = Arial(tk::clBlack);
  return chart;
}

tk::TSavePictureDialog* UtworzDialogMetapliku(tk::TForm* okno) {
  auto* dialog = new tk::TSavePictureDialog(okno);
  dialog->Title = "Zapisz rysunek jako metaplik *.emf";
  dialog->FileName = "*.emf";
  dialog->Filter = tk::kGraphicFilter;
  return dialog;
}

void ZapiszWykresEmf(tk::TChart& chart, tk::TSavePictureDialog& dialog) {
  if (dialog.Execute()) chart.SaveToMetafileEnh(dialog.FileName);
}

TFormWykChart::TFormWykChart() {
  Name = "FormWykChart";
  SetBounds(192, 107, 781, 565);
  SetCaption(" ");

  Chart1 = UtworzWykresOkna(
      this, {"Zależność strat mocy w przewodzie cylindrycznym od przenikalności magnetycznej wzglednej", "", ""},
      "Przenikalność względna przewodu", "Straty mocy w przewodzie w [kW]");
  Chart1->BottomAxis.Increment = 1;
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

  SavePictureDialog1 = UtworzDialogMetapliku(this);

  Chart1->OnDblClick = [this](tk::TObject* s) { Chart1DblClick(s); };
  Chart1->OnCanResize = [this](tk::TObject* s, int& w, int& h, bool& r) { Chart1CanResize(s, w, h, r); };
}

void TFormWykChart::Chart1DblClick(tk::TObject*) { ZapiszWykresEmf(*Chart1, *SavePictureDialog1); }

// A new size redraws the loss chart from the filling window's grid as it
// stands.  Showing the window from inside may itself resize the chart: that
// nested request is accepted without a second computation.
void TFormWykChart::Chart1CanResize(tk::TObject*, int&, int&, bool& Resize) {
  Resize = true;
  if (recomputing_ || !Przelicz) return;
  recomputing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{recomputing_};
  Przelicz(Chart1);
}

}  // namespace ferrant
