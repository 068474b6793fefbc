// The radial plots and the Kn(f) plots of the three field models: what they
// write into the painter, the radii they sample, the state they leave in the
// field object and the painter, and a refusal by the painter.
#include <cmath>
#include <string>

#include "ferrant/PoleCylindra.h"
#include "ferrant/PolePrzeWar.h"
#include "ferrant/PoleWalca.h"
#include "numerics/Typy4.h"
#include "pole_pomoc.h"
#include "tests/support/TestFiles.h"

namespace ferrant::test {
namespace {

const char* const kWykresy4 = "Błędy w module Wykresy4";

class WykresyTest : public PoleTest {
 protected:
  std::unique_ptr<TPoleWalca> Walec() {
    auto p = std::make_unique<TPoleWalca>(obraz, 1000, 50, kMi0, 55e6L, 0.05L, 200);
    p->Oblicz();
    return p;
  }
  std::unique_ptr<TPoleCylindra> Rura() {
    auto p = std::make_unique<TPoleCylindra>(obraz, 2000, 50, kMi0, 55e6L, 0.04L, 0.05L, 200);
    p->Oblicz();
    return p;
  }
  std::unique_ptr<TPolePrzeWar> Dwuwarstwowy() {
    auto p = std::make_unique<TPolePrzeWar>(obraz, 500, 50, 200 * kMi0, kMi0, 8e6L, 34.8e6L, 0.015L, 0.019L, 200);
    p->Oblicz();
    return p;
  }
  static std::string Nazwa(const plot::TWykresy& w, int i) { return w.FWek[i].Nazwa.Tekst; }
  void Zapisz(const std::string& plik) {
    if (auto b = obraz->Render()) b->SaveToPng(testsupport::PicturePath(plik));
  }
  // The picture as shown, to tell whether a plot drew.
  std::vector<uint32_t> Piksele() {
    std::vector<uint32_t> v;
    auto b = obraz->Render();
    for (int y = 0; y < b->Height(); ++y) v.insert(v.end(), b->ScanLine(y), b->ScanLine(y) + b->Width());
    return v;
  }
};

// Each field class makes its painter on the window's picture with N + 1 points and 3 curves.
TEST_F(WykresyTest, ConstructorsMakeThePainterOfTheirPicture) {
  auto sprawdz = [&](const auto& p, const char* gdzie) {
    SCOPED_TRACE(gdzie);
    EXPECT_EQ(p.N, 200);
    EXPECT_EQ(p.Obraz, obraz);
    ASSERT_NE(p.Wykresy, nullptr);
    EXPECT_EQ(p.Wykresy->FOstatniPunkt, 200);
    EXPECT_EQ(p.Wykresy->FLiczbaKrzywych, 3);
    EXPECT_EQ(p.Wykresy->FObraz, obraz);
  };
  sprawdz(*Walec(), "walec");
  sprawdz(*Rura(), "rura");
  sprawdz(*Dwuwarstwowy(), "dwuwarstwowy");
}

// A thick steel core at 2 kHz, whose layer wave at r1 is e^(2|Im k·r|)
// smaller than the core's field: the radial plot solves at 2f and 10f as
// well, without a message.
TEST_F(WykresyTest, ThickSteelCoreRadialPlotSolves) {
  auto p = Dwuwarstwowy();
  p->r1 = 0.05L;
  p->r2 = 0.06L;
  p->f = 2000;
  EXPECT_EQ(PoObliczeniu(*p, [&] { p->WykresE(); }), "");
  EXPECT_TRUE(komunikaty.empty());
  EXPECT_EQ(p->f, 2000);
}

// Labels of every radial plot, in both decimal separators (the curve names
// carry whole hertz, so the separator never shows).
TEST_F(WykresyTest, RadialPlotsWriteTheirTexts) {
  struct Oczekiwane {
    const char* jednostka;
    const char* nazwa1;
    const char* nazwa23;
    const char* tytul;
  };
  const Oczekiwane E{" [mV/m]", "Ez(r)   f=", "        f=", " Rozkład pola elektrycznego wzdłuż promienia"};
  const Oczekiwane H{" [A/m]", "Hf(r)   f=", "        f=", " Rozkład pola magnetycznego wzdłuż promienia"};
  const Oczekiwane H9{" [A/m]", "Hf(r)   f=", "         f=", " Rozkład pola magnetycznego wzdłuż promienia"};
  const Oczekiwane J{" [A/mm2]", "Jz(r)   f=", "        f=", " Rozkład gęstości prądu wzdłuż promienia"};
  const Oczekiwane Jw{" [A/mm2]", "Jz(r)   f=", "        f=", " Rozkład gęstosci prądu wzdłuż promienia"};
  auto sprawdz = [&](const plot::TWykresy& w, const Oczekiwane& o, const std::string& gdzie) {
    SCOPED_TRACE(gdzie);
    EXPECT_EQ(w.FOstatniPunkt, 200);
    EXPECT_EQ(w.FLiczbaKrzywych, 3);
    EXPECT_EQ(w.FWek[0].Jednostka.Tekst, "[mm]");
    EXPECT_EQ(Nazwa(w, 0), "r");
    EXPECT_EQ(w.FWek[1].Jednostka.Tekst, o.jednostka);
    EXPECT_EQ(Nazwa(w, 1), std::string(o.nazwa1) + "50 [Hz]");
    EXPECT_EQ(Nazwa(w, 2), std::string(o.nazwa23) + "100 [Hz]");
    EXPECT_EQ(Nazwa(w, 3), std::string(o.nazwa23) + "500 [Hz]");
    EXPECT_EQ(w.FWek[2].Jednostka.Tekst, "");
    EXPECT_EQ(w.FWek[3].Jednostka.Tekst, "");
    EXPECT_EQ(w.FTytul, o.tytul);
  };
  for (char sep : {',', '.'}) {
    tk::SetDecimalSeparator(sep);
    auto w = Walec();
    auto r = Rura();
    auto d = Dwuwarstwowy();
    // E, H and J of one model, each checked as soon as it is drawn.
    auto trzy = [&](auto& p, const Oczekiwane& h, const Oczekiwane& j, const std::string& model) {
      p->WykresE();
      sprawdz(*p->Wykresy, E, model + " E");
      p->WykresH();
      sprawdz(*p->Wykresy, h, model + " H");
      p->WykresJ();
      sprawdz(*p->Wykresy, j, model + " J");
    };
    trzy(w, H9, Jw, "walec");
    trzy(r, H, J, "rura");
    trzy(d, H, J, "dwuwarstwowy");
  }
  EXPECT_TRUE(komunikaty.empty());
}

TEST_F(WykresyTest, SolidConductorSamplesFromTheAxisToTheSurface) {
  auto p = Walec();
  p->WykresH();
  const auto& w = *p->Wykresy;
  EXPECT_EQ(w.FWek[0].Wek[0], 0);
  EXPECT_EQ(w.FWek[0].Wek[100], 100 * (p->R / 200) * 1000);
  EXPECT_NEAR(w.FWek[0].Wek[200], 50, 1e-15L);
  const Extended Hs = p->I / (2 * kPi * p->R);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(w.FWek[k].Wek[0], 0);  // no field on the axis
    EXPECT_NEAR(w.FWek[k].Wek[200], Hs, 1e-12L * Hs);
  }
  // Scales: E in mV/m, J in A/mm².
  p->f = 50;
  p->Oblicz();
  const Extended E0 = num::ModZ(p->NatezenieE(0));
  p->WykresE();
  EXPECT_EQ(w.FWek[1].Wek[0], E0 * 1000);
  p->Oblicz();
  const Extended J0 = num::ModZ(p->GestoscJ(0));
  p->WykresJ();
  EXPECT_EQ(w.FWek[1].Wek[0], J0 * 1e-6L);
  Zapisz("fields_walec_J.png");
}

// Only the solid conductor's H plot computes at f itself before curve 1.
TEST_F(WykresyTest, SolidConductorHPlotComputesFirst) {
  TPoleWalca p(obraz, 1000, 50, kMi0, 55e6L, 0.05L, 200);  // no Oblicz yet
  p.WykresH();
  EXPECT_TRUE(komunikaty.empty());
  EXPECT_NEAR(p.Wykresy->FWek[1].Wek[200], p.I / (2 * kPi * p.R), 1e-10L);
  // Without the coefficients of an Oblicz, curve 1 of E is all zero and the
  // painter refuses it.
  TPoleWalca q(obraz, 1000, 50, kMi0, 55e6L, 0.05L, 200);
  q.WykresE();
  ASSERT_EQ(komunikaty.size(), 1u);
  EXPECT_EQ(komunikaty[0].caption, kWykresy4);
  EXPECT_EQ(komunikaty[0].text, plot::BledyWykresy4[3]);
}

TEST_F(WykresyTest, ThreeFrequencyPlotsRestoreFButLeaveTheFieldOfTenTimesF) {
  auto w = Walec();
  w->WykresE();
  EXPECT_EQ(w->f, 50);
  EXPECT_EQ(w->w, 2 * kPi * 500);
  TPoleWalca w500(obraz, 1000, 500, kMi0, 55e6L, 0.05L, 200);
  w500.Oblicz();
  EXPECT_TRUE(Rowne(w->NatezenieE(0.01L), w500.NatezenieE(0.01L)));
  // The curves are those of f, 2f and 10f.
  EXPECT_EQ(w->Wykresy->FWek[3].Wek[50], num::ModZ(w500.NatezenieE(50 * (0.05L / 200))) * 1000);

  auto r = Rura();
  r->WykresJ();
  EXPECT_EQ(r->f, 50);
  TPoleCylindra r500(obraz, 2000, 500, kMi0, 55e6L, 0.04L, 0.05L, 200);
  r500.Oblicz();
  EXPECT_TRUE(Rowne(r->Ae, r500.Ae) && Rowne(r->Be, r500.Be));

  auto d = Dwuwarstwowy();
  d->WykresH();
  EXPECT_EQ(d->f, 50);
  TPolePrzeWar d500(obraz, 500, 500, 200 * kMi0, kMi0, 8e6L, 34.8e6L, 0.015L, 0.019L, 200);
  d500.Oblicz();
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(Rowne(d->X->Wektor(i), d500.X->Wektor(i)));
  d->WykresKn();  // the granularity 5 and 5 stays for every later plot
  EXPECT_EQ(d->Wykresy->FPodzialkaX, 5);
  EXPECT_EQ(d->Wykresy->FPodzialkaY, 5);
  EXPECT_EQ(w->Wykresy->FPodzialkaX, 4);  // the others keep the painter's default
  EXPECT_EQ(r->Wykresy->FPodzialkaY, 4);
}

// E and H start with a level stretch from 0.8·r1 to r1, J with a zero stretch
// and a rise at r1; all three end at r2.
TEST_F(WykresyTest, TubeCurvesBeginInsideTheHole) {
  auto p = Rura();
  const Extended r1 = p->r1, r2 = p->r2;
  p->WykresE();
  const auto& w = *p->Wykresy;
  EXPECT_EQ(w.FWek[0].Wek[0], 0.8L * r1 * 1000);
  EXPECT_EQ(w.FWek[0].Wek[1], r1 * 1000);
  EXPECT_NEAR(w.FWek[0].Wek[200], r2 * 1000, 1e-14L);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(w.FWek[k].Wek[0], w.FWek[k].Wek[1]) << k;
  EXPECT_GT(w.FWek[1].Wek[0], 0);

  p->f = 50;
  p->Oblicz();
  p->WykresH();
  const Extended Hs = p->I / (2 * kPi * r2);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_LT(w.FWek[k].Wek[0], 1e-12L * Hs) << k;  // Hφ(r1) = 0
    EXPECT_NEAR(w.FWek[k].Wek[200], Hs, 1e-12L * Hs) << k;
  }

