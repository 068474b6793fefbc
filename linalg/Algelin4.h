#pragma once
// In-place Gauss-Jordan inversion of a real matrix with partial pivoting, and
// the module's error messages.  Results are codes: 0 success, k >= 1 message k.
#include <cstdint>
#include <string>

#include "linalg/Macierze4F.h"
#include "toolkit/core/Pasek.h"

namespace linalg {

constexpr int kLiczbaBledowAlgelin = 34;
// The module's messages, 1-based: BledyAlgelin4[k - 1] is message k.
extern const char* const BledyAlgelin4[kLiczbaBledowAlgelin];
extern const char* const kTytulBledowAlgelin;  // "Błędy w module Algelin4"

// Shows message k in the error box (caption "Błędy w module Algelin4", OK only).
// Callers pass only codes that the module's routines return.
void PokazBladAlgelin(int k);

// Inverts the square matrix A (rows and columns 1..n) in place.
//   0  A holds its inverse;
//   13 A is not square (nothing changed, Pasek untouched);
//   14 a pivot below eps at some step: the earlier steps are done, no column
//      exchanged back, so A holds neither the input nor its inverse.
// A pivot of modulus exactly eps is accepted.  Pasek (may be null) gets
// minimum 0, maximum n and the position of the step.  Arithmetic faults leave
// as tk exceptions.
int OdwMac1(TMacierzF& A, tk::Pasek* Pasek, Extended eps);

}  // namespace linalg
