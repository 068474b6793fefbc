// The plot painter drawing into a picture area: validation, replayed pixels of
// axes, grid, labels and curves, errors, and settings kept between plots.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/Wykresy4.h"
#include "tests/support/Pixels.h"
#include "tests/support/TestFiles.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"

using namespace plot;

using testsupport::ExpectPixels;

namespace {

constexpr int W = 649, H = 401;

bool Ciemny(tk::TColor k) { return tk::GetRValue(k) < 100 && tk::GetGValue(k) < 100 && tk::GetBValue(k) < 100; }

// Pixels of the rectangle [x0, x1) x [y0, y1) that satisfy the test.
int Policz(const tk::TBitmap& b, int x0, int y0, int x1, int y1, const std::function<bool(tk::TColor)>& test) {
  return testsupport::CountPixels(b, x0, y0, x1, y1, test);
}
int PoliczKolor(const tk::TBitmap& b, int x0, int y0, int x1, int y1, tk::TColor k) {
  return Policz(b, x0, y0, x1, y1, [k](tk::TColor p) { return p == k; });
}

bool TeSame(const tk::TBitmap& a, const tk::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

Extended Sinus(int j, Extended faza) { return 10 + 5 * sinl(j * 0.05L + faza); }

class Wykres : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tk::EnsureWindowing(); }

  void SetUp() override {
    form_ = std::make_unique<tk::TForm>();
    form_->SetBounds(0, 0, 900, 600);
  }

  tk::TImage* Obraz(int w = W, int h = H) {
    auto* im = new tk::TImage(form_.get());
    im->SetBounds(0, 0, w, h);
    return im;
  }

  // A painter over the picture, X from the function, curve k from y(k, j).
  std::unique_ptr<TWykresy> Painter(tk::TImage* im, int k, const std::function<Extended(int)>& x,
                                    const std::function<Extended(int, int)>& y, int n = 200) {
    auto w = std::make_unique<TWykresy>(im, n, k);
    for (int j = 0; j <= n; ++j) {
      w->FWek[0].Wek[j] = x(j);
      for (int i = 1; i <= k; ++i) w->FWek[i].Wek[j] = y(i, j);
    }
    return w;
  }

  static std::unique_ptr<tk::TBitmap> Obrazek(const TWykresy& w) {
    return w.FObraz->Metafile()->Render(w.FSzerokosc, w.FWysokosc);
  }

  std::unique_ptr<tk::TForm> form_;
};

std::function<Extended(int)> OsMm = [](int j) { return j * 0.25L; };  // 0..50 mm
std::function<Extended(int, int)> TrzySinusy = [](int k, int j) { return Sinus(j, k - 1); };

}  // namespace

TEST_F(Wykres, CreateTakesThePictureSizeOnce) {
  // Colours, fonts and label offsets are checked on the drawn pixels below.
  auto* im = Obraz(300, 200);
  TWykresy w(im, 10, 12);
  EXPECT_EQ(w.FSzerokosc, 300);
  EXPECT_EQ(w.FWysokosc, 200);
  im->SetBounds(0, 0, 500, 500);  // resizing later changes nothing
  EXPECT_EQ(w.FSzerokosc, 300);
  EXPECT_EQ(w.FWysokosc, 200);
  ASSERT_EQ(w.FWek.size(), 13u);
  for (const ParametryWykresu& r : w.FWek) EXPECT_EQ(r.Wek, WekI(11, 0));
  EXPECT_EQ(w.FWek[12].Pioro.Color, tk::clBlack);
  EXPECT_EQ(w.FCzcionkaTytulu.Size(), 10);
}

