// The tubular-conductor window and its chart windows: results and power
// loss, the grid's exit handler, the map, the loss and profile charts, and
// the picture files.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "ferrant/MapaGestosci.h"
#include "ferrant/PoleCylindra.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "tests/support/TestFiles.h"
#include "toolkit/core/Errors.h"
#include "toolkit/pictures/Jpeg.h"
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

using num::Extended;
using num::kMi0;
using tk::testing::RecordingDialogs;

const std::vector<std::string> kDomyslne = {"63000", "50", " 1.0 ", "56,0  ", "980,0", "1000,0", "", "", "3,2", "", ""};

std::vector<uint8_t> Plik(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

class CylinderTest : public WykresyRuryTest {
 protected:
  void SetUp() override {
    Schowaj(Form3);
    SetColumn(Form3->StringGrid1, 1, kDomyslne);
    Form3->ShowForm();
    tk::testing::ProcessEvents();
  }
  static std::string Wiersz(int row) { return Form3->StringGrid1->Cells(1, row); }
  static Extended Wartosc(int row) { return num::StrToFloatZero(Wiersz(row)); }
  // R' [Ω/m] of the default tube with another permeability, from a field object of the test's own.
  static Extended Rezystancja(Extended mir) {
    TPoleCylindra p(nullptr, 63000, 50, mir * 4.0L * 3.14159265358979323846264L * 1e-7L, 56e6L, 0.98L, 1.0L, 200);
    p.Oblicz();
    return p.Rezystancja();
  }
  // Puts text into a cell as the user types it: focus, select, type.
  static void Wpisz(int row, const std::string& text) {
    tk::TStringGrid* g = Form3->StringGrid1;
    g->SetCurrentCell(1, row);
    tk::testing::ProcessEvents();
    tk::testing::SetFocus(g);
    EXPECT_TRUE(g->Focused()) << "active " << Form3->Active() << " f0 " << Form0->Active() << " f1 " << Form1->Active()
                              << " vis " << Form3->Visible();
    tk::testing::TypeText(g, text);
  }
};

TEST_F(CylinderTest, LayoutOfTheWindowAndItsCharts) {
  EXPECT_EQ(Form3->Caption(), "Przewód cylindryczny z prądem sinusoidalnie zmiennym");
  tk::TStringGrid* g = Form3->StringGrid1;
  EXPECT_EQ(g->RowCount(), 11);
  EXPECT_EQ(g->ColWidth(0), 290);
  EXPECT_EQ(g->ColWidth(1), 290);
  EXPECT_EQ(g->RowHeight(6), 19);
  EXPECT_EQ(g->RowHeight(5), 20);
  EXPECT_EQ(g->Cells(0, 8), "Długość przewodu w [m]");
  EXPECT_EQ(g->Cells(0, 9), "Moc czynna w [W]");
  EXPECT_EQ(Form3->Image1->Height(), 450);
  EXPECT_EQ(Form3->BitBtn8->Caption(), "Gęstość prądu  mi=var");
  EXPECT_EQ(Form3->BitBtn6->Caption(), "Wykres  dP(mi)");
  EXPECT_EQ(Form3->BitBtn7->Caption(), "Pokaż rysunki");
  EXPECT_EQ(Form3->Panel1->Color(), tk::clBlue);

  EXPECT_EQ(FormWykChart->Caption(), " ");
  EXPECT_EQ(FormWykChart->Chart1->Title.Text.size(), 3u);
  EXPECT_EQ(FormWykChart->Chart1->BottomAxis.Increment, 1);
  EXPECT_EQ(FormWykChart->Series1->SeriesColor, tk::clRed);
  EXPECT_EQ(FormWykChart2->Caption(), "FormWykChart2");
  ASSERT_EQ(FormWykChart2->Chart1->SeriesCount(), 6);
  EXPECT_EQ(FormWykChart2->Series2->SeriesColor, tk::clAqua);
  EXPECT_EQ(FormWykChart2->Series6->SeriesColor, tk::clLime);
  EXPECT_EQ(FormWykChart2->Series6->LineWidth, 2);
}

TEST_F(CylinderTest, ShowingWritesResultsAndPowerLoss) {
  Schowaj(Form3);
  for (char sep : {',', '.'}) {
    Separator s(sep);
    SetColumn(Form3->StringGrid1, 1, kDomyslne);
    Form3->ShowForm();
    tk::testing::ProcessEvents();
    const Extended R = Rezystancja(1);
    EXPECT_EQ(Wiersz(TForm3::kRezystancja), num::FloatToStrSkal(R, 1e6L, 2));
    EXPECT_EQ(Wiersz(TForm3::kRezystancja), Liczba("0,29"));
    EXPECT_EQ(Wiersz(TForm3::kReaktancja), Liczba("0,30"));
    EXPECT_NEAR(Wartosc(TForm3::kKn), 2.008, 0.001);
    EXPECT_EQ(Wiersz(TForm3::kMoc), num::FloatToStrSkal(63000.0L * 63000.0L * R * 3.2L, 1, 2));
    Schowaj(Form3);
  }
}

// An edit reaches the outputs through the grid's exit handler before a
// button's own work; the loss button itself writes nothing into the grid.
TEST_F(CylinderTest, ExitHandlerRefreshesBeforeTheButton) {
  const Extended P = Wartosc(TForm3::kMoc);
  Wpisz(TForm3::kDlugosc, "6,4");
  tk::testing::ClickButton(Form3->BitBtn6);
  EXPECT_EQ(Wiersz(TForm3::kDlugosc), "6,4");
  EXPECT_NEAR(Wartosc(TForm3::kMoc), 2 * P, 0.02);
  EXPECT_TRUE(FormWykChart->Visible());
}

TEST_F(CylinderTest, LossChartHoldsFortyOneValuesStartingAtPermeabilityOne) {
  Form3->StringGrid1->SetCells(1, TForm3::kPrzenikalnosc, "50");
  tk::testing::ClickButton(Form3->BitBtn6);
  EXPECT_TRUE(FormWykChart->Visible());
  tk::TChartSeries* s = FormWykChart->Series1;
  ASSERT_EQ(s->Count(), 41);
  EXPECT_EQ(s->Point(0).label, "1");
  EXPECT_EQ(s->Point(1).label, "5");
  EXPECT_EQ(s->Point(2).label, "10");
  EXPECT_EQ(s->Point(40).label, "200");
  for (int i = 0; i < 41; ++i) {
    EXPECT_EQ(s->XValue(i), i);
    EXPECT_EQ(s->Point(i).color, tk::clBlue);
  }
  const double kW = 63000.0 * 63000.0 * 3.2 * 0.001;
  EXPECT_NEAR(s->YValue(0), kW * static_cast<double>(Rezystancja(1)), 1e-9);
  EXPECT_NEAR(s->YValue(40), kW * static_cast<double>(Rezystancja(200)), 1e-9);
  EXPECT_GT(s->YValue(40), s->YValue(0));
  // The grid stays; the field object is left at 200.
  EXPECT_EQ(Wiersz(TForm3::kPrzenikalnosc), "50");
  EXPECT_NEAR(static_cast<double>(PoleCylindra->mi), 200 * 4e-7 * M_PI, 1e-12);
  // Pressed again: the series is refilled, not extended.
  tk::testing::ClickButton(Form3->BitBtn6);
  EXPECT_EQ(s->Count(), 41);
}

TEST_F(CylinderTest, ResizingTheLossChartRecomputesItFromTheGrid) {
  tk::testing::ClickButton(Form3->BitBtn6);
  const double przed = FormWykChart->Series1->YValue(0);
  Form3->StringGrid1->SetCells(1, TForm3::kDlugosc, "6,4");
  int w = 700, h = 500;
  bool resize = false;
  FormWykChart->Chart1CanResize(FormWykChart->Chart1, w, h, resize);
  EXPECT_TRUE(resize);
  EXPECT_EQ(w, 700);
  EXPECT_NEAR(FormWykChart->Series1->YValue(0), 2 * przed, 1e-9);
  // The window's own resize asks the chart the same way.
  Form3->StringGrid1->SetCells(1, TForm3::kDlugosc, "3,2");
  FormWykChart->SetBounds(FormWykChart->Left(), FormWykChart->Top(), 700, 520);
  tk::testing::ProcessEvents();
  EXPECT_NEAR(FormWykChart->Series1->YValue(0), przed, 1e-9);
  FormWykChart->SetBounds(192, 107, 781, 565);
}

TEST_F(CylinderTest, SixProfilesAcrossTheWall) {
  tk::testing::ClickButton(Form3->BitBtn8);
  EXPECT_TRUE(FormWykChart2->Visible());
  const char* tytuly[6] = {"mi=1", "mi=5", "mi=10", "mi=50", "mi=100", "mi=200"};
  for (int k = 0; k < 6; ++k) {
    tk::TChartSeries* s = FormWykChart2->Chart1->Series(k);
    EXPECT_EQ(s->Title, tytuly[k]);
    ASSERT_EQ(s->Count(), 100);
    EXPECT_NEAR(s->XValue(0), 980, 1e-9);
    EXPECT_NEAR(s->XValue(99), 1000, 1e-9);
    EXPECT_NEAR(s->XValue(1) - s->XValue(0), 20.0 / 99, 1e-9);
    EXPECT_EQ(s->Point(5).color, s->SeriesColor);
    EXPECT_EQ(s->Point(5).label, "");
    // The density grows towards the outer surface.
    EXPECT_GT(s->YValue(99), s->YValue(0));
  }
  // At the surface |J| = I / (2 pi r2) times |m| ... compare with a field object of our own.
  TPoleCylindra p(nullptr, 63000, 50, 200 * 4.0L * 3.14159265358979323846264L * 1e-7L, 56e6L, 0.98L, 1.0L, 200);
  p.Oblicz();
  EXPECT_NEAR(FormWykChart2->Series6->YValue(99), static_cast<double>(num::ModZ(p.GestoscJ(1.0L)) * 1e-6L), 1e-6);
  EXPECT_TRUE(tk::testing::SaveWindowPng(FormWykChart2, testsupport::PicturePath("ferrant_chart2.png")));
  tk::testing::ClickButton(Form3->BitBtn6);
  EXPECT_TRUE(tk::testing::SaveWindowPng(FormWykChart, testsupport::PicturePath("ferrant_chart1.png")));
}

// After the radii changed without a new reading (a pick in the selection
// window), the profiles still span the wall as it stands in the grid.
TEST_F(CylinderTest, ProfilesFollowTheRadiiInTheGrid) {
  Form3->StringGrid1->SetCells(1, TForm3::kPromienW, "90,0");
  Form3->StringGrid1->SetCells(1, TForm3::kPromienZ, "100,0");
  Form3->BitBtn8Click(Form3->BitBtn8);
  EXPECT_NEAR(FormWykChart2->Series1->XValue(0), 90, 1e-9);
  EXPECT_NEAR(FormWykChart2->Series1->XValue(99), 100, 1e-9);
}

TEST_F(CylinderTest, ZeroInputsShowTheErrorAndKeepTheRows) {
  const std::vector<std::string> przed = Column(Form3->StringGrid1, 1);
  RecordingDialogs dialogs;
  Form3->StringGrid1->SetCells(1, TForm3::kPromienW, "1000,0");  // r1 = r2
  tk::testing::ClickButton(Form3->BitBtn1);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "Ferrant");
  EXPECT_FALSE(dialogs.messages[0].text.empty());
  for (int row : {TForm3::kRezystancja, TForm3::kKn, TForm3::kMoc, TForm3::kReaktancja})
    EXPECT_EQ(Wiersz(row), przed[row]);
  dialogs.Clear();
  Form3->StringGrid1->SetCells(1, TForm3::kPromienW, "980,0");
  Form3->StringGrid1->SetCells(1, TForm3::kKonduktywnosc, "x");
  tk::testing::ClickButton(Form3->BitBtn6);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  dialogs.Clear();
  SetColumn(Form3->StringGrid1, 1, kDomyslne);
  tk::testing::ClickButton(Form3->BitBtn2);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Wiersz(TForm3::kRezystancja), przed[TForm3::kRezystancja]);
  EXPECT_EQ(Wiersz(TForm3::kMoc), przed[TForm3::kMoc]);
}

