// R', X' and Kn of the three field models against values computed
// independently at 40 digits (tests/data/make_reference.py): standard
// cross-sections of copper, aluminium and steel, the standard tubes and
// steel-cored two-layer conductors, 10 Hz to 2 kHz, μr 1 to 200; and, up to
// the top of the extended range (|k·r| to 16 000), solid conductors,
// thick-walled tubes and a random sweep of two-layer conductors, 10 Hz to
// 1 MHz, μr to 1000.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "ferrant/model/ModelCylindra.h"
#include "ferrant/model/ModelPrzeWar.h"
#include "ferrant/model/ModelWalca.h"
#include "model_pomoc.h"
#include "numerics/AlgeZes4.h"
#include "tests/support/TestFiles.h"

namespace ferrant::test {
namespace {

// Bounds on the relative errors of R', X' and Kn, per table: each about five
// times the largest error measured (the figures the field models' headers
// give).  X' of thin tubes and thin solid conductors at 10 Hz, a thousandth
// of R' there, takes the rounding of R'.
struct Granice {
  Extended R, X, Kn;
};

struct Wiersz {
  std::vector<Extended> v;  // the columns as numbers
};

std::vector<Wiersz> Czytaj(const std::string& plik) {
  const std::string sciezka = testsupport::DataPath(plik);
  std::ifstream in(sciezka);
  EXPECT_TRUE(in.good()) << sciezka;
  std::vector<Wiersz> w;
  std::string linia;
  std::getline(in, linia);  // header
  while (std::getline(in, linia)) {
    Wiersz r;
    std::stringstream ss(linia);
    std::string pole;
    while (std::getline(ss, pole, ',')) {
      std::istringstream liczba(pole);
      liczba.imbue(std::locale::classic());  // the tables use a point, whatever the locale
      Extended x = 0;
      liczba >> x;
      r.v.push_back(x);
    }
    w.push_back(r);
  }
  return w;
}

// The window's conversions of its grid units.
Extended Mi(Extended mir) { return mir * 4.0L * kPi * 1e-7L; }

struct Bledy {
  Extended R = 0, X = 0, Kn = 0;
  std::string gdzieR, gdzieX, gdzieKn;
  void Dodaj(Extended r, Extended x, Extended kn, const Wiersz& w, const std::string& opis) {
    const Extended eR = Wzgl(r, w.v[w.v.size() - 3]);
    const Extended eX = Wzgl(x, w.v[w.v.size() - 2]);
    const Extended eK = Wzgl(kn, w.v[w.v.size() - 1]);
    if (eR > R) R = eR, gdzieR = opis;
    if (eX > X) X = eX, gdzieX = opis;
    if (eK > Kn) Kn = eK, gdzieKn = opis;
  }
  // Prints the largest errors and where they were; each within the bound.
  void Sprawdz(const char* rodzaj, size_t n, const Granice& g) const {
    std::printf("%-10s %5zu cases  max rel. error  R' %.2Le (%s)  X' %.2Le (%s)  Kn %.2Le (%s)\n", rodzaj, n, R,
                gdzieR.c_str(), X, gdzieX.c_str(), Kn, gdzieKn.c_str());
    EXPECT_LT(R, g.R) << rodzaj;
    EXPECT_LT(X, g.X) << rodzaj;
    EXPECT_LT(Kn, g.Kn) << rodzaj;
  }
};

std::string Opis(const Wiersz& w, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    char b[32];
    std::snprintf(b, sizeof b, "%s%.6Lg", i ? " " : "", w.v[i]);
    s += b;
  }
  return s;
}

// A tube row (r1_mm, r2_mm, gamma_MSm, mur, f_Hz) into the field object, with I = 100 A.
void UstawRure(TModelCylindra& p, const Wiersz& w) {
  p.r1 = w.v[0] / 1000;
  p.r2 = w.v[1] / 1000;
  p.gamma = w.v[2] * 1e6L;
  p.mi = Mi(w.v[3]);
  p.f = w.v[4];
  p.I = 100;
}

class DokladnoscTest : public ModelTest {};

TEST_F(DokladnoscTest, SolidConductor) {
  for (const auto& [plik, granice] : {std::pair{"solid.csv", Granice{3e-17L, 8e-15L, 3e-17L}},
                                      std::pair{"solid_range.csv", Granice{2e-18L, 2e-18L, 2e-18L}}}) {
    const auto tabela = Czytaj(plik);
    ASSERT_GT(tabela.size(), 90u);
    TModelWalca p(100, 50, kMi0, 55e6L, 0.01L);
    Bledy b;
    for (const auto& w : tabela) {
      // R_mm, gamma_MSm, mur, f_Hz
      p.R = w.v[0] / 1000;
      p.gamma = w.v[1] * 1e6L;
      p.mi = Mi(w.v[2]);
      p.f = w.v[3];
      p.I = 100;
      p.Oblicz();
      b.Dodaj(p.Rezystancja(), p.Reaktancja(), p.WspNaskorkowosci(), w, Opis(w, 4));
    }
    b.Sprawdz(plik, tabela.size(), granice);
  }
}

TEST_F(DokladnoscTest, TubularConductor) {
  const auto tabela = Czytaj("tube.csv");
  ASSERT_GT(tabela.size(), 2000u);
  TModelCylindra p(100, 50, kMi0, 55e6L, 0.01L, 0.02L);
  Bledy b;
  for (const auto& w : tabela) {
    UstawRure(p, w);
    p.Oblicz();
    b.Dodaj(p.Rezystancja(), p.Reaktancja(), p.WspNaskorkowosci(), w, Opis(w, 5));
  }
  b.Sprawdz("tube", tabela.size(), {1.2e-16L, 1.5e-14L, 1.2e-16L});
}

// Thick walls up to the top of the extended range (|m·r2| to 16 000), where
// the wall's Bessel combination D grows like e^(|m|(r2 − r1)/√2): every tube
// solves, with the profile (|E| at mid-wall against |E(r2)|) and Hφ(r2).
TEST_F(DokladnoscTest, ThickWalledTube) {
  const auto tabela = Czytaj("tube_range.csv");
  ASSERT_GT(tabela.size(), 400u);
  TModelCylindra p(100, 50, kMi0, 55e6L, 0.01L, 0.02L);
  Bledy b;
  Extended eE = 0, eH = 0;
  size_t rozwiazane = 0;
  for (const auto& w : tabela) {
    UstawRure(p, w);  // then E_mid_rel
    tk::Dispatch([&] {
      p.Oblicz();
      const Extended Hs = p.I / (2 * kPi * p.r2);
      eE = std::max(eE, Wzgl(num::ModZ(p.NatezenieE((p.r1 + p.r2) / 2)) / num::ModZ(p.NatezenieE(p.r2)), w.v[5]));
      eH = std::max(eH, WzglZ(p.NatezenieH(p.r2), TZespol{Hs, 0}));
      b.Dodaj(p.Rezystancja(), p.Reaktancja(), p.WspNaskorkowosci(), w, Opis(w, 5));
      ++rozwiazane;
    });
  }
  b.Sprawdz("tube_range", tabela.size(), {2e-18L, 2e-18L, 5e-18L});
  std::printf("%zu of %zu solved; max rel. error |E| mid-wall %.2Le, Hφ(r2) %.2Le\n", rozwiazane, tabela.size(), eE,
              eH);
  EXPECT_TRUE(komunikaty.empty()) << komunikaty.front().text;
  EXPECT_EQ(rozwiazane, tabela.size());
  EXPECT_LT(eE, 5e-15L);
  EXPECT_LT(eH, 1e-18L);
}

// Also where the columns of the boundary system differ by e^(2|Im k·r|):
// every such system is regular and solves without a message.
TEST_F(DokladnoscTest, TwoLayerConductor) {
  for (const auto& [plik, granice] : {std::pair{"twolayer.csv", Granice{1.5e-16L, 1.2e-15L, 1.5e-16L}},
                                      std::pair{"twolayer_range.csv", Granice{5e-17L, 1.2e-15L, 5e-17L}}}) {
    const auto tabela = Czytaj(plik);
    ASSERT_GT(tabela.size(), 300u);
    TModelPrzeWar p(100, 50, kMi0, kMi0, 8e6L, 34.8e6L, 0.01L, 0.02L);
    Bledy b;
    for (const auto& w : tabela) {
      // r1_mm, r2_mm, mur1, mur2, gamma1_MSm, gamma2_MSm, f_Hz
      p.r1 = w.v[0] / 1000;
      p.r2 = w.v[1] / 1000;
      p.mi1 = Mi(w.v[2]);
      p.mi2 = Mi(w.v[3]);
      p.gamma1 = w.v[4] * 1e6L;
      p.gamma2 = w.v[5] * 1e6L;
      p.f = w.v[6];
      p.I = 100;
      p.Oblicz();
      b.Dodaj(p.Rezystancja(), p.Reaktancja(), p.WspNaskorkowosci(), w, Opis(w, 7));
    }
    b.Sprawdz(plik, tabela.size(), granice);
    EXPECT_TRUE(komunikaty.empty()) << plik;
  }
}

}  // namespace
}  // namespace ferrant::test