TEST_F(Wykres, RefusedDataReturnsItsCodeAndLeavesThePictureAlone) {
  auto* im = Obraz();
  auto w = Painter(im, 3, OsMm, [](int, int) { return 0.0L; });
  // Nothing drawn yet, and nothing made by a refusal.
  EXPECT_EQ(w->WykresXY(), 4);  // every curve zero: the first curve decides, not code 2
  EXPECT_EQ(im->Metafile(), nullptr);

  auto dobry = Painter(im, 3, OsMm, TrzySinusy);
  ASSERT_EQ(dobry->WykresXY(), 0);
  tk::TMetafile* przed = im->Metafile();
  ASSERT_NE(przed, nullptr);
  const auto obrazPrzed = Obrazek(*dobry);

  struct Przypadek {
    const char* opis;
    std::function<void(TWykresy&)> dane;
    int kod;
  } const przypadki[] = {
      {"curve 2 zero, X zero too: the curve test runs first",
       [](TWykresy& t) {
         for (int j = 0; j <= 200; ++j) t.FWek[0].Wek[j] = t.FWek[2].Wek[j] = 0;
       },
       4},
      {"X zero", [](TWykresy& t) { std::fill(t.FWek[0].Wek.begin(), t.FWek[0].Wek.end(), 0); }, 1},
      {"no curves", [](TWykresy& t) { t.FLiczbaKrzywych = 0; }, 3},
      {"no points", [](TWykresy& t) { t.FOstatniPunkt = -1; }, 3},
      {"spread above 100000",
       [](TWykresy& t) {
         t.FWek[1].Wek[7] = -50000;
         t.FWek[2].Wek[9] = 50000.001L;
       },
       3},
  };
  for (const auto& p : przypadki) {
    auto t = Painter(im, 3, OsMm, TrzySinusy);
    p.dane(*t);
    EXPECT_EQ(t->WykresXY(), p.kod) << p.opis;
    EXPECT_EQ(im->Metafile(), przed) << p.opis;
    EXPECT_TRUE(t->FWykladnikX.empty() && t->FWykladnikY.empty());
  }
  EXPECT_TRUE(TeSame(*obrazPrzed, *Obrazek(*dobry)));
}

TEST_F(Wykres, TheSpreadIsTestedNotTheMagnitude) {
  auto* im = Obraz();
  struct Przypadek {
    const char* opis;
    std::function<Extended(int, int)> y;
  } const przypadki[] = {
      {"spread exactly 100000", [](int k, int j) { return k == 1 ? -50000.0L : (j == 3 ? 50000.0L : 1.0L); }},
      {"large values, small spread", [](int k, int j) { return 1e9L + k + j * 0.01L; }},
      {"negative values only", [](int k, int j) { return -1 - k - j * 0.01L; }},
  };
  for (const auto& p : przypadki) {
    auto w = Painter(im, 3, OsMm, p.y);
    EXPECT_EQ(w->WykresXY(), 0) << p.opis;
  }
}

TEST_F(Wykres, ThreeSineCurvesOverFiftyMillimetres) {
  auto* im = Obraz();
  auto w = Painter(im, 3, OsMm, TrzySinusy);
  w->FWek[0].Jednostka.Tekst = "[mm]";
  w->FWek[0].Nazwa.Tekst = "r";
  w->FWek[1].Jednostka.Tekst = " [mV/m]";
  w->FWek[1].Nazwa.Tekst = "Ez(r)   f=50 [Hz]";
  w->FWek[2].Nazwa.Tekst = "        f=100 [Hz]";
  w->FWek[3].Nazwa.Tekst = "        f=500 [Hz]";
  w->FTytul = " Rozkład pola elektrycznego wzdłuż promienia";
  ASSERT_EQ(w->WykresXY(), 0);
  const TGeometriaWykresu g = w->Geometria();
  const auto b = Obrazek(*w);
  ASSERT_TRUE(b->SaveToPng(testsupport::PicturePath("plot_trzy_sinusy.png")));

  // White background with a black frame.
  ExpectPixels(*b, tk::clBlack, {{0, 0}, {W - 1, H - 1}, {W - 1, 200}});
  EXPECT_EQ(b->Pixel(3, 200), tk::clWhite);

  // Non-negative Y: the X axis at H - 100, the Y axis at x = 68 from 5 down to it.
  ASSERT_EQ(g.Y0, H - 100);
  ASSERT_EQ(g.X0, 68);
  EXPECT_GT(PoliczKolor(*b, 68, H - 100, W - 10, H - 99, tk::clBlack), 0.9 * (W - 78));
  // (the opaque tick labels at X0 - 25 may cover parts of the axis)
  EXPECT_GT(PoliczKolor(*b, 68, 16, 69, H - 100, tk::clBlack), 0.6 * (H - 116));
  EXPECT_LT(PoliczKolor(*b, 66, 16, 67, H - 100, tk::clBlack), 20);
  // Arrowheads.
  ExpectPixels(*b, tk::clBlack, {{68, 5}, {W - 5, H - 102}, {W - 5, H - 98}});

  // The three curves in their colours (lines and names).
  EXPECT_GT(PoliczKolor(*b, 0, 0, W, H, tk::clRed), 400);
  EXPECT_GT(PoliczKolor(*b, 0, 0, W, H, tk::clNavy), 400);
  EXPECT_GT(PoliczKolor(*b, 0, 0, W, H, tk::clGreen), 400);
  // Curve 1 starts at x = 0 mm on the Y axis, at its own value.
  const int y0 = g.u - static_cast<int>(Round((Sinus(0, 0) - g.Y.amin) * g.Y.scale));
  EXPECT_EQ(b->Pixel(68, y0), tk::clRed);
  // ... and nothing of a curve lies left of the axis, where only the unit of
  // curve 1 stands, in red, right-aligned 10 pixels left of the axis.
  EXPECT_EQ(Policz(*b, 0, 25, 66, H, [](tk::TColor k) { return k == tk::clRed || k == tk::clGreen; }), 0);
  EXPECT_GT(PoliczKolor(*b, 10, 3, 59, 20, tk::clRed), 10);
  EXPECT_EQ(PoliczKolor(*b, 59, 3, 66, 20, tk::clRed), 0);

  // Silver grid: vertical lines at 12.5, 25, 37.5 and 50 mm.
  for (int M = 1; M <= 4; ++M) {
    const int x = 68 + static_cast<int>(Round(M * 12.5L * g.X.scale));
    const int yt = g.u - static_cast<int>(Round((g.Y.hi - g.Y.amin) * g.Y.scale));
    EXPECT_GT(PoliczKolor(*b, x, yt, x + 1, H - 100, tk::clSilver), 0.7 * (H - 100 - yt)) << M;
    // Its label below the axis.
    EXPECT_GT(Policz(*b, x, H - 93, x + 40, H - 78, Ciemny), 10) << M;
  }
  // No factor: the labels need none.
  EXPECT_TRUE(w->FWykladnikX.empty());
  EXPECT_EQ(Policz(*b, W - 62, H - 80, W - 20, H - 55, Ciemny), 0);
  // X name and unit right of the last tick, the title under the plot.
  EXPECT_GT(Policz(*b, W - 40, H - 120, W - 20, H - 101, Ciemny), 3);
  EXPECT_GT(Policz(*b, W - 40, H - 95, W - 10, H - 82, Ciemny), 3);
  EXPECT_GT(Policz(*b, 30, g.yb + 21, W, H - 1, Ciemny), 50);
}

