#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/Bessel4.h"
#include "support/Pomoc.h"
#include "tests/support/TestFiles.h"

using namespace num;
using testy::Modul;
using testy::Rowne;

namespace {

class Bessel4 : public testy::CzysteFlagi {};

long double Tolerancja(char os, char f, long double r);

const long double kPi = 3.14159265358979323846264338327950288L;

long double Wzgl(const TZespol& w, const TZespol& ref) { return hypotl(w.re - ref.re, w.im - ref.im) / Modul(ref); }

// A point r e^(-j pi/4) of the ray the conductor models use.
TZespol NaPromieniu(long double r) {
  const long double a = r / std::sqrt(2.0L);
  return TZespol{a, -a};
}

TEST_F(Bessel4, Helpers) {
  EXPECT_EQ(1.0L, Potega(0, 5));
  EXPECT_EQ(5.0L, Potega(1, 5));
  EXPECT_EQ(5.0L, Potega(-3, 5));
  EXPECT_EQ(8.0L, Potega(3, 2));
  EXPECT_EQ(1, Silnia(0));
  EXPECT_EQ(1, Silnia(-4));
  EXPECT_EQ(120, Silnia(5));
  EXPECT_EQ(479001600, Silnia(12));

  const TZespol z{1, 2};
  TZespol w;
  PotegaZ(w, 0, z);
  EXPECT_TRUE(Rowne(w, JedenZ));
  PotegaZ(w, -2, z);
  EXPECT_TRUE(Rowne(w, z));
  PotegaZ(w, 3, z);
  EXPECT_TRUE(Rowne(w, TZespol{-11, -2}));

  ExpZ(w, {1, 0});
  EXPECT_EQ(std::exp(1.0L), w.re);
  EXPECT_EQ(0.0L, w.im);
  ExpZ(w, {0, kPi});
  EXPECT_NEAR(-1.0L, w.re, 1e-19L);

  LnZ(w, {-1, 0});
  EXPECT_TRUE(Rowne(w, TZespol{0, kPi}));
  LnZ(w, {-1, -0.0L});
  EXPECT_TRUE(Rowne(w, TZespol{0, kPi})) << "the principal value, imaginary part in (-pi, pi]";
  LnZ(w, {0, -2});
  EXPECT_EQ(std::log(2.0L), w.re);
  EXPECT_EQ(-kPi / 2, w.im);
}

TEST_F(Bessel4, SquareRootBranches) {
  TZespol w;
  SqrtZ(w, {0, -1});
  EXPECT_TRUE(Rowne(w, TZespol{std::sqrt(0.5L), -std::sqrt(0.5L)}));
  SqrtZ(w, {-4, 0});
  EXPECT_TRUE(Rowne(w, TZespol{0, 2}));
  SqrtZ(w, {-4, -0.0L});
  EXPECT_TRUE(Rowne(w, TZespol{0, 2})) << "-0 counts as 0";
  SqrtZ(w, {9, 0});
  EXPECT_TRUE(Rowne(w, TZespol{3, 0}));
  SqrtZ(w, {0, 2});
  EXPECT_TRUE(Rowne(w, TZespol{1, 1}));
  SqrtZ(w, {-3, -4});
  EXPECT_TRUE(Rowne(w, TZespol{1, -2}));
  EXPECT_TRUE(Rowne(FSqrtZ({0, 0}), ZeroZ));
}

// The power series at 1 and at 0.
TEST_F(Bessel4, SeriesValues) {
  TZespol w;
  BesselJ(w, 0, {0, 0});
  EXPECT_TRUE(Rowne(w, TZespol{1, 0}));
  BesselJ(w, 1, {0, 0});
  EXPECT_EQ(0.0L, w.re);
  EXPECT_EQ(0.0L, w.im);

  const TZespol jeden{1, 0};
  BesselJ(w, 0, jeden);
  EXPECT_NEAR(0.765197686557966551L, w.re, 2e-19L);
  BesselJ(w, 1, jeden);
  EXPECT_NEAR(0.440050585744933516L, w.re, 2e-19L);
  BesselJ(w, 2, jeden);
  EXPECT_NEAR(0.114903484931900480L, w.re, 2e-19L);
  // Y to the last digits: Euler's constant is carried in full (with 16
  // digits of it Y_0(1) was off in the 15th).
  BesselY(w, 1, jeden);
  EXPECT_NEAR(-0.781212821300288716547L, w.re, 4e-19L);
  BesselY(w, 2, jeden);
  EXPECT_NEAR(-1.650682606816254391077L, w.re, 4e-19L);
  EXPECT_EQ(0.0L, w.im) << "Y_2 of a real argument is real";
  BesselY(w, 0, jeden);
  EXPECT_NEAR(0.088256964215676957983L, w.re, 4e-19L);
  EXPECT_EQ(0.0L, w.im);
  // Orders above 12, where a 32-bit factorial would wrap.
  BesselJ(w, 14, {2, 0});
  EXPECT_NEAR(1.0L, w.re / 1.07294644750652481486e-11L, 1e-18L);
}

TEST_F(Bessel4, HankelFunctionAtTwenty) {
  TZespol w;
  Hankel2(w, 0, {20, 0});
  EXPECT_NEAR(0.1670246643L, w.re, 1e-10L);
  EXPECT_NEAR(-0.0626405968L, w.im, 1e-10L);
  Hankel2(w, 1, {20, 0});
  EXPECT_NEAR(0.0668331242L, w.re, 1e-10L);
  EXPECT_NEAR(0.1655116144L, w.im, 1e-10L);
}

// No method switch shows as a jump: just below and at each switch (15 is
// where series and expansion meet on the real axis), and at the old switch
// points 10 and 12, the values agree within the accuracy of the two methods.
TEST_F(Bessel4, NoJumpsAtTheSwitches) {
  using F = void (*)(TZespol&, int32_t, const TZespol&);
  const F funkcje[] = {BesselJ, BesselY, Hankel2};
  for (long double s : {4.0L, 10.0L, 12.0L, 15.0L, 20.0L}) {
    for (bool promien : {false, true}) {
      const long double ponizej = std::nextafter(s, 0.0L);
      const TZespol a = promien ? NaPromieniu(ponizej) : TZespol{ponizej, 0};
      const TZespol b = promien ? NaPromieniu(s) : TZespol{s, 0};
      for (int f = 0; f < 3; ++f) {
        for (int n = 0; n <= 1; ++n) {
          TZespol wa, wb;
          funkcje[f](wa, n, a);
          funkcje[f](wb, n, b);
          // Scale: the envelope |H2| on the real axis, the value itself on the ray.
          TZespol h;
          Hankel2(h, n, b);
          const long double skala = promien ? Modul(wb) : Modul(h);
          const char nazwa = "JYH"[f];
          EXPECT_LT(hypotl(wa.re - wb.re, wa.im - wb.im) / skala,
                    Tolerancja(promien ? 'D' : 'R', nazwa, ponizej) + Tolerancja(promien ? 'D' : 'R', nazwa, s))
              << "f" << f << " n" << n << " at " << s << (promien ? " on the ray" : " on the real axis");
        }
      }
    }
  }
}

TEST_F(Bessel4, RecurrencesAndDerivatives) {
  for (const TZespol z : {TZespol{5, 0}, NaPromieniu(2), NaPromieniu(7), NaPromieniu(15), NaPromieniu(60)}) {
    TZespol a, b;
    BesselJRek(a, 0, z);
    BesselJ(b, 0, z);
    EXPECT_TRUE(Rowne(a, b));
    BesselJRek(a, 1, z);
    BesselJ(b, 1, z);
    EXPECT_TRUE(Rowne(a, b));
    Hankel2Poch(a, 0, z);
    Hankel2(b, 1, z);
    EXPECT_TRUE(Rowne(a, TZespol{-b.re, -b.im}));
    TZespol h, hp;  // both at once, from one continued fraction where it serves
    Hankel2IPoch(h, hp, z);
    EXPECT_TRUE(Rowne(hp, a));
    Hankel2Rek(a, 0, z);
    EXPECT_TRUE(Rowne(h, a));
    BesselJPoch(a, 0, z);
    BesselJ(b, 1, z);
    EXPECT_TRUE(Rowne(a, TZespol{-b.re, -b.im}));
    // Upward recurrence against the direct functions, where it is stable.
    Hankel2Rek(a, 3, z);
    Hankel2(b, 3, z);
    EXPECT_LT(Wzgl(a, b), 1e-15L) << z.re;
    BesselJ(b, 2, z);
    BesselJRek(a, 2, z);
    EXPECT_LT(Wzgl(a, b), 1e-15L) << z.re;
    // f_1' = f_0 - f_1/z
    TZespol f0, f1, p;
    Hankel2(f0, 0, z);
    Hankel2(f1, 1, z);
    Hankel2Poch(p, 1, z);
    EXPECT_LT(Wzgl(p, FSubZ(f0, FDivZ(f1, z))), 1e-18L);
  }
  // The forward recurrence is used also where it loses accuracy.
  TZespol a, b;
  BesselJRek(a, 5, {0.5L, 0});
  BesselJ(b, 5, {0.5L, 0});
  EXPECT_GT(Wzgl(a, b), 1e-12L);
}

TEST_F(Bessel4, ResultMayBeTheArgument) {
  using F = void (*)(TZespol&, int32_t, const TZespol&);
  const F funkcje[] = {BesselJ, BesselY, Hankel2, Hankel2Asympt, BesselJRek, BesselJPoch, Hankel2Rek, Hankel2Poch};
  for (const TZespol z : {TZespol{1.5L, 0.5L}, NaPromieniu(8), NaPromieniu(30)}) {
    for (F f : funkcje) {
      for (int n : {0, 1, 2}) {
        TZespol w, x = z;
        f(w, n, z);
        f(x, n, x);
        EXPECT_TRUE(Rowne(w, x));
      }
    }
    using G = void (*)(TZespol&, const TZespol&);
    const G szescian = [](TZespol& w, const TZespol& a) { PotegaZ(w, 3, a); };
    for (G g : {G(SqrtZ), G(ExpZ), G(LnZ), szescian}) {
      TZespol w, x = z;
      g(w, z);
      g(x, x);
      EXPECT_TRUE(Rowne(w, x));
    }
  }
}

TEST_F(Bessel4, NegativeOrders) {
  const TZespol z = NaPromieniu(3);
  const TZespol wartownik{123, 456};
  using F = void (*)(TZespol&, int32_t, const TZespol&);
  for (F f : {BesselJRek, BesselJPoch, Hankel2Rek, Hankel2Poch}) {
    TZespol w = wartownik;
    f(w, -1, z);
    EXPECT_TRUE(Rowne(w, wartownik));
  }
  TZespol a, b;
  BesselJ(a, -1, z);
  BesselJ(b, 1, z);
  EXPECT_TRUE(Rowne(a, TZespol{-b.re, -b.im}));
  Hankel2(a, -2, z);
  Hankel2(b, 2, z);
  EXPECT_TRUE(Rowne(a, b));
}

// Faults at z = 0 and for huge imaginary parts.
TEST_F(Bessel4, FaultsRaiseTheRightErrors) {
  const TZespol zero{0, 0};
  const TZespol wartownik{123, 456};
  TZespol w = wartownik;
  EXPECT_DZIELENIE(Hankel2(w, 0, zero));
  EXPECT_TRUE(Rowne(w, wartownik)) << "the result stays unwritten";
  EXPECT_DZIELENIE(Hankel2(w, 1, zero));
  EXPECT_DZIELENIE(BesselY(w, 0, zero));
  EXPECT_DZIELENIE(BesselY(w, 2, zero));
  EXPECT_DZIELENIE(LnZ(w, zero));
  EXPECT_DZIELENIE(Hankel2Rek(w, 2, zero));
  EXPECT_DZIELENIE(Hankel2Poch(w, 0, zero));
  EXPECT_NIEDOZWOLONA(BesselJRek(w, 2, zero));
  EXPECT_NIEDOZWOLONA(BesselJPoch(w, 1, zero));
  EXPECT_TRUE(Rowne(w, wartownik));
  BesselJPoch(w, 0, zero);
  EXPECT_EQ(0.0L, w.re);
  EXPECT_EQ(0.0L, w.im);

  EXPECT_PRZEPELNIENIE(BesselJ(w, 0, {0, 12000}));
  EXPECT_PRZEPELNIENIE(BesselY(w, 1, {5, -12000}));
  EXPECT_PRZEPELNIENIE(Hankel2(w, 0, {0, 12000}));
  EXPECT_PRZEPELNIENIE(Hankel2Asympt(w, 0, {3, 1e5L}));
  EXPECT_PRZEPELNIENIE(BesselJ(w, 0, NaPromieniu(17000)));
  EXPECT_PRZEPELNIENIE(BesselJPoch(w, 0, NaPromieniu(17000)));
  EXPECT_PRZEPELNIENIE(ExpZ(w, {12000, 1}));
  EXPECT_PRZEPELNIENIE(Potega(5000, 10));
  EXPECT_PRZEPELNIENIE(SqrtZ(w, {1e3000L, 1}));

  // Where H2 decays below the extended range it is 0, silently.
  Hankel2(w, 0, NaPromieniu(17000));
  EXPECT_EQ(0.0L, w.re);
  EXPECT_FALSE(tk::FpFaultPending());
}

// A fault pending when a series ends is not swallowed by the loop.
TEST_F(Bessel4, APendingFaultEndsTheCall) {
  TZespol w;
  testy::WywolajPrzepelnienie();
  EXPECT_PRZEPELNIENIE(BesselJ(w, 0, {1, 0}));
  testy::WywolajDzieleniePrzezZero();
  EXPECT_DZIELENIE(Hankel2(w, 0, NaPromieniu(10)));
  testy::WywolajDzieleniePrzezZero();
  EXPECT_DZIELENIE(Hankel2(w, 0, NaPromieniu(100)));
}

// Over the whole plane: a value that is finite, or one of the errors;
// never an infinity or a NaN, and no fault left pending.
TEST_F(Bessel4, NeverInfinityOrNaN) {
  using F = void (*)(TZespol&, int32_t, const TZespol&);
  const F funkcje[] = {BesselJ, BesselY, Hankel2, Hankel2Asympt, BesselJRek, BesselJPoch, Hankel2Rek, Hankel2Poch};
  int wartosci = 0, bledy = 0;
  for (long double r : {0.0L, 1e-3000L, 1e-3L, 0.5L, 3.99L, 4.0L, 7.0L, 19.99L, 20.0L, 50.0L, 1e3L, 1.2e4L, 1.7e4L,
                        1e6L, 1e2000L, 1e4000L}) {
    for (int k = 0; k < 16; ++k) {
      const long double fi = -kPi + 2 * kPi * k / 16;
      const TZespol z{r * std::cos(fi), r * std::sin(fi)};
      for (F f : funkcje) {
        for (int n = 0; n <= 3; ++n) {
          TZespol w{0, 0};
          try {
            f(w, n, z);
            ++wartosci;
          } catch (const tk::EMathError&) {
            ++bledy;
          }
          ASSERT_TRUE(std::isfinite(w.re) && std::isfinite(w.im)) << r << " " << fi << " " << n;
          ASSERT_FALSE(tk::FpFaultPending()) << r << " " << fi << " " << n;
        }
      }
    }
  }
  EXPECT_GT(wartosci, 0);
  EXPECT_GT(bledy, 0);
}

// --- Against the 40-digit reference (data/bessel_reference.txt) -----------

struct Wiersz {
  char os;  // 'R' real axis, 'D' the ray at -45 deg, 'A' rays at other angles
  int n;
  TZespol z;
  TZespol J, Y, H, Jd, Hd;  // and the derivatives J_n', H2_n'
};

long double Mantysa(const std::string& m) {
  const bool ujemna = !m.empty() && m[0] == '-';
  const long double u = static_cast<long double>(std::strtoull(m.c_str() + (ujemna ? 1 : 0), nullptr, 10));
  return ujemna ? -u : u;
}

std::vector<Wiersz> Wczytaj() {
  std::ifstream f(testsupport::DataPath("bessel_reference.txt"));
  std::vector<Wiersz> wiersze;
  std::string linia;
  while (std::getline(f, linia)) {
    if (linia.empty() || linia[0] == '#') continue;
    std::istringstream is(linia);
    std::string os, mr, mi, v[10];
    int n, er, ei;
    is >> os >> n >> mr >> er >> mi >> ei;
    for (auto& s : v) is >> s;
    long double x[10];
    // Values beyond the extended range read as infinities or zeros; the
    // flags of that reading are not the library's.
    for (int i = 0; i < 10; ++i) x[i] = std::strtold(v[i].c_str(), nullptr);
    tk::FpClear();
    wiersze.push_back({os[0],
                       n,
                       {std::ldexp(Mantysa(mr), er), std::ldexp(Mantysa(mi), ei)},
                       {x[0], x[1]},
                       {x[2], x[3]},
                       {x[4], x[5]},
                       {x[6], x[7]},
                       {x[8], x[9]}});
  }
  return wiersze;
}

// Largest relative error allowed.  On the ray, relative to the value itself;
// on the real axis, relative to the envelope |H2| = sqrt(J^2 + Y^2), since J
// and Y have zeros there.  The terms: a floor of rounding (the phase of
// Hankel's expansions is exact, so it does not grow with |z|), the short
// Euler constant in Y (2.3e-16 of Y), its growth by e^(sqrt(2)|z|) in
// J - jY on the ray below 4, and the cancellation of the power series on
// the real axis (e^|z|) below 20.
long double Tolerancja(char os, char f, long double r) {
  const long double faza = 2e-17L;
  if (os == 'D') {
    if (f == 'J') return faza;
    if (f == 'Y') return faza + 5e-16L;
    return r < 4 ? faza + 3e-16L * std::exp(1.42L * r) : faza;
  }
  const long double szereg = r < 20 ? 3e-20L * std::exp(r) : 0;
  return faza + szereg + (f == 'J' ? 0 : 5e-16L);
}

// The bound at other angles: about four times the largest error measured in
// the region (Bessel4.h).
long double GranicaKatow(const TZespol& z) {
  const long double r = ModZ(z);
  const long double odOsi = std::atan2(std::fabs(z.im), std::fabs(z.re)) * 180 / kPi;  // from the real axes
  if (r < 12) return 3e-14L;
  if (r < 16.5L) {
    if (odOsi >= 45) return 3e-17L;
    if (odOsi >= 10) return 7e-14L;
    return z.re > 0 ? 2.5e-13L : 6e-13L;
  }
  if (r < 20) return 1.5e-14L;
  return 2e-17L;
}

// The scale of an error.  J and Y have zeros (on the real axis and, for Y,
// near the negative one): there the error is measured against the envelope,
// the largest of |J|, |Y| and |H2|, which is |H2| on the real axis.  H2 has
// no zeros in the lower half plane, where it decays: there against itself.
long double Skala(const Wiersz& w, int f) {
  const long double obwiednia = std::max({Modul(w.J), Modul(w.Y), Modul(w.H)});
  const bool dolna = w.z.im < 0;
  switch (f) {
    case 0:
    case 1: return obwiednia;
    case 2: return dolna ? Modul(w.H) : obwiednia;
    case 3: return std::max(Modul(w.Jd), Modul(w.Hd));
    default: return dolna ? Modul(w.Hd) : std::max(Modul(w.Jd), Modul(w.Hd));
  }
}

const char* Przedzial(const TZespol& z) {
  const long double st = std::atan2(z.im, z.re) * 180 / kPi;
  const long double a = std::fabs(st);
  if (z.im == 0) return z.re > 0 ? "   0" : " 180";
  if (a < 1e-3L) return st < 0 ? " -0 " : " +0 ";
  if (a < 90) return st < 0 ? " -1..-89" : " +1..+89";
  if (a < 179.99L) return st < 0 ? " -90..-179" : " +90..+179";
  return st < 0 ? "-179.999999" : "+179.999999";
}

TEST_F(Bessel4, AgainstTheReferenceTable) {
  const std::vector<Wiersz> tabela = Wczytaj();
  ASSERT_GT(tabela.size(), 2200u);
  using F = void (*)(TZespol&, int32_t, const TZespol&);
  const F funkcje[] = {BesselJ, BesselY, Hankel2, BesselJPoch, Hankel2Poch};
  const char nazwy[] = {'J', 'Y', 'H', 'J', 'H'};
  const char* opisy[] = {"J", "Y", "H2", "J'", "H2'"};
  std::map<std::string, long double> najgorsze;
  int porownane = 0, przepelnione = 0, znikome = 0;
  for (const Wiersz& w : tabela) {
    const long double r = ModZ(w.z);
    const TZespol ref[] = {w.J, w.Y, w.H, w.Jd, w.Hd};
    for (int f = 0; f < 5; ++f) {
      const long double m = Modul(ref[f]);
      TZespol wynik{0, 0};
      bool przepelnienie = false;
      try {
        funkcje[f](wynik, w.n, w.z);
      } catch (const tk::EOverflow&) {
        przepelnienie = true;
      }
      EXPECT_FALSE(tk::FpFaultPending());
      // Near and beyond the top of the extended range: an overflow error.
      if (!(m < LDBL_MAX / 1e3L)) {
        EXPECT_TRUE(przepelnienie || !(m < LDBL_MAX)) << opisy[f] << w.n << " " << w.os << " |z|=" << r;
        przepelnione += przepelnienie;
        continue;
      }
      ASSERT_FALSE(przepelnienie) << opisy[f] << w.n << " " << w.os << " z=" << w.z.re << " " << w.z.im;
      // Below the normal range (H2 where it decays beyond |Im z| = 11 000): tiny.
      if (m < 1e-4900L) {
        EXPECT_LT(Modul(wynik), 1e-4900L);
        ++znikome;
        continue;
      }
      const long double blad = hypotl(wynik.re - ref[f].re, wynik.im - ref[f].im) / Skala(w, f);
      // The rays of the models keep their tighter bounds; the other angles
      // those of the regions in Bessel4.h.
      const long double granica = w.os == 'A' ? GranicaKatow(w.z) : std::min(1e-12L, Tolerancja(w.os, nazwy[f], r));
      EXPECT_LE(blad, granica) << opisy[f] << w.n << " " << w.os << " z=" << w.z.re << " " << w.z.im << " -> "
                               << wynik.re << " " << wynik.im;
      long double& n = najgorsze[std::string(Przedzial(w.z)) + " deg  " + opisy[f] + std::to_string(w.n)];
      if (blad > n) n = blad;
      ++porownane;
    }
  }
  EXPECT_GT(porownane, 10000);
  EXPECT_GT(przepelnione, 10);
  EXPECT_GT(znikome, 5);
  std::cout << "largest relative error (of the envelope where J, Y or H2 have zeros)\n";
  for (const auto& [k, v] : najgorsze) std::cout << "  " << k << "  " << static_cast<double>(v) << "\n";
}

}  // namespace
