#include "numerics/Bessel4.h"

#include <cmath>
#include <utility>

#include "numerics/Kontrola4.h"
#include "numerics/Stale4.h"

namespace num {

namespace {

using kontrola::Sprawdz;
using kontrola::SprawdzFlagi;

const Extended k2PrzezPi = 0.636619772367581343075535053490057448L;
const Extended kMinus1PrzezPi = -(0.5L * k2PrzezPi);
const Extended kMinus2PrzezPi = -k2PrzezPi;
// Euler's constant, to the full extended precision: Y_n carries it in its
// logarithmic term, and J - jY magnifies its error where H2 decays.
const Extended kGamma = 0.577215664901532860606512090082402431L;
// The power series are summed until a term drops to this absolute size.
const Extended kStopSzeregu = 1e-50L;
// The asymptotic expansions and the continued fraction are summed until a
// term is below 2^-70 of the sum.
const Extended kStopWzgl = 8.470329472543003390683225006796419620513916015625e-22L;

// Where the methods change (moduli of z):
//  - J and Y: power series below, Hankel's expansions P and Q from here on,
//    and below it where the expansion is the better of the two.  The series
//    loses e^(|z| - |Im z|) to cancellation (350 at 20 on the ray at
//    -45 deg, 5e8 on the real axis), the expansion is good to its smallest
//    term, about 0.15 e^(-2|z|) (1.4e-14 at 15, 5e-19 at 20); with the
//    series' rounding of 3e-20 per unit of that loss they meet where
//    3|z| - |Im z| = 45: at 15 on the real axis, at 19.65 on the ray.
const Extended kGranicaJY = 20.0L;
//  - H2: J - jY from the series below kGranicaSzereguH.  Where H2 decays
//    (Im z < 0) it is e^(2|Im z|) times smaller than J and Y, and J - jY
//    magnifies the rounding of the series by that factor: 290 at |z| = 4 on
//    the -45 deg ray, 1.4e6 at 10.  From here to kGranicaH the continued fraction of K_0, K_1
//    at jz takes over in the lower half plane and on the positive real axis,
//    and from kGranicaH on Hankel's expansion, whose smallest term is 4e-10
//    at 10 but 5e-19 at 20.  Where H2 grows, J - jY does not cancel: there
//    H2 takes the method of J and Y.
const Extended kGranicaSzereguH = 4.0L;
const Extended kGranicaH = 20.0L;

// True where Hankel's expansions serve (see kGranicaJY).
inline bool PrzezRozwiniecie(const TZespol& z, Extended m) {
  return m >= kGranicaJY || 3.0L * m - std::fabs(z.im) > 45.0L;
}

// Loop guard of the asymptotic sums and the continued fraction; no argument
// needs more than a few hundred steps.
constexpr int kMaksKrokow = 2000;

// The arithmetic of the inner loops, inline: the same operations in the same
// order as AddZ, MulZ, MulZR and ModZ, each rounded once to extended, so the
// results are those of the library routines bit for bit; without their
// per-operation value checks, which cost a third of a multiplication here.
// A fault in a loop leaves an infinity or NaN in its sum; the loop exits
// (Koniec) check the flags, and every public routine checks its result.
inline TZespol Dod(const TZespol& a, const TZespol& b) { return TZespol{a.re + b.re, a.im + b.im}; }
inline TZespol Ode(const TZespol& a, const TZespol& b) { return TZespol{a.re - b.re, a.im - b.im}; }
inline TZespol Mn(const TZespol& a, const TZespol& b) {
  return TZespol{a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline TZespol MnR(const TZespol& a, Extended r) { return TZespol{a.re * r, a.im * r}; }
inline Extended Mod(const TZespol& a) {
  Extended m = std::fabs(a.re);
  Extended n = std::fabs(a.im);
  if (n > m) std::swap(m, n);
  if (n == 0.0L) return m;
  const Extended q = n / m;
  return m * std::sqrt(1.0L + q * q);
}

// The principal square root without cancellation: the larger of the two
// parts from (r + |a|)/2, the other as b/(2·larger).  The plain form
// sqrt((r - a)/2) loses all digits of a nearly real positive z (1.8e-10 at
// arg -2e-8 deg and |z| = 100); r by the overflow-safe modulus.
TZespol Pierwiastek(const TZespol& z) {
  const Extended a = z.re, b = z.im;
  if (b == 0.0L) return a >= 0.0L ? TZespol{std::sqrt(a), 0.0L} : TZespol{0.0L, std::sqrt(-a)};
  const Extended t = std::sqrt((Mod(z) + std::fabs(a)) * 0.5L);
  if (a >= 0.0L) return TZespol{t, b / (2.0L * t)};
  return TZespol{std::fabs(b) / (2.0L * t), b >= 0.0L ? t : -t};
}

// Where a loop is about to end on a computed size: a fault must not be the
// reason it ends.
template <typename T>
inline void Koniec(const T& v) {
  SprawdzFlagi(v);
}

// n! in extended precision: exact up to 25!, so the series stay right also
// above order 12, where the 32-bit factorial wraps.
Extended SilniaRozszerzona(int32_t n) {
  Extended s = 1.0L;
  for (int32_t i = 2; i <= n; ++i) s *= static_cast<Extended>(i);
  return s;
}

// The power series of J_n: the terms t_k = (-z^2/4)^k / (k! (n+k)!) with
// t_0 = 1/(2^n n!), summed until a term is at most 1e-50; also, on request,
// the harmonic sum of Y_n, sum of t_k (H_k + H_(n+k)) with H_0 = 0.
void SzeregJ(TZespol& S, TZespol* Hs, int32_t n, const TZespol& z) {
  const Extended t0 = 1.0L / (Potega(n, 2.0L) * SilniaRozszerzona(n));
  TZespol t{t0, 0.0L};
  TZespol suma = t;
  TZespol harm = ZeroZ;
  Extended h1 = 1.0L, h2 = 0.0L;
  if (Hs != nullptr) {
    Extended hn = 0.0L;
    for (int32_t i = 1; i <= n; ++i) hn += 1.0L / static_cast<Extended>(i);
    h2 = hn + 1.0L / static_cast<Extended>(n + 1);
    if (n >= 1) harm = MnR(t, hn);
  }
  const TZespol z2 = Mn(z, z);
  int64_t k = 1;
  for (;;) {
    // The newest term decides; the first term of 1e-50 or less is still in.
    // A NaN fails both tests and ends in the flag check.
    const Extended m = Mod(t);
    if (!(m > kStopSzeregu)) {
      Koniec(suma);
      if (!(m <= kStopSzeregu)) kontrola::BladWartosci(m);
      break;
    }
    const Extended d = -1.0L / static_cast<Extended>(4 * k * (n + k));
    t = MnR(t, d);
    t = Mn(z2, t);
    if (Hs != nullptr) {
      if (k >= 2) {
        h1 += 1.0L / static_cast<Extended>(k);
        h2 += 1.0L / static_cast<Extended>(n + k);
      }
      harm = Dod(harm, MnR(t, h1 + h2));
    }
    suma = Dod(suma, t);
    ++k;
  }
  S = suma;
  if (Hs != nullptr) *Hs = harm;
}

void SzeregJ(TZespol& w, int32_t n, const TZespol& z) {
  TZespol S, p;
  SzeregJ(S, nullptr, n, z);
  PotegaZ(p, n, z);
  MulZ(w, p, S);
}

// Y_n(z) = (2/pi)(ln(z/2) + gamma) J_n(z) - (1/pi) z^n sum t_k (H_k + H_(n+k))
//          - ((n-1)!/pi) (2/z)^n sum_(k<n) (z^2/4)^k (n-k-1)!/(k! (n-1)!)
void SzeregY(TZespol& w, int32_t n, const TZespol& z) {
  TZespol S, Hs, p;
  SzeregJ(S, &Hs, n, z);
  PotegaZ(p, n, z);
  MulZR(Hs, Hs, kMinus1PrzezPi);
  MulZ(Hs, Hs, p);
  MulZ(S, S, p);

  TZespol L;
  LnZ(L, FMulZR(z, 0.5L));
  L.re += kGamma;
  MulZR(L, L, k2PrzezPi);
  TZespol Lt;
  MulZ(Lt, L, S);

  TZespol F;
  if (n == 0) {
    F = ZeroZ;
  } else if (n == 1) {
    TZespol odw;
    OdwZ(odw, z);
    MulZR(F, odw, kMinus2PrzezPi);
  } else {
    TZespol q;
    MulZ(q, z, z);
    MulZR(q, q, 0.25L);
    TZespol u;
    MulZR(u, q, 1.0L / static_cast<Extended>(n - 1));
    TZespol Fs{1.0L + u.re, u.im};
    for (int32_t k = 2; k <= n - 1; ++k) {
      MulZR(u, u, 1.0L / static_cast<Extended>((n - k) * k));
      MulZ(u, u, q);
      AddZ(Fs, Fs, u);
    }
    const Extended silnia = SilniaRozszerzona(n - 1);
    TZespol dwaPrzezZ;
    OdwZ(dwaPrzezZ, z);
    MulZR(dwaPrzezZ, dwaPrzezZ, 2.0L);
    TZespol pz;
    PotegaZ(pz, n, dwaPrzezZ);
    MulZR(pz, pz, -silnia / kPi);
    MulZ(F, pz, Fs);
  }
  TZespol y;
  AddZ(y, Lt, F);
  AddZ(w, y, Hs);
}

// Hankel's asymptotic expansions P and Q from the terms rho_k = a_k(n) / z^k,
// a_k(n) = (mu - 1)(mu - 9)...(mu - (2k-1)^2) / (k! 8^k), mu = 4n^2; terms
// with k = 0, 1, 2, 3 mod 4 go to P, Q, -P, -Q.  The sum runs until a term
// is below 2^-70 of the sums or stops decreasing (the expansion diverges
// beyond its smallest term, near k = 2|z|); the first n terms may grow and
// are always taken.
void RozwiniecieHankela(TZespol& P, TZespol& Q, int32_t n, const TZespol& z) {
  const int64_t mu = 4 * static_cast<int64_t>(n) * n;
  TZespol odwZ;
  OdwZ(odwZ, z);
  TZespol rho = JedenZ;
  TZespol p = JedenZ, q = ZeroZ;
  Extended poprzedni = 1.0L;
  for (int64_t k = 1;; ++k) {
    const int64_t nieparzysta = 2 * k - 1;
    const Extended c = static_cast<Extended>(mu - nieparzysta * nieparzysta) / static_cast<Extended>(8 * k);
    rho = MnR(Mn(rho, odwZ), c);
    const Extended m = Mod(rho);
    if (!(m == m) || k > kMaksKrokow) {
      Koniec(m);
      kontrola::BladWartosci(m);
    }
    if (k > n && m >= poprzedni) {
      Koniec(p);
      break;
    }
    switch (k & 3) {
      case 0: p = Dod(p, rho); break;
      case 1: q = Dod(q, rho); break;
      case 2: p = Ode(p, rho); break;
      default: q = Ode(q, rho); break;
    }
    if (m < kStopWzgl * (Mod(p) + Mod(q))) {
      Koniec(p);
      break;
    }
    poprzedni = m;
  }
  P = p;
  Q = q;
}

// cos and sin of the phase x - n pi/2 - pi/4 of Hankel's expansions, x the
// real part of the argument.  x - pi/4 rounded to the precision of x would
// lose the phase of large arguments (an error of |x|·2^-64: 5e-13 at 1e7,
// 5e-5 at 1e15); the library's cosine and sine of extended numbers reduce x
// itself exactly (by a many-word pi/2) up to the overflow limit, and the
// shift is exact: a quarter turn swaps and negates, the eighth gives
// (cos + sin)/sqrt 2 and (sin - cos)/sqrt 2.
void Faza(Extended x, int32_t n, Extended& c, Extended& s) {
  Extended cx = std::cos(x), sx = std::sin(x);
  for (int32_t k = 0; k < (n & 3); ++k) {
    const Extended t = cx;
    cx = sx;
    sx = -t;
  }
  const Extended odwPierw2 = 0.707106781186547524400844362104849039L;
  c = (cx + sx) * odwPierw2;
  s = (sx - cx) * odwPierw2;
}

// J_n and Y_n from Hankel's expansions:
//   J_n = sqrt(2/(pi z)) (P cos chi - Q sin chi),
//   Y_n = sqrt(2/(pi z)) (P sin chi + Q cos chi),  chi = z - n pi/2 - pi/4.
// cos chi and sin chi hold cosh and sinh of Im z, which overflow once |Im z|
// passes about 11357.
void AsymptJY(TZespol* J, TZespol* Y, int32_t n, const TZespol& z) {
  const TZespol A = Pierwiastek(FDivRZ(k2PrzezPi, z));
  TZespol P, Q;
  RozwiniecieHankela(P, Q, n, z);
  Extended cf, sf;
  Faza(z.re, n, cf, sf);
  const Extended ch = std::cosh(z.im), sh = std::sinh(z.im);
  const TZespol c{cf * ch, -sf * sh};
  const TZespol s{sf * ch, cf * sh};
  Sprawdz(c);
  Sprawdz(s);
  if (J != nullptr) *J = FMulZ(A, FSubZ(FMulZ(P, c), FMulZ(Q, s)));
  if (Y != nullptr) *Y = FMulZ(A, FAddZ(FMulZ(P, s), FMulZ(Q, c)));
}

// K_0(x) and K_1(x) for Re x >= 0 and |x| >= about 2, by Steed's method for
// the continued fraction of K_1/K_0 together with the sum that normalises
// it (Temme, J. Comput. Phys. 19 (1975); Thompson and Barnett, J. Comput.
// Phys. 64 (1986) for complex x).  Every quantity stays of the size of K
// itself: no cancellation, full extended accuracy.
void KSteed(TZespol& K0, TZespol& K1, const TZespol& x) {
  TZespol b = MnR(Dod(JedenZ, x), 2.0L);
  TZespol d = FOdwZ(b);
  TZespol h = d, delh = d;
  TZespol q1 = ZeroZ, q2 = JedenZ;
  const Extended a1 = 0.25L;
  TZespol q{a1, 0.0L};
  Extended c = a1;
  Extended a = -a1;
  TZespol s = Dod(JedenZ, MnR(delh, a1));
  for (int i = 2;; ++i) {
    // a_i = -(i - 1/2)^2; 1/a_i and 1/i from one division.
    const Extended ip = static_cast<Extended>(i);
    const Extended kw = (ip - 0.5L) * (ip - 0.5L);
    const Extended t = 1.0L / (ip * kw);
    a = -kw;
    c = c * (kw * (kw * t));
    const TZespol qnew = MnR(Ode(q1, Mn(b, q2)), -(ip * t));
    q1 = q2;
    q2 = qnew;
    q = Dod(q, MnR(qnew, c));
    b.re += 2.0L;
    const TZespol mian = Dod(b, MnR(d, a));
    const Extended odw = 1.0L / (mian.re * mian.re + mian.im * mian.im);
    d = TZespol{mian.re * odw, -mian.im * odw};
    TZespol bd = Mn(b, d);
    bd.re -= 1.0L;
    delh = Mn(bd, delh);
    h = Dod(h, delh);
    const TZespol dels = Mn(q, delh);
    s = Dod(s, dels);
    const Extended m = std::fabs(dels.re) + std::fabs(dels.im);
    const Extended granica = kStopWzgl * (std::fabs(s.re) + std::fabs(s.im));
    if (!(m >= granica) || i >= kMaksKrokow) {
      Koniec(s);
      if (!(m < granica)) kontrola::BladWartosci(m);
      break;
    }
  }
  h = MnR(h, a1);
  // K_0 = sqrt(pi/(2x)) e^-x / s,  K_1 = K_0 (x + 1/2 - h) / x.
  TZespol e;
  ExpZ(e, MnR(x, -1.0L));
  const TZespol pierw = Pierwiastek(FDivRZ(0.5L * kPi, x));
  K0 = FDivZ(FMulZ(pierw, e), s);
  TZespol t = FSubZ(x, h);
  t.re += 0.5L;
  K1 = FDivZ(FMulZ(K0, t), x);
}

// H2_n(z) = (2j/pi) j^n K_n(jz), valid for -pi < arg z <= pi/2; used where
// H2 decays (lower half plane and the positive real axis).  Orders above 1
// by the upward recurrence K_(m+1) = K_(m-1) + (2m/x) K_m, stable for K.
// (2j/pi) j^n K_n: j^(n+1) times 2/pi.
TZespol ZK(const TZespol& Kn, int32_t n) {
  TZespol f = Kn;
  for (int32_t m = 0; m <= n % 4; ++m) f = TZespol{-f.im, f.re};
  MulZR(f, f, k2PrzezPi);
  return f;
}

void Hankel2PrzezK(TZespol& w, int32_t n, const TZespol& z) {
  const TZespol x{-z.im, z.re};
  TZespol K0, K1;
  KSteed(K0, K1, x);
  TZespol Kn = (n == 0) ? K0 : K1;
  for (int32_t m = 1; m < n; ++m) {
    TZespol nast;
    DivZ(nast, K1, x);
    MulZR(nast, nast, 2.0L * static_cast<Extended>(m));
    AddZ(nast, nast, K0);
    K0 = K1;
    K1 = nast;
    Kn = nast;
  }
  w = ZK(Kn, n);
}

// Where Hankel2 takes the continued fraction: 4 <= |z| < 20 where H2 decays.
bool PrzezK(const TZespol& z, Extended m) {
  const bool zanika = z.im < 0.0L || (z.im == 0.0L && z.re > 0.0L);
  return m < kGranicaH && m >= kGranicaSzereguH && zanika;
}

bool Nieparzysta(int32_t n) { return (n & 1) != 0; }

TZespol Minus(const TZespol& z) { return TZespol{-z.re, -z.im}; }
TZespol Sprzezenie(const TZespol& z) { return TZespol{z.re, -z.im}; }

// Hankel's expansions hold in the right half plane; where they serve in the
// left one (Re z < 0) the values come from w = -z by reflection:
//   J_n(z)  = (-1)^n J_n(w)
//   Y_n(z)  = (-1)^n (Y_n(w) + 2j J_n(w))     Im z >= 0 (also -0: the
//           = (-1)^n (Y_n(w) - 2j J_n(w))     Im z < 0   branch of LnZ)
//   H2_n(z) = (-1)^n (H2_n(w) + 2 J_n(w))     Im z >= 0
//           = -(-1)^n H1_n(w),  H1_n(w) = conj H2_n(conj w),   Im z < 0
// Each sum adds a small term to a large one (H2 is small where J and Y are
// large and of opposite phase), so none cancels.
enum class Rodzaj { J, Y, H };

TZespol Odbicie(Rodzaj f, int32_t n, const TZespol& z) {
  const TZespol w = Minus(z);
  const bool gorna = !(z.im < 0.0L);
  TZespol r;
  if (f == Rodzaj::J) {
    AsymptJY(&r, nullptr, n, w);
  } else if (f == Rodzaj::Y) {
    TZespol J, Y;
    AsymptJY(&J, &Y, n, w);
    r = gorna ? TZespol{Y.re - 2.0L * J.im, Y.im + 2.0L * J.re} : TZespol{Y.re + 2.0L * J.im, Y.im - 2.0L * J.re};
  } else if (gorna) {
    TZespol J, H;
    AsymptJY(&J, nullptr, n, w);
    Hankel2Asympt(H, n, w);
    r = TZespol{H.re + 2.0L * J.re, H.im + 2.0L * J.im};
  } else {
    TZespol H;
    Hankel2Asympt(H, n, Sprzezenie(w));
    r = Minus(Sprzezenie(H));
  }
  return Nieparzysta(n) ? Minus(r) : r;
}

// Negative orders: f_-n = (-1)^n f_n, for J, Y and H2 alike.
void RzadUjemny(TZespol& w, int32_t n, const TZespol& z, void (*funkcja)(TZespol&, int32_t, const TZespol&)) {
  TZespol r;
  funkcja(r, -n, z);
  if (Nieparzysta(n)) r = TZespol{-r.re, -r.im};
  w = r;
}

// The end of every public routine: the result is finite, no fault is
// pending, and only then is the result argument written.
inline void Wynik(TZespol& w, const TZespol& r) {
  Sprawdz(r);
  SprawdzFlagi(r);
  w = r;
}

}  // namespace

Extended Potega(int32_t n, Extended x) {
  if (n == 0) return 1.0L;
  if (n <= 1) return x;
  Extended p = x;
  for (int32_t i = 1; i < n; ++i) p *= x;
  Sprawdz(p);
  return p;
}

int32_t Silnia(int32_t n) {
  // The running product in 32 bits; from 13! on it wraps.
  uint32_t s = 1;
  for (int32_t i = 2; i <= n; ++i) s *= static_cast<uint32_t>(i);
  return static_cast<int32_t>(s);
}

void ExpZ(TZespol& w, const TZespol& z) {
  const Extended x = z.re, y = z.im;
  const Extended e = std::exp(x);
  TZespol r{e * std::cos(y), e * std::sin(y)};
  Sprawdz(r);
  w = r;
}

void SqrtZ(TZespol& w, const TZespol& z) {
  const Extended a = z.re, b = z.im;
  TZespol r;
  if (b == 0.0L && a >= 0.0L) {
    r = TZespol{std::sqrt(a), 0.0L};
  } else if (b == 0.0L) {
    r = TZespol{0.0L, std::sqrt(-a)};
  } else {
    const Extended m = std::sqrt(a * a + b * b);
    const Extended s = (b >= 0.0L) ? 1.0L : -1.0L;
    r = TZespol{std::sqrt((a + m) * 0.5L), s * std::sqrt((m - a) * 0.5L)};
  }
  Sprawdz(r);
  w = r;
}

TZespol FSqrtZ(const TZespol& z) {
  TZespol w;
  SqrtZ(w, z);
  return w;
}

void PotegaZ(TZespol& w, int32_t n, const TZespol& z) {
  if (n == 0) {
    w = JedenZ;
    return;
  }
  const TZespol z0 = z;
  TZespol p = z0;
  for (int32_t i = 1; i < n; ++i) MulZ(p, p, z0);
  w = p;
}

void LnZ(TZespol& w, const TZespol& z) {
  const TZespol z0 = z;
  const Extended m = ModZ(z0);
  // ln 0 is the division by zero of the logarithm.
  if (m == 0.0L) kontrola::BladDzielenia(false);
  Extended fi = std::atan2(z0.im, z0.re);
  if (fi == -kPi) fi = kPi;  // the negative real axis, also with Im z = -0
  TZespol r{std::log(m), fi};
  Sprawdz(r);
  w = r;
}

void BesselJ(TZespol& w, int32_t n, const TZespol& z) {
  const TZespol z0 = z;
  if (n < 0) {
    RzadUjemny(w, n, z0, BesselJ);
    return;
  }
  TZespol r;
  if (!PrzezRozwiniecie(z0, ModZ(z0))) SzeregJ(r, n, z0);
  else if (z0.re < 0.0L) r = Odbicie(Rodzaj::J, n, z0);
  else AsymptJY(&r, nullptr, n, z0);
  Wynik(w, r);
}

void BesselY(TZespol& w, int32_t n, const TZespol& z) {
  const TZespol z0 = z;
  if (n < 0) {
    RzadUjemny(w, n, z0, BesselY);
    return;
  }
  TZespol r;
  if (!PrzezRozwiniecie(z0, ModZ(z0))) SzeregY(r, n, z0);
  else if (z0.re < 0.0L) r = Odbicie(Rodzaj::Y, n, z0);
  else AsymptJY(nullptr, &r, n, z0);
  Wynik(w, r);
}

// H2_n(z) = sqrt(2/(pi z)) e^(-j chi) (P - jQ),  P - jQ = sum (-j)^k rho_k.
void Hankel2Asympt(TZespol& w, int32_t n, const TZespol& z) {
  const TZespol z0 = z;
  if (n < 0) {
    RzadUjemny(w, n, z0, Hankel2Asympt);
    return;
  }
  TZespol P, Q;
  RozwiniecieHankela(P, Q, n, z0);
  const TZespol PjQ{P.re + Q.im, P.im - Q.re};
  // e^(-j chi) = e^(Im z) (cos chi - j sin chi)
  Extended cf, sf;
  Faza(z0.re, n, cf, sf);
  const Extended ey = std::exp(z0.im);
  TZespol e{ey * cf, ey * -sf};
  Sprawdz(e);
  TZespol amp;
  OdwZ(amp, Pierwiastek(z0));
  MulZR(amp, amp, std::sqrt(k2PrzezPi));
  TZespol r;
  MulZ(r, e, PjQ);
  MulZ(r, r, amp);
  Wynik(w, r);
}

void Hankel2(TZespol& w, int32_t n, const TZespol& z) {
  const TZespol z0 = z;
  if (n < 0) {
    RzadUjemny(w, n, z0, Hankel2);
    return;
  }
  const Extended m = ModZ(z0);
  TZespol r;
  if (PrzezK(z0, m)) {
    Hankel2PrzezK(r, n, z0);
  } else if (PrzezRozwiniecie(z0, m) && z0.re < 0.0L) {
    r = Odbicie(Rodzaj::H, n, z0);
  } else if (PrzezRozwiniecie(z0, m)) {
    Hankel2Asympt(r, n, z0);
  } else {
    TZespol y, j;
    BesselY(y, n, z0);
    BesselJ(j, n, z0);
    SubZ(r, j, FMulZ(JZ, y));
  }
  Wynik(w, r);
}

void Hankel2IPoch(TZespol& h, TZespol& hp, const TZespol& z) {
  const TZespol z0 = z;
  TZespol h0, h1;
  if (PrzezK(z0, ModZ(z0))) {
    // The continued fraction yields K_0 and K_1 together.
    TZespol K0, K1;
    KSteed(K0, K1, TZespol{-z0.im, z0.re});
    h0 = ZK(K0, 0);
    h1 = ZK(K1, 1);
    Sprawdz(h0);
    SprawdzFlagi(h0);
  } else {
    Hankel2(h0, 0, z0);
    Hankel2(h1, 1, z0);
  }
  Wynik(hp, TZespol{-h1.re, -h1.im});
  h = h0;
}

namespace {

// Forward recurrence f_k = (2(k-1)/z) f_(k-1) - f_(k-2) from f_0, f_1 up to
// order n; leaves f_(n-1) in a and f_n in b.
void Rekurencja(TZespol& a, TZespol& b, int32_t n, const TZespol& z) {
  for (int32_t k = 2; k <= n; ++k) {
    TZespol c;
    DivZ(c, b, z);
    MulZR(c, c, static_cast<Extended>(2 * k - 2));
    SubZ(c, c, a);
    a = b;
    b = c;
  }
}

using Funkcja = void (*)(TZespol&, int32_t, const TZespol&);

void Rek(Funkcja f, TZespol& w, int32_t n, const TZespol& z) {
  if (n < 0) return;
  const TZespol z0 = z;
  if (n <= 1) {
    f(w, n, z0);
    return;
  }
  TZespol a, b;
  f(a, 0, z0);
  f(b, 1, z0);
  Rekurencja(a, b, n, z0);
  Wynik(w, b);
}

// f_0' = -f_1 and f_n' = f_(n-1) - (n/z) f_n.
void Poch(Funkcja f, TZespol& w, int32_t n, const TZespol& z) {
  if (n < 0) return;
  const TZespol z0 = z;
  TZespol r;
  if (n == 0) {
    f(r, 1, z0);
    MulZR(r, r, -1.0L);
  } else {
    TZespol a, b;
    f(a, 0, z0);
    f(b, 1, z0);
    Rekurencja(a, b, n, z0);
    DivZ(r, b, z0);
    MulZR(r, r, static_cast<Extended>(n));
    SubZ(r, a, r);
  }
  Wynik(w, r);
}

}  // namespace

void BesselJRek(TZespol& w, int32_t n, const TZespol& z) { Rek(BesselJ, w, n, z); }
void BesselJPoch(TZespol& w, int32_t n, const TZespol& z) { Poch(BesselJ, w, n, z); }
void Hankel2Rek(TZespol& w, int32_t n, const TZespol& z) { Rek(Hankel2, w, n, z); }
void Hankel2Poch(TZespol& w, int32_t n, const TZespol& z) { Poch(Hankel2, w, n, z); }

}  // namespace num