TEST_F(Wykres, LargeXGetsAFactorNearTheRightEndOfItsAxis) {
  auto* im = Obraz();
  auto w = Painter(
      im, 1, [](int j) { return j * 125.0L; }, TrzySinusy);
  ASSERT_EQ(w->WykresXY(), 0);
  EXPECT_EQ(w->FWykladnikX, "4");
  EXPECT_TRUE(w->FWykladnikY.empty());
  const auto b = Obrazek(*w);
  // "*10" at (W - 60, Y0 + 30) and the exponent above its end.
  EXPECT_GT(Policz(*b, W - 60, H - 70, W - 40, H - 57, Ciemny), 5);
  EXPECT_GT(Policz(*b, W - 45, H - 80, W - 35, H - 67, Ciemny), 3);
  // Ticks every 7000 up to 28000, the last at the end of the range (x = W - 70).
  const TGeometriaWykresu g = w->Geometria();
  for (int M = 1; M <= 4; ++M) {
    const int x = 68 + static_cast<int>(Round(M * 7000 * g.X.scale));
    EXPECT_GT(PoliczKolor(*b, x, 40, x + 1, H - 100, tk::clSilver), 0.7 * (H - 140)) << M;
    if (M == 4) {
      EXPECT_EQ(x, W - 70);  // the last tick at the end of the range
    }
  }
}

TEST_F(Wykres, NonPositiveYPutsTheXAxisAtTheTop) {
  auto* im = Obraz();
  // Y from 0 down to -44: the lowest tick (-40) and its label stand above the
  // end of the Y axis, which is then visible.
  auto w = Painter(im, 1, OsMm, [](int, int j) { return -0.22L * j; });
  ASSERT_EQ(w->WykresXY(), 0);
  const TGeometriaWykresu g = w->Geometria();
  ASSERT_EQ(g.Y.przypadek, 'C');
  ASSERT_EQ(g.Y.lo, -40);
  const auto b = Obrazek(*w);
  EXPECT_GT(PoliczKolor(*b, 68, 30, W - 10, 31, tk::clBlack), 0.9 * (W - 78));
  // The Y axis runs down to H - 90, the end pixel left out.
  EXPECT_EQ(b->Pixel(68, H - 91), tk::clBlack);
  EXPECT_EQ(b->Pixel(68, H - 90), tk::clWhite);
  EXPECT_EQ(b->Pixel(68, 200), tk::clBlack);
  // The row H - 100 is no axis now.
  EXPECT_LT(PoliczKolor(*b, 100, H - 100, W - 10, H - 99, tk::clBlack), 20);
}