  p->f = 50;
  p->Oblicz();
  const Extended J1 = num::ModZ(p->GestoscJ(r1)) * 1e-6L;
  p->WykresJ();
  EXPECT_EQ(w.FWek[0].Wek[0], 0.8L * r1 * 1000);
  EXPECT_EQ(w.FWek[0].Wek[1], r1 * 1000);
  EXPECT_EQ(w.FWek[0].Wek[2], r1 * 1000);
  EXPECT_NEAR(w.FWek[0].Wek[200], r2 * 1000, 1e-14L);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(w.FWek[k].Wek[0], 0);
    EXPECT_EQ(w.FWek[k].Wek[1], 0);
  }
  EXPECT_EQ(w.FWek[1].Wek[2], J1);
  Zapisz("fields_rura_J.png");
}

TEST_F(WykresyTest, TubeOneFrequencyPlotKeepsFAndItsDecimalsStay) {
  auto p = Rura();
  p->WykresE();  // curves 2 and 3 filled by a three-frequency plot
  const Extended y2 = p->Wykresy->FWek[2].Wek[7];
  p->f = 50;
  p->Oblicz();
  const TZespol Ae = p->Ae, Be = p->Be;
  for (char sep : {',', '.'}) {
    tk::SetDecimalSeparator(sep);
    p->f = 50.4L;  // the coefficients stay those of 50 Hz
    p->WykresJ1f();
    const auto& w = *p->Wykresy;
    EXPECT_EQ(w.FLiczbaKrzywych, 1);
    EXPECT_EQ(w.FOstatniPunkt, 200);
    EXPECT_EQ(Nazwa(w, 1), "Jz(r)   f=50 [Hz]");
    EXPECT_EQ(w.FWek[1].Jednostka.Tekst, " [A/mm2]");
    EXPECT_EQ(w.FTytul, " Rozkład gęstości prądu wzdłuż promienia");
    EXPECT_EQ(w.FWek[0].Wek[0], p->r1 * 1000);
    EXPECT_NEAR(w.FWek[0].Wek[200], p->r2 * 1000, 1e-14L);
    EXPECT_EQ(w.FWek[1].Wek[0], num::ModZ(p->GestoscJ(p->r1)) * 1e-6L);
    EXPECT_EQ(w.FWek[2].Wek[7], y2);  // not drawn, not touched
    EXPECT_EQ(p->f, 50.4L);
    EXPECT_TRUE(Rowne(p->Ae, Ae) && Rowne(p->Be, Be));
  }
  // The decimals 3 and 1 hold for every later plot of this painter.
  p->WykresKn();
  p->WykresE();
  EXPECT_EQ(p->Wykresy->FMiejscaX, 3);
  EXPECT_EQ(p->Wykresy->FMiejscaY, 1);
  EXPECT_TRUE(komunikaty.empty());
}

