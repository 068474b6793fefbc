#include "linalg/Macierze4F.h"

#include <algorithm>

#include "numerics/Typy4.h"
#include "toolkit/core/Convert.h"

namespace linalg {

namespace {

// Rows 0..W, each of columns 0..K, all zero.  A negative count allocates as a
// count of 0 would; no caller passes one.
template <class T>
void Przydziel(std::vector<std::vector<T>>& dane, int32_t W, int32_t K) {
  dane.clear();
  dane.shrink_to_fit();
  const size_t wiersze = static_cast<size_t>(std::max(W, 0)) + 1;
  const size_t kolumny = static_cast<size_t>(std::max(K, 0)) + 1;
  dane.assign(wiersze, std::vector<T>(kolumny, T(0)));
}

}  // namespace

// ---------------------------------------------------------------- TMacierzF

TMacierzF::TMacierzF(int32_t from1, int32_t W, int32_t K) : TMacierzPrototyp(from1, K, 1, 10) {
  TMacierzF::UstawRozmiar(W, K);
}

void TMacierzF::UstawRozmiar(int32_t W, int32_t K) {
  FDane.clear();
  TMacierzPrototyp::UstawRozmiar(W, K);
  Przydziel(FDane, W, K);
}

void* TMacierzF::Wiersz(int32_t i) {
  if (i < 0 || i > FLiczbaWierszy) i = 0;
  return FDane[static_cast<size_t>(i)].data();
}

std::string TMacierzF::ElementNaTekst(int32_t i, int32_t j, Extended scale, int32_t decimals) {
  return "  " + num::FloatToStrSkal(FDane[i][j], scale, decimals);
}

bool TMacierzF::TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended scale) {
  FDane[i][j] = num::StrToFloatZero(s) * scale;
  return true;
}

// ---------------------------------------------------------------- TMacierzI

TMacierzI::TMacierzI(int32_t from1, int32_t W, int32_t K) : TMacierzPrototyp(from1, K, 3, 4) {
  TMacierzI::UstawRozmiar(W, K);
}

void TMacierzI::UstawRozmiar(int32_t W, int32_t K) {
  FDane.clear();
  TMacierzPrototyp::UstawRozmiar(W, K);
  Przydziel(FDane, W, K);
}

void* TMacierzI::Wiersz(int32_t i) {
  if (i < 0 || i > FLiczbaWierszy) i = 0;
  return FDane[static_cast<size_t>(i)].data();
}

std::string TMacierzI::ElementNaTekst(int32_t i, int32_t j, Extended, int32_t) {
  return "  " + std::to_string(FDane[i][j]);
}

bool TMacierzI::TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended) {
  // The run-time's integer syntax without its exception: what does not
  // convert, or does not fit in 32 bits, is 0.
  int32_t v = 0;
  if (!tk::TryStrToInt(s, v)) v = 0;
  FDane[i][j] = v;
  return true;
}

int32_t TMacierzI::Wektor(int32_t i) const { return FDane[i][FKolumnaWektora]; }

void TMacierzI::UstawWektor(int32_t i, int32_t v) { FDane[i][FKolumnaWektora] = v; }

}  // namespace linalg