TEST_F(Wykres, SmallNegativeXPartMovesTheAxisStartTo60) {
  auto* im = Obraz();
  auto w = Painter(
      im, 1, [](int j) { return -2 + j * 0.25L; }, TrzySinusy);
  ASSERT_EQ(w->WykresXY(), 0);
  auto b = Obrazek(*w);
  EXPECT_EQ(b->Pixel(60, H - 100), tk::clBlack);
  EXPECT_EQ(b->Pixel(59, H - 100), tk::clWhite);
  EXPECT_GT(PoliczKolor(*b, 80, 16, 81, H - 100, tk::clBlack), 0.6 * (H - 116));  // Y axis at x = 80

  // Data from 0: the axis starts at 68.
  auto v = Painter(im, 1, OsMm, TrzySinusy);
  ASSERT_EQ(v->WykresXY(), 0);
  b = Obrazek(*v);
  EXPECT_EQ(b->Pixel(60, H - 100), tk::clWhite);
  EXPECT_EQ(b->Pixel(68, H - 100), tk::clBlack);
}

TEST_F(Wykres, LongTickLabelsAreMovedAndExponentialLabelsStandRightOfTheAxis) {
  auto* im = Obraz();
  // Y from 0 to 150: ticks 40, 80, 120, 160 with the label exponent 2.
  auto w = Painter(im, 1, OsMm, [](int, int j) { return j * 0.75L; });
  const TGeometriaWykresu g = w->Geometria();
  ASSERT_EQ(g.Y.e, 2);
  ASSERT_EQ(g.Y.r, 4);
  ASSERT_EQ(g.Y.step, 40);

  // Two decimals asked, exponent 2: plain "   40", five characters at X0 - 25.
  ASSERT_EQ(w->WykresXY(), 0);
  auto b = Obrazek(*w);
  for (int L = 1; L <= 4; ++L) {
    const int y = g.u - static_cast<int>(Round(L * 40 * g.Y.scale));
    EXPECT_GT(Policz(*b, 43, y, 67, y + 14, Ciemny), 5) << L;
    EXPECT_EQ(Policz(*b, 80, y + 1, 110, y + 14, Ciemny), 0) << L;
  }

  // One decimal: " 4.0E+0001", ten characters: 80 > X0 - 25, so at x = 72.
  EXPECT_EQ(OpisPodzialki(2, 1, 40), " 4.0E+0001");
  w->FMiejscaY = 1;
  ASSERT_EQ(w->WykresXY(), 0);
  b = Obrazek(*w);
  for (int L = 1; L <= 4; ++L) {
    const int y = g.u - static_cast<int>(Round(L * 40 * g.Y.scale));
    EXPECT_GT(Policz(*b, 80, y + 1, 110, y + 14, Ciemny), 5) << L;
    EXPECT_EQ(Policz(*b, 40, y + 1, 66, y + 14, Ciemny), 0) << L;
  }
}

TEST_F(Wykres, PointsOutsideThePlotAreaAreSkipped) {
  // A picture too low for its range: only the bottom row of the range
  // (y = H - 100 = 20) is inside, every point above it is clipped.
  auto* im = Obraz(300, 120);
  auto w = Painter(im, 3, OsMm, [](int k, int j) -> Extended {
    if (k == 1) return (j == 0 || j == 200) ? 0 : 10;  // in, 199 points out, in
    if (k == 2) return 10;                             // all out
    return j <= 50 ? 0 : 10;                           // a quarter in
  });
  ASSERT_EQ(w->WykresXY(), 0);
  const TGeometriaWykresu g = w->Geometria();
  ASSERT_EQ(g.yb, 20);
  const auto b = Obrazek(*w);
  // Curve 1 jumps straight from its first point to its last along the row.
  ExpectPixels(*b, tk::clRed, {{150, 20}, {229, 20}});
  // Curve 2 draws nothing, curve 3 after it is drawn.
  EXPECT_EQ(PoliczKolor(*b, 0, 0, 300, 120, tk::clNavy), 0);
  ExpectPixels(*b, tk::clGreen, {{80, 20}, {107, 20}});
  // Nothing below the row (rows 21..30 would hold the clipped points).
  EXPECT_EQ(Policz(*b, 0, 21, 300, 31, [](tk::TColor k) { return k == tk::clRed || k == tk::clGreen; }), 0);
}

