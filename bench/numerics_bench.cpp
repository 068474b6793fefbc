// links: numerics
// The Bessel and Hankel functions as the conductor models call them (order 0,
// arguments on the ray at -45 deg), and one solve of the two-layer system.
#include <benchmark/benchmark.h>

#include <cmath>

#include "numerics/AlgMZes4.h"
#include "numerics/Bessel4.h"
#include "toolkit/core/FpCheck.h"

namespace {

using num::TZespol;
using Funkcja = void (*)(TZespol&, int32_t, const TZespol&);

template <Funkcja F>
void Bessel(benchmark::State& state) {
  const long double r = static_cast<long double>(state.range(0));
  const long double a = r / std::sqrt(2.0L);
  const TZespol z{a, -a};
  TZespol w;
  tk::FpClear();
  for (auto _ : state) {
    F(w, 0, z);
    benchmark::DoNotOptimize(w);
  }
}

void Argumenty(benchmark::internal::Benchmark* b) {
  for (int r : {1, 11, 15, 50, 150}) b->Arg(r);
}

BENCHMARK_TEMPLATE(Bessel, num::BesselJRek)->Name("J0/abs_z")->Apply(Argumenty);
BENCHMARK_TEMPLATE(Bessel, num::BesselJPoch)->Name("J0_prime/abs_z")->Apply(Argumenty);
BENCHMARK_TEMPLATE(Bessel, num::Hankel2Rek)->Name("H2_0/abs_z")->Apply(Argumenty);
BENCHMARK_TEMPLATE(Bessel, num::Hankel2Poch)->Name("H2_0_prime/abs_z")->Apply(Argumenty);

// The 3x3 boundary-condition system of a two-layer conductor; the matrices
// are filled afresh for each solve, since the solver works in place.
void Solve3x3(benchmark::State& state) {
  const TZespol a[3][3] = {{{0.8L, -0.3L}, {-1.2e-3L, 4e-4L}, {-2e-3L, 1e-3L}},
                           {{-40, 35}, {2.5e3L, -1e3L}, {6e2L, 9e2L}},
                           {{0, 0}, {1.5L, 0.2L}, {-0.7L, 1.1L}}};
  const TZespol b[3] = {{0, 0}, {0, 0}, {1.6e3L, 0}};
  num::TMacierzZ A(1, 3, 3), B(1, 3, 1), X(1, 3, 1);
  tk::FpClear();
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) A.FDane[i + 1][j + 1] = a[i][j];
      B.FDane[i + 1][1] = b[i];
    }
    benchmark::DoNotOptimize(num::RRMAZ1(A, B, X, 1e-50L, nullptr));
    benchmark::DoNotOptimize(X.FDane[1][1]);
  }
}
BENCHMARK(Solve3x3);

}  // namespace

BENCHMARK_MAIN();
