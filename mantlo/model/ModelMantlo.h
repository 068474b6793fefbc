#pragma once
// An insulated round conductor above flat earth: its field.
//
// The conductor (radius rz, axis at height h) is replaced by one line charge
// at height a = √(h² − rz²) and its image at −a, which makes both the earth
// and the conductor's surface equipotentials.  The insulation's outer surface
// (radius ri) is taken as the equipotential circle of the same pair with
// radius ri, whose centre lies at b = √(a² + ri²), a little above h.
#include "numerics/AlgeZes4.h"

namespace mantlo {

using num::Extended;

struct TPunkt {
  Extended x;
  Extended y;
};

// What one press derives from the inputs (SI units: V, m).
struct TUklad {
  Extended V, h, rz, ri, eps;
  Extended a;      // height of the line charge
  Extended b;      // centre height of the insulation's circle
  Extended L1;     // arcosh(h/rz)
  Extended L2;     // arcosh(b/ri)
  Extended q;      // charge / (2π·ε0·ε), in V: the field coefficient in the insulation
  Extended q_air;  // charge / (2π·ε0), in V: the field coefficient in the air
};

// The model quantities; floating-point faults leave as tk exceptions.
TUklad ObliczUklad(Extended V, Extended h, Extended rz, Extended ri, Extended eps);

// Field modulus at p [V/m]: 0 below the earth and inside the conductor,
// q·w in the insulation, q_air·w in the air, with w = 2a/(ρ+·ρ−).
Extended NatezenieWPunkcie(const TPunkt& p, Extended q_air, Extended q, Extended ri, Extended rz, Extended a,
                           Extended hc, Extended hi);

// Peak field on the conductor's surface (izolacja: just outside the
// insulation's) at the angle fi from the horizontal [kV/cm], as the surface
// charts plot it: √2 for the peak of the rms voltage, 1e-5 from V/m.
Extended NatezenieNaPowierzchni(const TUklad& u, bool izolacja, Extended fi);

}  // namespace mantlo
