#include "linalg/Algelin4.h"

#include <cmath>
#include <memory>

#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

namespace linalg {

const char* const kTytulBledowAlgelin = "Błędy w module Algelin4";

// The table is shared by the module's whole family of routines; only the
// inversion is built here, so only 13 and 14 have a producer.
const char* const BledyAlgelin4[kLiczbaBledowAlgelin] = {
    "Niezgodność wymiarów macierzy w procedurze  AddMac",
    "Niezgodność wymiarów macierzy w procedurze  SubMac",
    "Niezgodność wymiarów macierzy w procedurze  MulMacR",
    "Niezgodność wymiarów macierzy w procedurze  MulMac",
    "Niezgodność wymiarów macierzy w procedurze  MacJedenZ",
    "Zainicjowane macierze nie są kwadratowe w funkcji ExpMac",
    "W funkcji ExpMac nie osiągnięto zadanej dokładności obliczeń przekroczywszy zadaną ilość iteracji",
    "Niezgodność wymiarów macierzy w procedurze SkalRowMac",
    "Niezgodność wymiarów macierzy w procedurze  RRMAD1",
    "Warunek przerwania poszukiwania elementu głównego metody eliminacjiGaussa w procedurze RRMAD1 - być może wyznacznik macierzy jest równy zero",
    "Niezgodność wymiarów macierzy w procedurze  RRMAD2",
    "Macierz rzeczywista posiada zerowy element na głównej przekątnej w procedurze RRMAD1",
    "Zadana macierz w OdwMac1 nie jest kwadratowa ",
    "Warunek przerwania poszukiwania elementu głównego metody eliminacji Gaussa w procedurze OdwMac1",
    "Zadana macierz w OdwMac2 nie jest kwadratowa",
    "Nie istnieje macierz odwrotna w procedurze OdwMac2",
    "Zainicjowana macierz A nie jest macierzą kwadratową w funkcji Det",
    "Zainicjowana macierz zespolona nie jest macierzą kwadratową w funkcji MWWM",
    "Przekroczono zadaną ilość iteracji w funkcji MWWM",
    "Zainicjowana macierz A nie jest macierzą kwadratową w funkcji MWWMA",
    "Przekroczono zadaną ilość iteracji w funkcji MWWMA",
    "Niezgodność wymiarów macierzy w procedurze  RRMAIGS",
    "Przekroczono zadaną ilość iteracji w procedurze RRMAIGS",
    "Przekroczono zadaną ilość iteracji w procedurze RRMAIRich",
    "Niezgodność wymiarów macierzy w procedurze  PseRoz",
    "Zadane macierze w OdwMac3 nie są kwadratowe",
    "Niezgodność wymiarów macierzy w procedurze  PseRozNK",
    "Nie istnieje rozwiązanie równania macierzowego w procedurze PSROZNK",
    "Macierz rzezywista rzadka posiada zerowy element na głównej przekątnej w metodzie RRMacRzadka obiektu TRozRowMacRzadkaCrout",
    "Niezgodność wymiarów macierzy w procedurze  RRMAIRich",
    "Przekroczono zadaną ilość iteracji w metodzie RRMAIRichardsona obiektu TRozRowMacRzadkaIter",
    "Przekroczono zadaną ilość iteracji w metodzie RRMAIGaussaSeidla obiektu TRozRowMacRzadkaIter",
    "Macierz rzeczywista posiada zerowy element na głównej przekątnej w procedurze OdwMac2 - częściowy wybór elementu głównego nie daje wyniku ",
    "Niezgodność wymiarów macierzy w procedurze  OdwMac2",
};

void PokazBladAlgelin(int k) { tk::ShowErrorBox(kTytulBledowAlgelin, BledyAlgelin4[k - 1]); }

namespace {

void UstawPasek(tk::Pasek* pasek, int min, int max, int pozycja, bool zakres) {
  if (pasek == nullptr) return;
  if (zakres) {
    pasek->SetMin(min);
    pasek->SetMax(max);
  }
  pasek->SetPosition(pozycja);
}

}  // namespace

int OdwMac1(TMacierzF& A, tk::Pasek* Pasek, Extended eps) {
  const int32_t n = A.FLiczbaWierszy;
  if (A.FLiczbaKolumn != n) return 13;

  // The pivot rows; freed on every way out, an arithmetic fault included.
  auto P = std::make_unique<TMacierzI>(1, n, 1);
  UstawPasek(Pasek, 0, n, 0, true);
  TMF& a = A.FDane;

  for (int32_t i = 1; i <= n; ++i) {
    UstawPasek(Pasek, 0, n, i, false);

    // Partial pivoting: only a strictly larger modulus replaces the
    // candidate, so ties go to the upper row.
    Extended d = 0.0L;
    int32_t b = 1;
    for (int32_t c = i; c <= n; ++c) {
      if (std::fabs(d) < std::fabs(a[c][i])) {
        d = a[c][i];
        b = c;
      }
    }
    tk::FpCheck();
    if (eps > std::fabs(d)) return 14;
    P->UstawWektor(i, b);

    // Exchange rows i and b while dividing the pivot row by d; the 1 put in
    // the pivot place becomes 1/d, the diagonal of the inverse in the making.
    a[b][i] = 1.0L;
    for (int32_t e = 1; e <= n; ++e) {
      const Extended t = a[b][e] / d;
      a[b][e] = a[i][e];
      a[i][e] = t;
    }

    // Eliminate column i from every other row; the zero put there turns
    // into -h/d, again the inverse's element.
    for (int32_t j = 1; j <= n; ++j) {
      if (j == i) continue;
      const Extended h = a[j][i];
      a[j][i] = 0.0L;
      for (int32_t l = 1; l <= n; ++l) a[j][l] = a[j][l] - h * a[i][l];
    }
    tk::FpCheck();
  }

  // The row exchanges of the elimination are column exchanges of the inverse.
  for (int32_t i = n; i >= 1; --i) {
    const int32_t b = P->Wektor(i);
    if (b != i) {
      for (int32_t r = 1; r <= n; ++r) std::swap(a[r][i], a[r][b]);
    }
  }
  tk::FpCheck();
  return 0;
}

}  // namespace linalg