TEST_F(WykresyTest, TwoLayerCurvesRunFromHalfTheCoreToTheSurface) {
  auto p = Dwuwarstwowy();
  p->WykresJ();
  const auto& w = *p->Wykresy;
  EXPECT_EQ(w.FWek[0].Wek[0], p->r1 / 2 * 1000);
  // The last point is the surface itself, also where rounding of the sweep
  // would have put it just beyond.
  EXPECT_LE(w.FWek[0].Wek[200], p->r2 * 1000);
  EXPECT_NEAR(w.FWek[0].Wek[200], p->r2 * 1000, 1e-14L);
  TPolePrzeWar d500(obraz, 500, 500, 200 * kMi0, kMi0, 8e6L, 34.8e6L, 0.015L, 0.019L, 200);
  d500.Oblicz();
  EXPECT_EQ(w.FWek[3].Wek[200], num::ModZ(d500.GestoscJ(d500.r2)) * 1e-6L);
  Zapisz("fields_dwuwarstwowy_J.png");

  // Radii chosen so that r1/2 + N·(r2 − r1/2)/N rounds above r2.
  int znalezione = 0;
  for (int i = 1; i < 400 && znalezione < 3; ++i) {
    const Extended r1 = 0.001L * i / 7, r2 = r1 + 0.0037L * i / 11;
    const Extended koniec = r1 / 2 + 200 * ((r2 - r1 / 2) / 200);
    if (koniec <= r2) continue;
    ++znalezione;
    p->r1 = r1;
    p->r2 = r2;
    p->f = 50;
    p->Oblicz();
    const Extended Jr2 = num::ModZ(p->GestoscJ(r2)) * 1e-6L;
    p->WykresJ();
    EXPECT_EQ(w.FWek[0].Wek[200], r2 * 1000) << i;
    EXPECT_EQ(w.FWek[1].Wek[200], Jr2) << i;
  }
  EXPECT_EQ(znalezione, 3);
}

