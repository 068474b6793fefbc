#include "bifilon/model/ModelKabla.h"

#include <cmath>

#include "linalg/Algelin4.h"
#include "toolkit/core/FpCheck.h"

namespace bifilon {

void TModelKabla::WyznaczGeometrie() {
  // The charge and its image sit at distances c - e and c + e from the axis;
  // their product c² - e² = R² makes the screen an equipotential of the pair.
  c = (R * R - r0 * r0) * 0.5L / d;
  s = c - d;
  e = std::sqrt(c * c - R * R);
  tk::FpCheck();
}

void TModelKabla::ObliczLadunki() {
  // Ratios of the distances to the image and to the charge: A and B at the
  // matching point (-(d + r0), 0) for the own and the other core's pair, D at
  // the screen point (0, R), which is the same for both pairs.
  const Extended A = (s - r0 + e) / (s - r0 - e);
  const Extended B = (c + r0 + d + e) / (c + r0 + d - e);
  const Extended D = std::sqrt((c + e) * (c + e) + R * R) / std::sqrt((c - e) * (c - e) + R * R);
  auto& p = P->FDane;
  p[1][1] = std::log(std::fabs(A) / std::fabs(D));
  p[2][2] = p[1][1];
  p[1][2] = std::log(std::fabs(B) / std::fabs(D));
  p[2][1] = p[1][2];
  tk::FpCheck();

  const int kod = linalg::OdwMac1(*P, nullptr, 1e-20L);
  if (kod != 0) {
    linalg::PokazBladAlgelin(kod);
    return;
  }
  q1 = V1 * p[1][1] + V2 * p[1][2];
  q2 = V1 * p[2][1] + V2 * p[2][2];
  tk::FpCheck();
}

Extended TModelKabla::Potencjal(Extended x, Extended y) const {
  // Each pair contributes q·ln(ρ_image/ρ_charge); subtracting its value on the
  // screen (L0 / 2) makes the screen the zero of potential.
  const Extended cp = c + e, cm = c - e;
  const Extended L0 = std::log((cp * cp + R * R) / (cm * cm + R * R));
  const Extended V = 0.5L * (q1 * (std::log(((x + cp) * (x + cp) + y * y) / ((x + cm) * (x + cm) + y * y)) - L0) +
                             q2 * (std::log(((x - cp) * (x - cp) + y * y) / ((x - cm) * (x - cm) + y * y)) - L0));
  tk::FpCheck();
  return V;
}

void TModelKabla::Natezenie(Extended x, Extended y, Extended& Ex, Extended& Ey, Extended& E) const {
  const Extended ra = (x + c - e) * (x + c - e) + y * y;  // to charge 1
  const Extended rb = (x + c + e) * (x + c + e) + y * y;  // to image 1
  const Extended rc = (x - c + e) * (x - c + e) + y * y;  // to charge 2
  const Extended rd = (x - c - e) * (x - c - e) + y * y;  // to image 2
  Ex = q1 * ((x + c - e) / ra - (x + c + e) / rb) + q2 * ((x - c + e) / rc - (x - c - e) / rd);
  Ey = q1 * (y / ra - y / rb) + q2 * (y / rc - y / rd);
  E = std::sqrt(Ex * Ex + Ey * Ey);
  tk::FpCheck();
}

}  // namespace bifilon