TEST_F(Wykres, CurvesTakeTheTenColoursAndTheEleventhIsBlack) {
  auto* im = Obraz();
  auto w = Painter(im, 11, OsMm, [](int k, int) { return static_cast<Extended>(k); });
  for (int k = 1; k <= 11; ++k) w->FWek[k].Nazwa.Tekst = "krzywa " + std::to_string(k);
  ASSERT_EQ(w->WykresXY(), 0);
  const TGeometriaWykresu g = w->Geometria();
  const auto b = Obrazek(*w);
  for (int k = 1; k <= 11; ++k) {
    const int y = g.u - static_cast<int>(Round((k - g.Y.amin) * g.Y.scale));
    const tk::TColor kolor = k <= 10 ? w->FKolory[k] : tk::clBlack;
    EXPECT_EQ(b->Pixel(300, y), kolor) << k;
    EXPECT_EQ(b->Pixel(500, y), kolor) << k;
    // The name in the curve's colour, 15 pixels below the previous one.
    const int yn = 5 + 15 * (k - 1);
    EXPECT_GT(testsupport::CountNear(*b, kolor, g.X0 + 17, yn - 2, g.X0 + 120, yn + 13, 39), 10) << k;
  }
}

TEST_F(Wykres, AZeroSpanEndsWithTheDivisionErrorAndLeavesOnlyTheFrame) {
  auto* im = Obraz();
  auto w = Painter(im, 1, OsMm, TrzySinusy);
  ASSERT_EQ(w->WykresXY(), 0);

  // A single point passes the data check but cannot be fitted.
  w->FOstatniPunkt = 0;
  w->FWek[0].Wek[0] = 3;
  w->FWek[1].Wek[0] = 2;
  try {
    w->WykresXY();
    FAIL() << "no error";
  } catch (const tk::EZeroDivide& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  const auto b = Obrazek(*w);
  ExpectPixels(*b, tk::clBlack, {{0, 0}, {W - 1, H - 1}});
  EXPECT_EQ(PoliczKolor(*b, 0, 0, W, H, tk::clBlack), 2 * W + 2 * H - 4);
  EXPECT_EQ(PoliczKolor(*b, 1, 1, W - 1, H - 1, tk::clWhite), (W - 2) * (H - 2));

  // Through the event dispatch the error reaches the default error box, and
  // the next plot of the same painter is drawn normally.
  tk::testing::RecordingDialogs okna;  // the boxes shown, each answered OK
  std::vector<tk::MessageRequest>& pokazane = okna.messages;
  w->FOstatniPunkt = 200;
  for (int j = 0; j <= 200; ++j) w->FWek[1].Wek[j] = 5;  // flat curve: zero Y span
  EXPECT_FALSE(tk::Dispatch([&] { w->WykresXY(); }));
  ASSERT_EQ(pokazane.size(), 1u);
  EXPECT_EQ(pokazane[0].text, "Floating point division by zero");
  w->FWek[1].Wek[100] = 6;
  EXPECT_TRUE(tk::Dispatch([&] { EXPECT_EQ(w->WykresXY(), 0); }));
  EXPECT_EQ(pokazane.size(), 1u);
}

// A tick granularity of 0 or less cannot divide an axis: the plot is refused
// with an error that names the axis, before anything is drawn.
TEST_F(Wykres, ANonPositiveGranularityIsRefusedBeforeDrawing) {
  auto* im = Obraz();
  auto w = Painter(im, 3, OsMm, TrzySinusy);
  ASSERT_EQ(w->WykresXY(), 0);
  tk::TMetafile* przed = im->Metafile();
  const auto obrazPrzed = Obrazek(*w);
  tk::testing::RecordingDialogs okna;  // the boxes shown, each answered OK
  std::vector<tk::MessageRequest>& pokazane = okna.messages;
  struct Przypadek {
    int32_t x, y;
    const char* tekst;
  } const przypadki[] = {
      {0, 4, "Podziałka osi X klasy TWykresy (FPodzialkaX = 0) musi być dodatnia"},
      {-3, 4, "Podziałka osi X klasy TWykresy (FPodzialkaX = -3) musi być dodatnia"},
      {4, -2147483647 - 1, "Podziałka osi Y klasy TWykresy (FPodzialkaY = -2147483648) musi być dodatnia"},
  };
  for (const auto& p : przypadki) {
    w->FPodzialkaX = p.x;
    w->FPodzialkaY = p.y;
    pokazane.clear();
    EXPECT_FALSE(tk::Dispatch([&] { w->WykresXY(); }));
    ASSERT_EQ(pokazane.size(), 1u);
    EXPECT_EQ(pokazane[0].text, p.tekst);
    EXPECT_EQ(im->Metafile(), przed);
    EXPECT_FALSE(tk::Dispatch([&] { w->Geometria(); }));
  }
  EXPECT_TRUE(TeSame(*obrazPrzed, *Obrazek(*w)));
}

TEST_F(Wykres, BladWykresyShowsTheMessageOfItsCode) {
  auto* im = Obraz();
  TWykresy w(im, 200, 3);
  tk::testing::RecordingDialogs okna;  // the boxes shown, each answered OK
  std::vector<tk::MessageRequest>& pokazane = okna.messages;
  for (int kod = 0; kod <= 6; ++kod) w.BladWykresy(kod);
  const char* teksty[5] = {
      "Wektor osi X klasy TWykresy o elementach FWek[0].Wek[i] jest zerowy",
      "Wektory osi Y klasy TWykresy o elementach FWek[j].Wek[i] (j>0) jest zerowy",
      "Różnica wahań wartości danych elementów wektorów FWek[j] dla j>0 jest większ niż 100000 co zamazuje "
      "prezentację graficzną - sprawdź poprawność podstawianych wartości",
      "Wprowadzono zerowy wektor danych FWyk[i].Wek w objekcie klasy TWykresy",
      "Metoda WykresXY została przerwana",
  };
  ASSERT_EQ(pokazane.size(), 5u);  // codes 0 and 6 are no messages
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(pokazane[i].caption, "Błędy w module Wykresy4");
    EXPECT_EQ(pokazane[i].text, teksty[i]);
    EXPECT_EQ(pokazane[i].icon, tk::MsgIcon::Error);
    EXPECT_EQ(pokazane[i].buttons, static_cast<unsigned>(tk::mbOK));
  }
}

