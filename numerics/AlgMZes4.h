#pragma once
// The complex linear-system solver (row scaling by powers of two, Gaussian
// elimination with partial pivoting) and its messages.
#include <cstdint>
#include <string>

#include "numerics/Macierze4.h"
#include "toolkit/core/Pasek.h"

namespace num {

extern const char* const BledyAlgMZes4[34];  // messages 1..34 at indices 0..33
extern const char* const kCaptionAlgMZes4;   // "Błędy w module AlgMZes4"

// Progress of a long solve; null when none (no caller supplies one).
using Pasek = tk::Pasek;

void PokazBladAlgMZes(int32_t k);
int32_t SkalRowMacZ(TMacierzZ& A, TMacierzZ& B);
int32_t RRMAZ1(TMacierzZ& A, TMacierzZ& B, TMacierzZ& X, Extended eps, Pasek* pasek);

}  // namespace num
