#pragma once
// The real and the integer matrix on the common matrix base: used from index
// 1, row and column 0 allocated and left alone.  The real matrix holds the
// cable's potential coefficients and is inverted in place; the integer matrix
// keeps the pivot rows of that inversion.
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/Macierze4.h"

namespace linalg {

using num::Extended;
using TFloat = Extended;
using TMF = std::vector<std::vector<TFloat>>;
using TMI = std::vector<std::vector<int32_t>>;

class TMacierzF : public num::TMacierzPrototyp {
 public:
  TMacierzF(int32_t from1, int32_t W, int32_t K);
  // Slot 0: a resize always leaves a zero matrix of (W+1)×(K+1).
  void UstawRozmiar(int32_t W, int32_t K) override;
  // Slot 1: row i for 0 <= i <= W, row 0 otherwise.
  void* Wiersz(int32_t i) override;
  // Slot 2: two blanks and the scaled value with the given decimals.
  std::string ElementNaTekst(int32_t i, int32_t j, Extended scale, int32_t decimals) override;
  // Slot 3: the text's value (0 when it does not convert) times scale; always true.
  bool TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended scale) override;

  TMF FDane;
};

class TMacierzI : public num::TMacierzPrototyp {
 public:
  TMacierzI(int32_t from1, int32_t W, int32_t K);
  void UstawRozmiar(int32_t W, int32_t K) override;
  void* Wiersz(int32_t i) override;
  // Slot 2: two blanks and the plain decimal integer; scale and decimals unused.
  std::string ElementNaTekst(int32_t i, int32_t j, Extended scale, int32_t decimals) override;
  // Slot 3: the text as a 32-bit integer, untrimmed (blanks only before it,
  // optional sign, decimal digits or hex after "$", "x" or "0x"), else 0; always true.
  bool TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended scale) override;
  int32_t Wektor(int32_t i) const;
  void UstawWektor(int32_t i, int32_t v);

  TMI FDane;
};

}  // namespace linalg