// With r1 = 980 mm and r2 = 1000 mm only rings 56 to 58 are painted; the hole
// keeps what the picture showed.
TEST_F(CylinderTest, MapPaintsOnlyTheWall) {
  Form3->FormActivate(Form3);
  tk::TBitmap* b = Form3->Image2->Bitmap();
  ASSERT_NE(b, nullptr);
  b->Canvas().SetPixel(60, 60, tk::clLime);
  b->Canvas().SetPixel(60 + 54, 60, tk::clLime);
  tk::testing::ClickButton(Form3->BitBtn5);
  b = Form3->Image2->Bitmap();
  EXPECT_EQ(Form3->Image2->Width(), 120);
  EXPECT_EQ(b->Pixel(60, 60), tk::clLime);
  EXPECT_EQ(b->Pixel(60 + 54, 60), tk::clLime);
  EXPECT_EQ(b->Pixel(60 + 30, 60 + 30), tk::clWhite);
  EXPECT_EQ(b->Pixel(0, 0), tk::clBlack);  // the activation's frame
  const int brzeg = tk::GetRValue(b->Pixel(118, 60));
  EXPECT_TRUE(brzeg == 255 || brzeg == 254) << brzeg;
  int czerwone = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x) {
      const tk::TColor c = b->Pixel(x, y);
      if (tk::GetGValue(c) != 0 || tk::GetBValue(c) != 0) continue;
      const double d = std::hypot(x - 60, y - 60);
      if (tk::GetRValue(c) > 0) {
        ++czerwone;
        EXPECT_GT(d, 54.5) << x << "," << y;
        EXPECT_LT(d, 59.5) << x << "," << y;
      }
    }
  EXPECT_GT(czerwone, 900);
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form3, testsupport::PicturePath("ferrant_cylinder_50hz.png")));
  tk::testing::ClickButton(Form3->BitBtn3);
  EXPECT_EQ(Form3->Image2->Bitmap()->Pixel(60, 60), tk::clLime);
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form3, testsupport::PicturePath("ferrant_cylinder.png")));
  // The next activation blanks the map to white with a black frame.
  Form3->FormActivate(Form3);
  EXPECT_EQ(Form3->Image2->Bitmap()->Pixel(118, 60), tk::clWhite);
  EXPECT_EQ(Form3->Image2->Bitmap()->Pixel(119, 60), tk::clBlack);
}

