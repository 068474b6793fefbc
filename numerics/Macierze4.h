#pragma once
// Matrices used from index 1 (row and column 0 allocated, never used): the
// base class and the complex matrix.
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/AlgeZes4.h"

namespace num {

class TMacierzPrototyp {
 public:
  virtual ~TMacierzPrototyp() = default;

  // Slot 0: stores max(W, 0) and max(K, 0); concrete classes also reallocate.
  virtual void UstawRozmiar(int32_t W, int32_t K);
  // Slot 1: address of the first element of row i (row 0 for i outside 0..W).
  virtual void* Wiersz(int32_t i) = 0;
  // Slot 2 and 3: element text and text to element.
  virtual std::string ElementNaTekst(int32_t i, int32_t j, Extended scale, int32_t decimals) = 0;
  virtual bool TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended scale) = 0;

  int32_t FTypDanych = 0;
  int32_t FRozmiarRekordu = 0;
  int32_t FKolumnaWektora = 0;
  int32_t FLiczbaWierszy = 0;
  int32_t FLiczbaKolumn = 0;

 protected:
  // Sets the fields; the concrete constructor then calls its UstawRozmiar(W, K).
  TMacierzPrototyp(int32_t from1, int32_t K, int32_t typeCode, int32_t elementSize);
};

using TMZ = std::vector<std::vector<TZespol>>;

class TMacierzZ : public TMacierzPrototyp {
 public:
  TMacierzZ(int32_t from1, int32_t W, int32_t K);
  void UstawRozmiar(int32_t W, int32_t K) override;
  void* Wiersz(int32_t i) override;
  std::string ElementNaTekst(int32_t i, int32_t j, Extended scale, int32_t decimals) override;
  bool TekstNaElement(const std::string& s, int32_t i, int32_t j, Extended scale) override;
  TZespol Wektor(int32_t i) const;
  void UstawWektor(int32_t i, const TZespol& z);

  TMZ FDane;
};

}  // namespace num
