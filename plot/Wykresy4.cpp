// The XY line-plot painter: data check, axis fitting and drawing into the
// picture area's recorded picture.
#include "plot/Wykresy4.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "numerics/Typy4.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"

namespace plot {

const char* const BledyWykresy4[5] = {
    "Wektor osi X klasy TWykresy o elementach FWek[0].Wek[i] jest zerowy",
    "Wektory osi Y klasy TWykresy o elementach FWek[j].Wek[i] (j>0) jest zerowy",
    "Różnica wahań wartości danych elementów wektorów FWek[j] dla j>0 jest większ niż 100000 co "
    "zamazuje prezentację graficzną - sprawdź poprawność podstawianych wartości",
    "Wprowadzono zerowy wektor danych FWyk[i].Wek w objekcie klasy TWykresy",
    "Metoda WykresXY została przerwana",
};
const char* const kCaptionWykresy4 = "Błędy w module Wykresy4";

namespace {

// 10^k in extended precision: powers up to 10^27 are exact, negative powers
// are the correctly rounded reciprocal of an exact power.
Extended Pot10(int32_t k) {
  Extended p = 1;
  for (int32_t i = 0; i < std::abs(k); ++i) p *= 10;
  return k < 0 ? 1 / p : p;
}

// The decimal digits of |v| rounded to 18 significant digits, as the number
// texts of the programs carry them: |v| = 0.d1d2...d18 * 10^(wyk + 1).
struct Cyfry {
  std::string d;  // 18 digits, all '0' for zero
  int wyk = 0;    // decimal exponent of the first digit
};

Cyfry Rozloz(Extended v) {
  Cyfry c;
  if (v == 0) {
    c.d.assign(18, '0');
    return c;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17Le", fabsl(v));  // d.ddddddddddddddddde+XX
  c.d.push_back(buf[0]);
  const char* q = buf + 2;
  while (*q >= '0' && *q <= '9') c.d.push_back(*q++);
  c.wyk = std::atoi(q + 1);
  return c;
}

// Keeps the first `ile` digits and rounds the rest away, halves away from
// zero; a carry out of the first digit raises the exponent.
void Obetnij(Cyfry& c, int ile) {
  if (ile >= static_cast<int>(c.d.size())) return;
  if (ile < 0) {
    c.d.assign(1, '0');
    return;
  }
  const bool wGore = c.d[ile] >= '5';
  c.d.resize(ile);
  if (!wGore) return;
  int k = ile - 1;
  while (k >= 0 && c.d[k] == '9') c.d[k--] = '0';
  if (k >= 0) {
    ++c.d[k];
  } else {
    c.d.insert(c.d.begin(), '1');
    ++c.wyk;
  }
}

// Fixed notation with "." and the given decimals, padded left to 5: the
// programs' own number text (18 significant digits, halves away from zero),
// with the point whatever the locale and the sign kept on every negative value.
std::string Staloprzecinkowo(Extended v, int32_t miejsca) {
  std::string t = num::FloatToStrStaly(v, 1, miejsca);
  const size_t sep = t.find(tk::DecimalSeparator());
  if (miejsca > 0 && sep != std::string::npos) t[sep] = '.';
  if (v < 0 && t[0] != '-') t.insert(0, 1, '-');
  if (t.size() < 5) t.insert(0, 5 - t.size(), ' ');
  return t;
}

// Exponential form with one decimal: " 1.5E+0002", "-1.5E-0003".
std::string Wykladniczo(Extended v) {
  Cyfry c = Rozloz(v);
  int wyk = 0;
  if (v != 0) {
    Obetnij(c, 2);
    wyk = c.wyk;
  } else {
    c.d = "00";
  }
  if (c.d.size() < 2) c.d.push_back('0');
  char buf[32];
  std::snprintf(buf, sizeof buf, "%c%c.%cE%c%04d", v < 0 ? '-' : ' ', c.d[0], c.d[1], wyk < 0 ? '-' : '+',
                std::abs(wyk));
  return buf;
}

// The fit of one axis from its data ends, span and granularity (already in o):
// tick step, label exponent, case, rounded ends, tick counts and range.
// The Y axis counts its ticks against span / 10, the X axis against 0.1 * span.
void DopasujOs(TOsWykresu& o, bool osY) {
  KrokPodzialki(o.span, o.n, o.step, o.b);
  o.e = std::max(Wykladnik(o.min), Wykladnik(o.max));
  if (o.e > o.b + 2) o.e = o.b;
  const Extended dziesiata = osY ? o.span / 10 : 0.1L * o.span;

  if (o.max > 0 && o.min < 0) {
    o.przypadek = 'A';
    int32_t r = 0;
    Extended hi = 0;
    while (hi < o.max - dziesiata) {
      ++r;
      hi = r * o.step;
    }
    int32_t s = 0;
    Extended lo = 0;
    while (lo > o.min + dziesiata) {
      ++s;
      lo = -(s * o.step);
    }
    Extended t = 0, g = 0;
    for (int32_t i = 0; i <= 5; ++i) {
      t = Zaokraglij(o.e, i, lo);
      g = Zaokraglij(o.e, i, hi);
      if (t != g && g - t > 0.9L * o.span && fabsl(t - o.min) < 0.1L * o.span && fabsl(g - o.max) < 0.1L * o.span) {
        o.proba = i;
        break;
      }
    }
    o.lo = t;
    o.hi = g;
    o.r = r;
    o.s = s;
    o.c = 0;
  } else if (o.max > 0) {
    o.przypadek = 'B';
    o.r = o.n;
    o.s = 0;
    for (int32_t i = 0; i <= 5; ++i) {
      o.lo = Zaokraglij(o.e, i, o.min);
      o.hi = Zaokraglij(o.e, i, o.lo + o.r * o.step);
      if (o.lo != o.hi && o.hi - o.lo > 0.9L * o.span && fabsl(o.lo - o.min) < 0.05L * o.span &&
          fabsl(o.hi - o.max) < 0.1L * o.span) {
        o.proba = i;
        break;
      }
    }
    o.c = o.lo;
  } else {
    o.przypadek = 'C';
    o.r = 0;
    o.s = o.n;
    for (int32_t i = 0; i <= 5; ++i) {
      o.hi = Zaokraglij(o.e, i, o.max);
      o.lo = Zaokraglij(o.e, i, o.hi - o.s * o.step);
      if (o.lo != o.hi && o.hi - o.lo > 0.9L * o.span && fabsl(o.hi - o.max) < 0.05L * o.span &&
          fabsl(o.lo - o.min) < 0.1L * o.span) {
        o.proba = i;
        break;
      }
    }
    o.c = o.hi;
  }
  o.amin = std::min(o.lo, o.min);
  o.amax = std::max(o.hi, o.max);
  tk::FpCheck();
}

// Repaints the picture area when the recording has ended, also after an error.
struct OdswiezObraz {
  tk::TImage* obraz;
  ~OdswiezObraz() {
    if (obraz) obraz->Changed();
  }
};

}  // namespace

int64_t Round(Extended x) {
  const Extended f = floorl(x);
  // Beyond the 64-bit range (or not a number) the conversion is invalid.
  if (!(f >= -9.2e18L && f <= 9.2e18L)) throw tk::EInvalidOp();
  int64_t w = static_cast<int64_t>(f);
  const Extended reszta = x - f;  // exact
  if (reszta > 0.5L || (reszta == 0.5L && (w & 1) != 0)) ++w;
  return w;
}

int32_t Wykladnik(Extended x) {
  if (x == 0) return 0;
  return static_cast<int32_t>(truncl(logl(fabsl(x)) / logl(10.0L)));
}

Extended Zaokraglij(int32_t a, int32_t i, Extended x) {
  return Pot10(a - i) * static_cast<Extended>(Round(x * Pot10(i - a)));
}

void ZerujMale(Extended& v, Extended span) {
  const Extended q = v / span;
  tk::FpCheck();  // a zero span cannot be fitted
  if (fabsl(q) < 1e-5L) v = 0;
}

void KrokPodzialki(Extended span, int32_t n, Extended& step, int32_t& b) {
  // The normalising loops below would never end for these.
  if (span == 0) throw tk::EZeroDivide();
  if (!(span > 0) || std::isinf(span)) throw tk::EInvalidOp();
  Extended s = span;
  int32_t c = 0;
  if (s > 100) {
    while (s >= 100) {
      s /= 10;
      ++c;
    }
    b = c + 1;
  } else if (s < 10) {
    while (s < 10) {
      s *= 10;
      ++c;
    }
    b = 1 - c;
  } else {
    b = 1;
  }
  step = ceill(s / n) * Pot10(b - 1);
  tk::FpCheck();
}

std::string OpisPodzialki(int32_t e, int32_t d, Extended v) {
  Extended x = v;
  int32_t miejsca = d;
  if (e >= 0 && e <= 2) {
    miejsca = d - e;
  } else {
    x = v * Pot10(-e);
  }
  if (miejsca < 0) return Wykladniczo(x);
  return Staloprzecinkowo(x, miejsca);
}

TWykresy::TWykresy(tk::TImage* obraz, int32_t ostatniPunkt, int32_t liczbaKrzywych)
    : FOstatniPunkt(ostatniPunkt), FLiczbaKrzywych(liczbaKrzywych), FObraz(obraz) {
  FPodzialkaX = 4;
  FPodzialkaY = 4;
  FMiejscaX = 2;
  FMiejscaY = 2;
  FCzcionkaTytulu.SetSize(10);
  FSzerokosc = obraz ? obraz->Width() : 0;
  FWysokosc = obraz ? obraz->Height() : 0;
  const tk::TColor paleta[11] = {tk::clBlack, tk::clRed,  tk::clNavy, tk::clGreen, tk::clMaroon, tk::clPurple,
                                 tk::clTeal,  tk::clLime, tk::clBlue, tk::clAqua,  tk::clFuchsia};
  std::copy(paleta, paleta + 11, FKolory);

  FWek.resize(static_cast<size_t>(std::max(liczbaKrzywych + 1, 0)));
  for (size_t i = 0; i < FWek.size(); ++i) {
    ParametryWykresu& rek = FWek[i];
    rek.Wek.assign(static_cast<size_t>(std::max(ostatniPunkt + 1, 0)), 0);
    const tk::TColor kolor = i <= 10 ? FKolory[i] : FKolory[0];
    rek.Czcionka.Color = kolor;
    rek.Czcionka.SetSize(8);
    rek.Czcionka.Style = tk::fsBold;
    rek.Pioro.Color = kolor;
    rek.Pioro.Width = 1;
    rek.Pioro.Style = tk::psSolid;
    if (i == 0) {
      rek.Jednostka.Dx = 40;
      rek.Jednostka.Dy = 5;
      rek.Nazwa.Dx = 40;
      rek.Nazwa.Dy = 20;
    } else {
      const int32_t dy = 15 * static_cast<int32_t>(i - 1);
      rek.Jednostka.Dx = 10;
      rek.Jednostka.Dy = dy;
      rek.Nazwa.Dx = 19;
      rek.Nazwa.Dy = dy;
    }
  }
  FMnoznikXdx = 60;
  FMnoznikXdy = 0;
  FMnoznikYdx = -50;
  FMnoznikYdy = 30;
}

TWykresy::~TWykresy() = default;

int32_t TWykresy::SprawdzDane() const {
  // The counts may be lowered between plots but never raised above the sizes made at construction.
  if (FLiczbaKrzywych >= static_cast<int32_t>(FWek.size()))
    throw tk::EListError("List index out of bounds (" + std::to_string(FLiczbaKrzywych) + ")");
  for (int32_t i = 0; i <= FLiczbaKrzywych; ++i)
    if (FOstatniPunkt >= static_cast<int32_t>(FWek[i].Wek.size()))
      throw tk::EListError("List index out of bounds (" + std::to_string(FOstatniPunkt) + ")");

  Extended maxX = -1e20L, minX = 1e20L, maxY = -1e20L, minY = 1e20L;
  for (int32_t i = 0; i <= FLiczbaKrzywych; ++i) {
    const WekI& w = FWek[i].Wek;
    Extended maxK = -1e20L, minK = 1e20L;
    for (int32_t j = 0; j <= FOstatniPunkt; ++j) {
      const Extended v = w[j];
      if (i == 0) {
        if (v > maxX) maxX = v;
        if (v < minX) minX = v;
      } else {
        if (v > maxY) maxY = v;
        if (v < minY) minY = v;
        if (v > maxK) maxK = v;
        if (v < minK) minK = v;
      }
    }
    // A curve of zeros only is refused as soon as it has been scanned.
    if (i >= 1 && maxK == 0 && minK == 0) return 4;
  }
  if (maxX == 0 && minX == 0) return 1;
  if (maxY == 0 && minY == 0) return 2;
  // A wider spread of the curves would squeeze them into a few pixels.
  if (fabsl(maxY - minY) > 100000) return 3;
  return 0;
}

void TWykresy::BladWykresy(int32_t kod) {
  if (kod < 1 || kod > 5) return;
  tk::ShowErrorBox(kCaptionWykresy4, BledyWykresy4[kod - 1]);
}

// The tick granularity divides the span into n steps and the tick counts
// grow by whole steps: a granularity of 0 or less would never reach the
// data's ends.
void TWykresy::SprawdzPodzialki() const {
  const int32_t n[2] = {FPodzialkaX, FPodzialkaY};
  for (int os = 0; os < 2; ++os)
    if (n[os] <= 0)
      throw tk::Exception(std::string("Podziałka osi ") + "XY"[os] + " klasy TWykresy (FPodzialka" + "XY"[os] + " = " +
                          std::to_string(n[os]) + ") musi być dodatnia");
}

TGeometriaWykresu TWykresy::Geometria() const {
  SprawdzPodzialki();
  TGeometriaWykresu g;
  const int32_t W = FSzerokosc, H = FWysokosc;
  const int32_t N = FOstatniPunkt, K = FLiczbaKrzywych;
  // Data that passed the check has a point and a curve; anything else has no extremes.
  if (N < 0 || K < 1 || K >= static_cast<int32_t>(FWek.size()))
    throw tk::EListError("List index out of bounds (" + std::to_string(N < 0 ? N : K) + ")");
  for (int32_t k = 0; k <= K; ++k)
    if (N >= static_cast<int32_t>(FWek[k].Wek.size()))
      throw tk::EListError("List index out of bounds (" + std::to_string(N) + ")");
  g.yb = H - 90;
  g.A = 30;
  g.T = 5;
  g.u = H - 100;
  g.q = W - 70;

  // Data extremes of the two axes; every curve counts for Y.
  TOsWykresu& X = g.X;
  TOsWykresu& Y = g.Y;
  X.min = X.max = FWek[0].Wek[0];
  for (int32_t j = 0; j <= N; ++j) {
    X.min = std::min(X.min, FWek[0].Wek[j]);
    X.max = std::max(X.max, FWek[0].Wek[j]);
  }
  Y.min = Y.max = FWek[1].Wek[0];
  for (int32_t k = 1; k <= K; ++k)
    for (int32_t j = 0; j <= N; ++j) {
      Y.min = std::min(Y.min, FWek[k].Wek[j]);
      Y.max = std::max(Y.max, FWek[k].Wek[j]);
    }
  X.span = X.max - X.min;
  Y.span = Y.max - Y.min;
  tk::FpCheck();

  // Ends that are mere rounding noise against the span are taken as zero, so
  // that data touching zero is fitted as one-signed.
  ZerujMale(X.max, X.span);
  ZerujMale(X.min, X.span);
  ZerujMale(Y.max, Y.span);
  ZerujMale(Y.min, Y.span);
  X.n = FPodzialkaX;
  Y.n = FPodzialkaY;

  DopasujOs(X, false);
  switch (X.przypadek) {
    case 'A':
      if (X.s != 0) {
        g.C = 10;
        g.p = 30;
      } else {
        g.C = 60;
        g.p = 60;
      }
      g.X0 = static_cast<int32_t>(Round(g.p - (g.q - g.p) * X.amin / (X.amax - X.amin)));
      break;
    case 'B':
      g.C = 68;
      g.p = 68;
      g.X0 = 68;
      break;
    default:
      g.C = 10;
      g.p = 30;
      g.X0 = g.q;
      break;
  }

  DopasujOs(Y, true);
  switch (Y.przypadek) {
    case 'A':
      if (Y.s == 0) g.yb = H - 100;
      g.Y0 = static_cast<int32_t>(Round(g.u + (g.u - g.A) * Y.amin / (Y.amax - Y.amin)));
      break;
    case 'B':
      g.yb = H - 100;
      g.Y0 = H - 100;
      break;
    default: g.Y0 = g.A; break;
  }

  X.step = (X.hi - X.lo) / (X.r + X.s);
  Y.step = (Y.hi - Y.lo) / (Y.r + Y.s);
  X.scale = (g.q - g.p) / (X.amax - X.amin);
  Y.scale = (g.u - g.A) / (Y.amax - Y.amin);
  tk::FpCheck();
  return g;
}

int32_t TWykresy::WykresXY() {
  // A fault left by the computation of the values is the caller's: raise it
  // before anything is drawn rather than plotting from a broken vector.
  tk::FpCheck();
  const int32_t kod = SprawdzDane();
  if (kod != 0) return kod;
  SprawdzPodzialki();  // before the picture is touched: it keeps what it showed

  const int32_t W = FSzerokosc, H = FWysokosc;
  auto mf = std::make_shared<tk::TMetafile>();
  if (FObraz) FObraz->SetMetafile(mf);
  OdswiezObraz odswiez{FObraz};
  {
    // The recording ends when this canvas goes, also on the way out of an error.
    tk::TMetafileCanvas rec(*mf, W, H);
    tk::TCanvas& c = rec.Canvas();

    c.Brush.SetColor(tk::clWhite);
    c.Rectangle(0, 0, W, H);

    const TGeometriaWykresu g = Geometria();
    const TOsWykresu& X = g.X;
    const TOsWykresu& Y = g.Y;
    const int32_t N = FOstatniPunkt, K = FLiczbaKrzywych;
    const int u = g.u, p = g.p, X0 = g.X0, Y0 = g.Y0;

    // Axes with their arrowheads.
    c.Pen.Width = 1;
    c.MoveTo(X0, 5);
    c.LineTo(X0, g.yb);
    c.MoveTo(g.C, Y0);
    c.LineTo(W, Y0);
    c.MoveTo(X0, 5);
    c.LineTo(X0 - 5, 15);
    c.MoveTo(X0, 5);
    c.LineTo(X0 + 5, 15);
    c.MoveTo(W, Y0);
    c.LineTo(W - 10, Y0 - 4);
    c.MoveTo(W, Y0);
    c.LineTo(W - 10, Y0 + 4);

    // Curve names right of the Y axis, units left of it, each in its curve's colour.
    for (int32_t k = 1; k <= K; ++k) {
      const ParametryWykresu& rek = FWek[k];
      c.Font = rek.Czcionka;
      const int x1 = X0 + rek.Nazwa.Dx, y1 = 5 + rek.Nazwa.Dy;
      int w = c.TextWidth(rek.Nazwa.Tekst), h = c.TextHeight(rek.Nazwa.Tekst);
      tk::TRect rn{x1 - 2, y1 - 2, x1 + w + 2, y1 + h + 2};
      c.DrawText(rek.Nazwa.Tekst, rn, tk::dtWordBreak);
      const int x2 = X0 - rek.Jednostka.Dx, y2 = 5 + rek.Jednostka.Dy;
      w = c.TextWidth(rek.Jednostka.Tekst);
      h = c.TextHeight(rek.Jednostka.Tekst);
      tk::TRect rj{x2 - w - 2, y2 - 2, x2 + 2, y2 + h + 2};
      c.DrawText(rek.Jednostka.Tekst, rj, tk::dtWordBreak | tk::dtRight);
    }

    // Axis name and unit of X, power-of-ten factors.
    c.Font.Color = tk::clBlack;
    c.Font.SetSize(8);
    const ParametryWykresu& osX = FWek[0];
    c.TextOut(W - osX.Nazwa.Dx, Y0 - osX.Nazwa.Dy, osX.Nazwa.Tekst);
    c.TextOut(W - osX.Jednostka.Dx, Y0 + osX.Jednostka.Dy, osX.Jednostka.Tekst);
    if (X.e > 2 || X.e < 0) {
      FWykladnikX = std::to_string(X.e).substr(0, 6);
      c.TextOut(W - FMnoznikXdx, Y0 + 30 + FMnoznikXdy, "*10");
      c.TextOut(W - FMnoznikXdx + 15, Y0 + 20 + FMnoznikXdy, FWykladnikX);
    }
    if (Y.e > 2 || Y.e < 0) {
      FWykladnikY = std::to_string(Y.e).substr(0, 6);
      c.TextOut(X0 + FMnoznikYdx, 5 + FMnoznikYdy, "*10");
      c.TextOut(X0 + FMnoznikYdx + 15, 5 + FMnoznikYdy - 10, FWykladnikY);
    }

    // Silver grid with the tick labels; the crossing value has the axis itself.
    c.Pen.Color = tk::clSilver;
    const int xr = static_cast<int>(Round((X.c + X.r * X.step - X.amin) * X.scale));
    const int xl = static_cast<int>(Round((X.c - X.s * X.step - X.amin) * X.scale));
    auto znacznikY = [&](Extended v) {
      const int ty = static_cast<int>(Round((v - Y.amin) * Y.scale));
      const std::string t = OpisPodzialki(Y.e, FMiejscaY, v);
      const int szer = 8 * static_cast<int>(t.size());
      c.TextOut(szer > X0 - 25 ? szer - 8 : X0 - 25, u - ty, t);
      c.MoveTo(p + xl, u - ty);
      c.LineTo(p + xr, u - ty);
    };
    for (int32_t L = 1; L <= Y.r; ++L) znacznikY(Y.c + L * Y.step);
    for (int32_t L = 1; L <= Y.s; ++L) znacznikY(Y.c - L * Y.step);

    const int yt = static_cast<int>(Round((Y.c + Y.r * Y.step - Y.amin) * Y.scale));
    const int yl = static_cast<int>(Round((Y.c - Y.s * Y.step - Y.amin) * Y.scale));
    auto znacznikX = [&](Extended v) {
      const int tx = static_cast<int>(Round((v - X.amin) * X.scale));
      c.TextOut(p + tx, Y0 + 7, OpisPodzialki(X.e, FMiejscaX, v));
      c.MoveTo(p + tx, u - yl);
      c.LineTo(p + tx, u - yt);
    };
    for (int32_t M = 1; M <= X.r; ++M) znacznikX(X.c + M * X.step);
    for (int32_t M = 1; M <= X.s; ++M) znacznikX(X.c - M * X.step);
    c.Pen.Color = tk::clBlack;

    // Curves: points outside the plot area are skipped, so a run of them
    // leaves a straight segment between the inside points around it.
    const WekI& xs = FWek[0].Wek;
    for (int32_t k = 1; k <= K; ++k) {
      c.Pen = FWek[k].Pioro;
      const WekI& ys = FWek[k].Wek;
      bool pierwszy = true;
      for (int32_t j = 0; j <= N; ++j) {
        const int64_t x = p + Round((xs[j] - X.amin) * X.scale);
        const int64_t y = u - Round((ys[j] - Y.amin) * Y.scale);
        if (x < g.C || x > W || y < 5 || y > g.yb) continue;
        if (pierwszy) {
          c.MoveTo(static_cast<int>(x), static_cast<int>(y));
          pierwszy = false;
        } else {
          c.LineTo(static_cast<int>(x), static_cast<int>(y));
        }
      }
    }
    c.Pen.Color = tk::clBlack;

    // Title under the plot.
    tk::TRect rt{30, g.yb + 21, W, H};
    c.Font = FCzcionkaTytulu;
    c.DrawText(FTytul, rt, tk::dtWordBreak);
    tk::FpCheck();
  }
  return 0;
}

}  // namespace plot