// A hole narrower than a pixel (r1 < r2/58; here r2/100) puts the first ring
// at r = 0, where the wall's field is singular: both buttons paint rings 1 to
// 58 (ring 1 covers the centre) without a message, red rising to the surface
// over the blank the activation left; and so does every smaller hole down to
// 1e-2450 of the radius (below about 1e-2476 the tube itself no longer solves).
TEST_F(CylinderTest, MapOfATubeWithAPinHole) {
  RecordingDialogs dialogs;
  SetColumn(Form3->StringGrid1, 1, {"100", "50", "1", "56", "1", "100", "", "", "3,2", "", ""});
  auto sprawdz = [](const std::string& gdzie) {
    SCOPED_TRACE(gdzie);
    tk::TBitmap* b = Form3->Image2->Bitmap();
    EXPECT_EQ(b->Pixel(60, 60), b->Pixel(61, 60));
    int poprzedni = 0;
    for (int x = 60; x <= 118; ++x) {
      const tk::TColor c = b->Pixel(x, 60);
      ASSERT_TRUE(tk::GetGValue(c) == 0 && tk::GetBValue(c) == 0 && tk::GetRValue(c) >= poprzedni) << x;
      poprzedni = tk::GetRValue(c);
    }
    EXPECT_GE(poprzedni, 254);
  };
  for (tk::TBitBtn* przycisk : {Form3->BitBtn5, Form3->BitBtn3}) {
    Form3->FormActivate(Form3);
    tk::testing::ClickButton(przycisk);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
    sprawdz(przycisk->Caption());
  }
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form3, testsupport::PicturePath("ferrant_cylinder_pinhole.png")));
  for (Extended r1 = 1e-3L; r1 > 1e-2460L; r1 /= 1e50L) {
    TPoleCylindra p(nullptr, 100, 50, kMi0, 56e6L, r1, 0.1L, 200);
    p.Oblicz();
    Form3->FormActivate(Form3);
    RysujMapeGestosci(*Form3->Image2, p, p.r2, r1, p.I, true, false);
    sprawdz(std::to_string(static_cast<int>(std::log10(r1))));
  }
}