TEST_F(Wykres, SettingsAndRecordsPersistBetweenPlots) {
  auto* im = Obraz();
  auto drugieDane = [](TWykresy& w) {
    for (int j = 0; j <= 200; ++j) {
      w.FWek[0].Wek[j] = j * 0.6L;
      for (int k = 1; k <= 3; ++k) w.FWek[k].Wek[j] = 100 + 50 * sinl(j * 0.03L * k);
    }
  };
  // One painter: settings written before the first plot only.
  auto ustawienia = [](TWykresy& w) {
    w.FPodzialkaX = w.FPodzialkaY = 5;
    w.FMiejscaX = 3;
    w.FMiejscaY = 1;
  };
  auto a = Painter(im, 3, OsMm, TrzySinusy);
  ustawienia(*a);
  ASSERT_EQ(a->WykresXY(), 0);
  drugieDane(*a);
  ASSERT_EQ(a->WykresXY(), 0);
  const auto obrazA = Obrazek(*a);
  EXPECT_EQ(a->FPodzialkaX, 5);
  EXPECT_EQ(a->FMiejscaY, 1);

  // A fresh painter with the same settings draws the same picture ...
  auto b = Painter(im, 3, OsMm, TrzySinusy);
  ustawienia(*b);
  drugieDane(*b);
  ASSERT_EQ(b->WykresXY(), 0);
  EXPECT_TRUE(TeSame(*obrazA, *Obrazek(*b)));
  // ... and one with the defaults another.
  auto c = Painter(im, 3, OsMm, TrzySinusy);
  drugieDane(*c);
  ASSERT_EQ(c->WykresXY(), 0);
  const auto obrazC = Obrazek(*c);
  EXPECT_FALSE(TeSame(*obrazA, *obrazC));

  // Lowering the curve count hides curves 2 and 3; raising it again shows
  // them with the values they kept.
  c->FLiczbaKrzywych = 1;
  ASSERT_EQ(c->WykresXY(), 0);
  const auto jedna = Obrazek(*c);
  EXPECT_EQ(PoliczKolor(*jedna, 0, 0, W, H, tk::clGreen), 0);
  EXPECT_GT(PoliczKolor(*jedna, 0, 0, W, H, tk::clRed), 300);
  c->FLiczbaKrzywych = 3;
  ASSERT_EQ(c->WykresXY(), 0);
  EXPECT_TRUE(TeSame(*obrazC, *Obrazek(*c)));
}
