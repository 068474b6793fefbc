#include "mantlo/model/ModelMantlo.h"

#include <cmath>

#include "toolkit/core/FpCheck.h"

namespace mantlo {

TUklad ObliczUklad(Extended V, Extended h, Extended rz, Extended ri, Extended eps) {
  TUklad u{};
  u.V = V;
  u.h = h;
  u.rz = rz;
  u.ri = ri;
  u.eps = eps;
  u.a = std::sqrt(h * h - rz * rz);
  u.b = std::sqrt(u.a * u.a + ri * ri);
  const Extended kz = h / rz, ki = u.b / ri;
  u.L1 = std::log(kz + std::sqrt(kz * kz - 1.0L));
  u.L2 = std::log(ki + std::sqrt(ki * ki - 1.0L));
  // V splits into the drop across the insulation, q·(L1 − L2), and the drop
  // across the air, q·ε·L2 (the charge is the same, the permittivity is not).
  u.q = V / (eps * u.L2 + u.L1 - u.L2);
  u.q_air = u.q * eps;
  tk::FpCheck();
  return u;
}

Extended NatezenieWPunkcie(const TPunkt& p, Extended q_air, Extended q, Extended ri, Extended rz, Extended a,
                           Extended hc, Extended hi) {
  const Extended x = p.x, y = p.y;
  if (y < 0) return 0;  // below the earth
  const Extended rhoC = std::sqrt(x * x + (y - hc) * (y - hc));
  const Extended rhoI = std::sqrt(x * x + (y - hi) * (y - hi));
  const Extended rhoPlus = std::sqrt(x * x + (y + a) * (y + a));
  const Extended rhoMinus = std::sqrt(x * x + (y - a) * (y - a));
  // The pair's field modulus over the coefficient: 2a / (ρ+·ρ−).
  const Extended w = 2.0L * a / (rhoPlus * rhoMinus);
  Extended E;
  if (rhoI >= ri) E = q_air * w;
  else if (rhoC < rz) E = 0;
  else if (rhoC < ri) E = q * w;
  else E = 0;  // inside the insulation's circle but farther than ri from the conductor
  tk::FpCheck();
  return E;
}

Extended NatezenieNaPowierzchni(const TUklad& u, bool izolacja, Extended fi) {
  // On the surface of radius r about (0, h), with φ from the horizontal
  // (90° on top, 270° nearest the earth), the pair's field is
  // k·2a/(ρ+·ρ−) = k·a/(r·(h + r·sin φ)).
  const Extended r = izolacja ? u.ri : u.rz;
  const Extended k = izolacja ? u.q_air : u.q;
  const Extended E = std::sqrt(2.0L) * u.a / (r * (u.h + r * std::sin(fi))) * k * 1e-5L;
  tk::FpCheck();
  return E;
}

}  // namespace mantlo