TEST_F(CylinderTest, DoubleClickSavesTheWindowAsJpeg) {
  const std::string plik = testsupport::TempPath("ferrant_okno_test.bmp");
  std::remove(plik.c_str());
  RecordingDialogs dialogs;
  dialogs.CancelFile();
  Form3->FormDblClick(Form3);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_TRUE(dialogs.fileDialogs[0].save);
  EXPECT_TRUE(Plik(plik).empty());

  dialogs.AnswerFile(plik);
  tk::testing::DblClick(Form3, 780, 280);
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  const std::vector<uint8_t> dane = Plik(plik);
  ASSERT_GT(dane.size(), 100u);
  EXPECT_EQ(dane[0], 0xFF);
  EXPECT_EQ(dane[1], 0xD8);
  auto obraz = tk::DecodeJpeg(dane.data(), dane.size());
  EXPECT_EQ(obraz->Width(), Form3->ClientWidth());
  EXPECT_EQ(obraz->Height(), Form3->ClientHeight());
  EXPECT_TRUE(dialogs.messages.empty());
  std::remove(plik.c_str());
  dialogs.AnswerFile("/nonexistent-dir/okno.jpg");
  tk::testing::DblClick(Form3, 780, 280);
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(CylinderTest, PictureBrowserChangesNothing) {
  const std::vector<std::string> przed = Column(Form3->StringGrid1, 1);
  RecordingDialogs dialogs;
  dialogs.AnswerFile("/tmp/cokolwiek.jpg");
  tk::testing::ClickButton(Form3->BitBtn7);
  dialogs.CancelFile();
  tk::testing::ClickButton(Form3->BitBtn7);
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_FALSE(dialogs.fileDialogs[0].save);
  EXPECT_EQ(Column(Form3->StringGrid1, 1), przed);
}

// Either chart saves itself as an enhanced metafile, whatever the name says.
TEST_F(CylinderTest, ChartDoubleClickWritesAnEnhancedMetafile) {
  tk::testing::ClickButton(Form3->BitBtn6);
  tk::testing::ClickButton(Form3->BitBtn8);
  int nr = 0;
  for (tk::TChart* wykres : {FormWykChart->Chart1, FormWykChart2->Chart1}) {
    const std::string plik = testsupport::TempPath("ferrant_wykres_test" + std::to_string(++nr) + ".jpg");
    std::remove(plik.c_str());
    RecordingDialogs dialogs;
    dialogs.CancelFile();
    tk::testing::DblClick(wykres, 300, 300);
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    const tk::FileDialogRequest& r = dialogs.fileDialogs[0];
    EXPECT_EQ(r.title, "Zapisz rysunek jako metaplik *.emf");
    EXPECT_EQ(r.initialName, "*.emf");
    ASSERT_EQ(r.filter.size(), 7u);
    EXPECT_EQ(r.filter[0].first, "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)");
    EXPECT_EQ(r.filter[0].second, "*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf");
    EXPECT_EQ(r.filter[5].first, "Enhanced Metafiles (*.emf)");
    EXPECT_EQ(r.filter[6].second, "*.wmf");
    EXPECT_TRUE(Plik(plik).empty());

    dialogs.AnswerFile(plik);
    tk::testing::DblClick(wykres, 300, 300);
    const std::vector<uint8_t> dane = Plik(plik);
    ASSERT_GT(dane.size(), 88u);
    EXPECT_EQ(dane[0], 1);  // the header record
    EXPECT_EQ(dane[1], 0);
    EXPECT_EQ(std::string(dane.begin() + 40, dane.begin() + 44), " EMF");
    EXPECT_TRUE(dialogs.messages.empty());
    std::remove(plik.c_str());
    // A file that cannot be created: the error box, and the chart stays usable.
    dialogs.AnswerFile("/nonexistent-dir/wykres.emf");
    tk::testing::DblClick(wykres, 300, 300);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_GT(wykres->SeriesCount(), 0);
  }
}

}  // namespace
}  // namespace ferrant::uitest