TEST_F(WykresyTest, KnPlotsLeaveFAtTheirLastFrequency) {
  auto w = Walec();
  auto r = Rura();
  auto d = Dwuwarstwowy();
  auto sprawdz = [&](auto& p, const char* gdzie) {
    SCOPED_TRACE(gdzie);
    p.WykresKn();
    const auto& k = *p.Wykresy;
    EXPECT_EQ(k.FOstatniPunkt, 100);
    EXPECT_EQ(k.FLiczbaKrzywych, 1);
    EXPECT_EQ(k.FWek[0].Jednostka.Tekst, "[kHz]");
    EXPECT_EQ(Nazwa(k, 0), "f");
    EXPECT_EQ(k.FWek[1].Jednostka.Tekst, " ");
    EXPECT_EQ(Nazwa(k, 1), " Kn(f)");
    EXPECT_EQ(k.FTytul, " Współczynnik naskórkowości");
    EXPECT_EQ(k.FWek[0].Wek[0], 0);
    EXPECT_EQ(k.FWek[1].Wek[0], 1);
    EXPECT_EQ(k.FWek[0].Wek[1], 10 * 0.001L);
    EXPECT_EQ(k.FWek[0].Wek[100], 1000 * 0.001L);
    EXPECT_EQ(k.FWek[0].Wek[200], 2000 * 0.001L);
    EXPECT_EQ(p.f, 2000);
    EXPECT_EQ(k.FWek[1].Wek[200], p.WspNaskorkowosci());  // constants of 2 kHz
    // Kn grows with f from 1 and does not depend on the current.
    for (int i = 1; i <= 200; ++i) EXPECT_GT(k.FWek[1].Wek[i], k.FWek[1].Wek[i - 1] - 1e-12L) << i;
    const std::vector<Extended> Kn = k.FWek[1].Wek;
    p.I *= 3;
    p.WykresKn();
    for (int i = 0; i <= 200; ++i) EXPECT_NEAR(k.FWek[1].Wek[i], Kn[i], 1e-15L * Kn[i]) << i;
  };
  sprawdz(*w, "walec");
  sprawdz(*r, "rura");
  sprawdz(*d, "dwuwarstwowy");
  EXPECT_TRUE(komunikaty.empty());
  Zapisz("fields_dwuwarstwowy_Kn.png");
}

