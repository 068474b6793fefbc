#include "ferrant/OknoPola.h"

namespace ferrant {

tk::TFont CzcionkaSiatki() {
  tk::TFont f;
  f.Name = "MS Sans Serif";
  f.Height = -11;
  f.Style = tk::fsBold;
  return f;
}

tk::TStringGrid* UtworzSiatkeDanych(tk::TWinControl* okno, int wiersze,
                                    const std::function<void(tk::TStringGrid&)>& wymiary, int x, int y, int szerokosc,
                                    int wysokosc) {
  auto* s = new tk::TStringGrid(okno);
  s->Name = "StringGrid1";
  s->SetColCount(2);
  s->SetRowCount(wiersze);
  s->SetFixedRows(0);
  s->SetFixedCols(1);
  wymiary(*s);
  s->SetScrollBars(tk::ssNone);
  s->SetOptions(tk::kDefaultGridOptions | tk::goEditing);
  s->SetFont(CzcionkaSiatki());
  s->SetBounds(x, y, szerokosc, wysokosc);
  return s;
}

void WpiszKolumne(tk::TStringGrid& siatka, int kolumna, const char* const* teksty, std::initializer_list<int> wiersze) {
  for (int w : wiersze) siatka.SetCells(kolumna, w, teksty[w]);
}

void UtworzPrzyciski(tk::TPanel* panel, std::initializer_list<Przycisk> przyciski, int x, int y, int krok,
                     int szerokosc, int wysokosc) {
  for (const Przycisk& p : przyciski) {
    auto* b = new tk::TBitBtn(panel);
    b->Name = p.nazwa;
    b->SetBounds(x, y, szerokosc, wysokosc);
    b->SetCaption(p.napis);
    b->OnClick = p.klik;
    *p.kontrolka = b;
    y += krok;
  }
}

void ObramujMape(tk::TImage& mapa) {
  tk::TCanvas& c = mapa.Canvas();
  c.Pen.Color = tk::clBlack;
  c.Brush.SetColor(tk::clWhite);
  c.Rectangle(0, 0, mapa.Width(), mapa.Height());
  mapa.Changed();
}

}  // namespace ferrant
