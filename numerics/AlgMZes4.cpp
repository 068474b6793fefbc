#include "numerics/AlgMZes4.h"

#include <cmath>

#include "numerics/Kontrola4.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

namespace num {

const char* const kCaptionAlgMZes4 = "Błędy w module AlgMZes4";

const char* const BledyAlgMZes4[34] = {
    "Niezgodność wymiarów macierzy w procedurze  TranMacZ",
    "Niezgodność wymiarów macierzy w procedurze  AddMacZ",
    "Niezgodność wymiarów macierzy w procedurze  SubMacZ",
    "Niezgodność wymiarów macierzy w procedurze  MulMacZ",
    "Niezgodność wymiarów macierzy w procedurze  MulMacZz",
    "Niezgodność wymiarów macierzy w procedurze  MacJedenZ",
    "Niezgodność wymiarów macierzy w procedurze SkalRowMacZ",
    "Niezgodność wymiarów macierzy w procedurze  RRMAZ1",
    "Warunek przerwania poszukiwania elementu głównego metody eliminacji Gaussa w procedurze RRMAZ1 - "
    "być może wyznacznik macierzy jest równy zero",
    "Zadana macierz w OdwMacZ1 nie jest kwadratowa",
    "Warunek przerwania poszukiwania elementu głównego metody eliminacji Gaussa w procedurze OdwMacZ1",
    "Niezgodność wymiarów macierzy w procedurze  RRMAZ2",
    "Macierz zespolona posiada zerowy element na głównej przekątnej w procedurze RRMAZ1",
    "Zadana macierz w OdwMacZ2 nie jest kwadratowa",
    "Nie istnieje macierz odwrotna w procedurze OdwMacZ2",
    "Zainicjowana macierz A nie jest macierzą kwadratową w funkcji DetZA",
    "Zainicjowana macierz zespolona nie jest macierzą kwadratową w funkcji MWWMZ",
    "Przekroczono zadaną ilość iteracji w funkcji MWWMZ",
    "Zainicjowana macierz A nie jest kwadratowa w funkcji MWWMZA",
    "Przekroczono zadaną ilość iteracji w funkcji MWWMZA",
    "Niezgodność wymiarów macierzy w procedurze  RRMAZIGS",
    "Przekroczono zadaną ilość iteracji w procedurze RRMAZIGS",
    "Niezgodność wymiarów macierzy w procedurze  RRMAZIRich",
    "Przekroczono zadaną ilość iteracji w procedurze RRMAZIRich",
    "Przekroczono zadaną ilość iteracji w metodzie RRMacGaussaSeidla obiektu TRozRowMacRzadkaZespolIter",
    "Przekroczono zadaną ilość iteracji w metodzie RRMacRichardsona obiektu TRozRowMacRzadkaZespolIter",
    "Zero na główne przekątnej w metodzie RRMacRzadkaZes obiektu TRozRowMacRzadkaZespolCrout",
    "W metodzie MetodaNewtona funkcji SqrtMac  przekroczono zadaną ilość iteracji nie uzyskawszy "
    "zadanej dokładności obliczeń eps",
    "Nie istnieje macierz odwrotna Jacobianu w metodzie SqrtMac",
    "Niezgodność wymiarów macierzy w procedurze w metodzie SqrtMac",
    "Zadana macierz nie jest kwadratowa",
    "Nie istnieje macierz odwrotna w metodzie SqrtMacSzybkiStabilny5",
    "Niezgodność wymiarów macierzy w procedurze  ExpMacZ",
    "Nie istnieje funkcja macierzowa eksponencjalna przy obliczaniu Cosh(B*x) oraz Sinh(B*x)",
};

void PokazBladAlgMZes(int32_t k) {
  // Only codes of this module's routines come here; any other has no text.
  if (k < 1 || k > 34) return;
  tk::ShowErrorBox(kCaptionAlgMZes4, BledyAlgMZes4[k - 1]);
}

// Scales row i of A and B by 2^k so that the moduli of the row of A add up
// to [0.5, 1).  Multiplying by a power of two is exact: the solution does not
// change by a single bit.
int32_t SkalRowMacZ(TMacierzZ& A, TMacierzZ& B) {
  const int32_t w = A.FLiczbaWierszy;
  if (w != B.FLiczbaWierszy) return 7;
  const Extended ln2 = std::log(2.0L);
  const int32_t kb = B.FLiczbaKolumn;
  for (int32_t i = 1; i <= w; ++i) {
    // The row count serves as the column count: A is square.
    Extended s = 0.0L;
    for (int32_t j = 1; j <= w; ++j) s += ModZ(A.FDane[i][j]);
    kontrola::Sprawdz(s);
    if (s >= 0.5L && s <= 1.0L) continue;
    // A zero row has no logarithm and no scaling factor.
    if (s == 0.0L) kontrola::BladDzielenia(false);
    const Extended e = std::log(s) / ln2 + 1.0L;
    int64_t k;
    if (e >= 0.0L || e == std::trunc(e)) k = -static_cast<int64_t>(e);
    else k = -static_cast<int64_t>(e - 1.0L);
    // The factor 2^k is applied by its exponent: exact, and also for rows of
    // subnormal numbers whose factor itself would not be representable.
    const int p = static_cast<int>(k);
    for (int32_t j = 1; j <= w; ++j) A.FDane[i][j] = {std::ldexp(A.FDane[i][j].re, p), std::ldexp(A.FDane[i][j].im, p)};
    for (int32_t j = 1; j <= kb; ++j)
      B.FDane[i][j] = {std::ldexp(B.FDane[i][j].re, p), std::ldexp(B.FDane[i][j].im, p)};
  }
  kontrola::SprawdzFlagi(A.FDane);
  return 0;
}

int32_t RRMAZ1(TMacierzZ& A, TMacierzZ& B, TMacierzZ& X, Extended eps, Pasek* pasek) {
  const int32_t n = A.FLiczbaWierszy;
  if (pasek != nullptr) {
    pasek->SetMin(0);
    pasek->SetMax(n);
    pasek->SetPosition(0);
  }
  if (n != B.FLiczbaWierszy || n != A.FLiczbaKolumn) return 8;
  SkalRowMacZ(A, B);
  const int32_t kb = B.FLiczbaKolumn;
  auto& a = A.FDane;
  auto& b = B.FDane;
  auto& x = X.FDane;

  for (int32_t i = 1; i <= n; ++i) {
    if (pasek != nullptr) pasek->SetPosition(i);
    // Partial pivoting: the largest modulus in column i, the upper row among
    // equals.
    Extended max = ModZ(a[i][i]);
    int32_t p = i;
    for (int32_t j = i + 1; j <= n; ++j) {
      const Extended m = ModZ(a[j][i]);
      if (m > max) {
        max = m;
        p = j;
      }
    }
    // The pivot decides the path: no pending fault may stand behind it.
    kontrola::SprawdzFlagi(max);
    if (eps > max) return 9;
    if (p != i) {
      for (int32_t l = 1; l <= kb; ++l) std::swap(b[i][l], b[p][l]);
      // The columns left of i are not needed any more.
      for (int32_t l = n; l >= i; --l) std::swap(a[i][l], a[p][l]);
    }
    // The diagonal keeps the reciprocal of the pivot.
    const TZespol r = FOdwZ(a[i][i]);
    a[i][i] = r;
    const TZespol minusR = FMulZR(r, -1.0L);
    for (int32_t k = i + 1; k <= n; ++k) {
      const TZespol f = FMulZ(a[k][i], minusR);
      for (int32_t l = 1; l <= kb; ++l) b[k][l] = FAddZ(b[k][l], FMulZ(b[i][l], f));
      for (int32_t l = i + 1; l <= n; ++l) a[k][l] = FAddZ(a[k][l], FMulZ(a[i][l], f));
    }
  }

  for (int32_t c = 1; c <= kb; ++c) {
    for (int32_t j = n; j >= 1; --j) {
      TZespol s = b[j][c];
      for (int32_t m = j + 1; m <= n; ++m) s = FSubZ(s, FMulZ(a[j][m], x[m][c]));
      x[j][c] = FMulZ(s, a[j][j]);
    }
  }
  kontrola::SprawdzFlagi(X.FDane);
  return 0;
}

}  // namespace num