// A refused plot shows the painter's message and leaves the picture as it was.
TEST_F(WykresyTest, PainterRefusalShowsItsMessageAndDrawsNothing) {
  auto p = Walec();
  p->WykresE();
  const auto przed = Piksele();
  EXPECT_TRUE(komunikaty.empty());
  // Hφ of 3.2 MA/m at the surface: a spread over 100000 units.
  p->I = 1e7L;
  p->R = 0.0005L;
  p->WykresH();
  ASSERT_EQ(komunikaty.size(), 1u);
  EXPECT_EQ(komunikaty[0].caption, kWykresy4);
  EXPECT_EQ(komunikaty[0].text, plot::BledyWykresy4[2]);
  EXPECT_EQ(komunikaty[0].icon, tk::MsgIcon::Error);
  EXPECT_EQ(Piksele(), przed);
  EXPECT_EQ(p->f, 50);  // restored before the painter ran
}

// A fault inside a plot ends it at once: f stays where the failing curve
// put it and nothing is drawn.
TEST_F(WykresyTest, FaultInsideAPlotLeavesFChanged) {
  auto p = Rura();
  p->mi = 0;  // curve 1 still uses the last constants; Oblicz at 2f meets Hankel at 0
  EXPECT_EQ(Akcja([&] { p->WykresE(); }), "Floating point division by zero");
  EXPECT_EQ(p->f, 100);
  auto w = Walec();
  w->mi = 0;
  EXPECT_EQ(Akcja([&] { w->WykresKn(); }), "Invalid floating point operation");
  EXPECT_EQ(w->f, 10);
}

}  // namespace
}  // namespace ferrant::test
