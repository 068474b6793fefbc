#include "numerics/Macierze4.h"

#include <algorithm>

#include "numerics/Typy4.h"

namespace num {

TMacierzPrototyp::TMacierzPrototyp(int32_t from1, int32_t K, int32_t typeCode, int32_t elementSize)
    : FTypDanych(typeCode),
      FRozmiarRekordu(elementSize),
      // Single-index vector access uses column 1 of a matrix counted from 1
      // that has a column at all, else column 0.
      FKolumnaWektora((from1 != 0 && K > 0) ? 1 : 0) {}

void TMacierzPrototyp::UstawRozmiar(int32_t W, int32_t K) {
  FLiczbaWierszy = std::max(W, 0);
  FLiczbaKolumn = std::max(K, 0);
}

TMacierzZ::TMacierzZ(int32_t from1, int32_t W, int32_t K) : TMacierzPrototyp(from1, K, 2, 20) {
  TMacierzZ::UstawRozmiar(W, K);
}

// A resize always gives a zero matrix, also for the same size.  A negative
// size counts as 0: the matrix keeps its row 0 and column 0, so that every
// row address handed out is valid.
void TMacierzZ::UstawRozmiar(int32_t W, int32_t K) {
  FDane.clear();
  TMacierzPrototyp::UstawRozmiar(W, K);
  FDane.assign(static_cast<size_t>(FLiczbaWierszy) + 1,
               std::vector<TZespol>(static_cast<size_t>(FLiczbaKolumn) + 1, ZeroZ));
}

void* TMacierzZ::Wiersz(int32_t i) {
  if (i < 0 || i > FLiczbaWierszy) i = 0;
  return FDane[static_cast<size_t>(i)].data();
}

std::string TMacierzZ::ElementNaTekst(int32_t i, int32_t j, Extended scale, int32_t decimals) {
  return "  " + ZespolToStr(FDane[i][j], scale, decimals);
}

bool TMacierzZ::TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended scale) {
  FDane[i][j] = FMulZR(StrToZespol(s), scale);
  return true;
}

TZespol TMacierzZ::Wektor(int32_t i) const { return FDane[i][FKolumnaWektora]; }

void TMacierzZ::UstawWektor(int32_t i, const TZespol& z) {
  const TZespol w = z;
  FDane[i][FKolumnaWektora] = w;
}

}  // namespace num
