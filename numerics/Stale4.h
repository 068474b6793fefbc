#pragma once
// The constants of the physics, each the extended value nearest to it.  The
// one place they are defined: the field models, the maps and the windows of
// the three programs take them from here.
#include "numerics/AlgeZes4.h"

namespace num {

constexpr Extended kPi = 3.14159265358979323846264338327950288L;
constexpr Extended k2Pi = 2 * kPi;  // doubling is exact
constexpr Extended kPi4 = 0.785398163397448309615660845819875721L;
// Permeability of free space 4π·10⁻⁷ H/m, as (4·π)·10⁻⁷.
constexpr Extended kMi0 = 4 * kPi * 1e-7L;

}  // namespace num
