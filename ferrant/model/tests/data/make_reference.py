#!/usr/bin/env python3
"""Reference values of R', X' and Kn for the three conductor kinds.

Computed with mpmath at 40 significant digits from closed forms that do not
share the formulation of the C++ models:

  solid      Z = (m / (2πRγ)) · J0(mR) / J1(mR),  m = √(−jωμγ)
  tube       Hφ(r1) = 0, Hφ(r2) = I/(2πr2) solved in closed form:
             Z = (m/γ) / (2πr2) · [H1(a)J0(b) − J1(a)H0(b)] / [H1(a)J1(b) − J1(a)H1(b)],
             a = m·r1, b = m·r2
  two-layer  the wave impedance E/H of the core at r1 carried out through the
             layer to r2 (impedance transfer), no linear system

with H0, H1 the Hankel functions of the second kind, taken from
H2_n(z) = (2j/π)·e^(jnπ/2)·K_n(jz): mpmath's hankel2 loses accuracy for
large |z| on the −45° ray where the arguments of these models lie.

Inputs are written in the units of the windows' grids (radius in mm,
conductivity in MS/m, relative permeability, frequency in Hz) and converted
as the windows convert them: μ = μr·4·π·1e-7, γ = MS/m·1e6, r = mm/1000.

Three further tables reach the top of the extended range (|k·r| up to 16 000,
where J0 of the core grows like e^11 300): solid_range.csv, solid conductors
up to |mR| = 16 000; tube_range.csv, thick-walled tubes (r1/r2 = 0.01 to
0.9) up to |m·r2| = 16 000, where the wall's Bessel combination grows like
e^(|m|(r2 − r1)/√2), with |E| at mid-wall relative to |E(r2)| for the
profile; and twolayer_range.csv, a seeded random sweep of
two-layer conductors (cores of 1 to 250 mm, any steel or non-ferrous metal,
10 Hz to 1 MHz) whose wave numbers stay below that limit, with the cases of
a thick steel core that once counted as singular.  Each value of these
is computed at 40 and again at 50 digits; the two must agree to 1e-30.

Usage: python3 make_reference.py [range]   (writes solid.csv, tube.csv,
twolayer.csv beside this script, about ten minutes on four cores; or with
"range" only the three range tables, about two minutes)
"""
import csv
import multiprocessing
import os
import random
import sys

import mpmath as mp

mp.mp.dps = 40

HERE = os.path.dirname(os.path.abspath(__file__))

FREQS = ["10", "50", "60", "100", "400", "1000", "2000"]
# (conductivity MS/m, relative permeability): copper, aluminium, steel.
MATERIALS = [("55", "1"), ("34.8", "1"), ("8", "1"), ("8", "10"), ("8", "50"),
             ("8", "100"), ("8", "200")]
# Standard cross-sections in mm² of the selection window.
SECTIONS = ["0.5", "0.75", "1", "1.5", "2.5", "4", "6", "10", "16", "25", "35", "50",
            "70", "95", "120", "150", "185", "240", "300", "400", "500", "625", "800",
            "1000"]
# Standard tubes: outer diameter in mm and five wall thicknesses.
TUBES = [(20, [2, 3, 4, 5, 6]), (32, [2, 3, 4, 5, 6]), (40, [2, 3, 4, 5, 6]),
         (50, [4, 5, 6, 8, 10]), (63, [4, 5, 6, 8, 10]), (80, [4, 5, 6, 8, 10]),
         (100, [5, 6, 8, 10, 15]), (120, [5, 6, 8, 10, 15]), (160, [5, 6, 8, 10, 15]),
         (200, [6, 8, 10, 12, 15]), (250, [6, 8, 10, 12, 15])]
# Steel-cored two-layer conductors: core radius and layer thickness in mm.
CORES = ["1", "2", "3.5", "5", "7.5", "10", "15"]
LAYERS = ["0.5", "1", "2", "4", "8", "15"]
CORE_MUR = ["1", "10", "50", "100", "200"]
LAYER_GAMMA = ["34.8", "55"]


def mu(mur):
    return mp.mpf(mur) * 4 * mp.pi * mp.mpf("1e-7")


def J(n, z):
    return mp.besselj(n, z)


def H(n, z):
    return (2j / mp.pi) * mp.power(1j, n) * mp.besselk(n, 1j * z)


def wave_number(f, mu_, gamma):
    # principal root of −jωμγ, on the −45° ray
    w = 2 * mp.pi * f
    return mp.sqrt(-1j * w * mu_ * gamma), w


def solid(R, f, mu_, gamma):
    m, _ = wave_number(f, mu_, gamma)
    Z = m / (2 * mp.pi * R * gamma) * J(0, m * R) / J(1, m * R)
    return Z, gamma * mp.pi * R * R


def tube(r1, r2, f, mu_, gamma):
    m, _ = wave_number(f, mu_, gamma)
    a, b = m * r1, m * r2
    num = H(1, a) * J(0, b) - J(1, a) * H(0, b)
    den = H(1, a) * J(1, b) - J(1, a) * H(1, b)
    Z = (m / gamma) / (2 * mp.pi * r2) * num / den
    return Z, gamma * mp.pi * (r2 * r2 - r1 * r1)


def tube_profile(r1, r2, f, mu_, gamma):
    """|E| at mid-wall over |E(r2)|."""
    m, _ = wave_number(f, mu_, gamma)
    a = m * r1

    def e(r):
        return H(1, a) * J(0, m * r) - J(1, a) * H(0, m * r)

    return abs(e((r1 + r2) / 2)) / abs(e(r2))


def twolayer(r1, r2, f, mu1, mu2, g1, g2):
    k1, w = wave_number(f, mu1, g1)
    k2, _ = wave_number(f, mu2, g2)
    jwm1, jwm2 = 1j * w * mu1, 1j * w * mu2
    # Wave impedance Ez/Hφ of the core at its surface (J0' = −J1).
    zs1 = jwm1 * J(0, k1 * r1) / (k1 * -J(1, k1 * r1))
    # Layer field P·J0 + Q·H0 that meets it at r1.
    a = k2 * r1
    zeta = zs1 * k2 / jwm2
    P = H(0, a) + zeta * H(1, a)
    Q = -(J(0, a) + zeta * J(1, a))
    b = k2 * r2
    e = P * J(0, b) + Q * H(0, b)
    h = -(P * J(1, b) + Q * H(1, b))
    Z = (jwm2 / k2) * e / h / (2 * mp.pi * r2)
    return Z, g1 * mp.pi * r1 * r1 + g2 * mp.pi * (r2 * r2 - r1 * r1)


def row(Z, gdc):
    R, X = Z.real, Z.imag
    return [mp.nstr(R, 25), mp.nstr(X, 25), mp.nstr(R * gdc, 25)]


def write(name, header, rows):
    with open(os.path.join(HERE, name), "w", newline="") as fh:
        out = csv.writer(fh)
        out.writerow(header)
        out.writerows(rows)


def solid_case(args):
    r_txt, g, mur, f = args
    mp.mp.dps = 40
    Z, gdc = solid(mp.mpf(r_txt) / 1000, mp.mpf(f), mu(mur), mp.mpf(g) * 10**6)
    return [r_txt, g, mur, f] + row(Z, gdc)


def tube_case(args):
    r1, r2, g, mur, f = args
    mp.mp.dps = 40
    Z, gdc = tube(mp.mpf(r1) / 1000, mp.mpf(r2) / 1000, mp.mpf(f), mu(mur), mp.mpf(g) * 10**6)
    return [r1, r2, g, mur, f] + row(Z, gdc)


def twolayer_case(args):
    r1, r2, mur1, mur2, g1, g2, f = args
    mp.mp.dps = 40
    Z, gdc = twolayer(mp.mpf(r1) / 1000, mp.mpf(r2) / 1000, mp.mpf(f), mu(mur1), mu(mur2),
                      mp.mpf(g1) * 10**6, mp.mpf(g2) * 10**6)
    return [r1, r2, mur1, mur2, g1, g2, f] + row(Z, gdc)


LIMIT = 16000  # largest |k·r| of the range tables


def checked(fn, *args):
    """fn at 40 digits, confirmed at 50."""
    mp.mp.dps = 50
    hi = fn(*[mp.mpf(a) if isinstance(a, str) else a for a in args])
    mp.mp.dps = 40
    lo = fn(*[mp.mpf(a) if isinstance(a, str) else a for a in args])
    assert abs(hi[0] - lo[0]) <= mp.mpf("1e-30") * abs(hi[0]), args
    return lo


def solid_range_case(args):
    r_txt, g, mur, f = args
    Z, gdc = checked(lambda R, f_, g_: solid(R / 1000, f_, mu(mur), g_ * 10**6), r_txt, f, g)
    return [r_txt, g, mur, f] + row(Z, gdc)


def tube_range_case(args):
    r1, r2, g, mur, f = args
    conv = (lambda a, b, f_: (a / 1000, b / 1000, f_, mu(mur), mp.mpf(g) * 10**6))
    Z, gdc = checked(lambda a, b, f_: tube(*conv(a, b, f_)), r1, r2, f)
    mp.mp.dps = 50
    hi = tube_profile(*conv(mp.mpf(r1), mp.mpf(r2), mp.mpf(f)))
    mp.mp.dps = 40
    e = tube_profile(*conv(mp.mpf(r1), mp.mpf(r2), mp.mpf(f)))
    assert abs(hi - e) <= mp.mpf("1e-30") * hi, args
    return [r1, r2, g, mur, f, mp.nstr(e, 25)] + row(Z, gdc)


def twolayer_range_case(args):
    r1, r2, mur1, mur2, g1, g2, f = args
    Z, gdc = checked(lambda a, b, f_: twolayer(a / 1000, b / 1000, f_, mu(mur1), mu(mur2),
                                               mp.mpf(g1) * 10**6, mp.mpf(g2) * 10**6), r1, r2, f)
    return [r1, r2, mur1, mur2, g1, g2, f] + row(Z, gdc)


def modk(f, mur, g):
    return float(mp.sqrt(2 * mp.pi * mp.mpf(f) * mu(mur) * mp.mpf(g) * 10**6))


def range_tables():
    # Solid: the largest |mR| on a scale of 1.5 up to the limit, for copper,
    # steel and a highly permeable steel; the first case overflowed once.
    solid_cases = [("382", "56", "1000", "1000")]
    for g, mur in (("56", "1"), ("8", "200"), ("56", "1000")):
        for f in ("50", "1000", "100000"):
            x = 100.0
            while x < LIMIT:
                R = x / modk(f, mur, g) * 1000
                if 0.5 <= R <= 2000:
                    solid_cases.append((mp.nstr(mp.mpf(R), 12), g, mur, f))
                x *= 1.5
            R = 0.999 * LIMIT / modk(f, mur, g) * 1000
            if R <= 2000:
                solid_cases.append((mp.nstr(mp.mpf(R), 12), g, mur, f))
    # Tube: thick walls of five ratios r1/r2 with |m·r2| on a scale of 1.5 up to
    # the limit, for the same materials; the first case overflowed once.
    tube_cases = [("20", "70", "5", "1000", "1000000")]
    for g, mur in (("56", "1"), ("8", "200"), ("56", "1000")):
        for f in ("50", "1000", "100000"):
            for ratio in ("0.01", "0.1", "0.3", "0.6", "0.9"):
                xs, x = [], 100.0
                while x < LIMIT:
                    xs.append(x)
                    x *= 1.5
                for x in xs + [0.999 * LIMIT]:
                    r2 = mp.mpf(x / modk(f, mur, g) * 1000)
                    if 0.5 <= r2 <= 2000:
                        tube_cases.append((mp.nstr(mp.mpf(ratio) * r2, 12), mp.nstr(r2, 12), g, mur, f))
    # Two-layer: the window's default at 8 kHz, a 200 mm steel core under
    # 10 mm of aluminium (r1 = 100 mm) around 180 Hz, the thick core at 2 kHz, then random
    # conductors.
    cases = [("15", "19", "200", "1", "8", "34.8", "8000"),
             ("100", "110", "200", "1", "8", "34.8", "170"),
             ("100", "110", "200", "1", "8", "34.8", "180"),
             ("100", "110", "200", "1", "8", "34.8", "1000"),
             ("50", "60", "200", "1", "8", "34.8", "2000")]
    rnd = random.Random(20261209)
    while len(cases) < 400:
        r1 = 10 ** rnd.uniform(0, 2.4)
        r2 = r1 + 10 ** rnd.uniform(-0.3, 1.5)
        mur1 = rnd.choice(["1", "1", "50", "200", "1000"])
        mur2 = rnd.choice(["1", "1", "1", "200"])
        g1 = rnd.choice(["5", "8", "34.8", "56"])
        g2 = rnd.choice(["8", "34.8", "56"])
        f = 10 ** rnd.uniform(1, 6)
        r1t, r2t, ft = mp.nstr(mp.mpf(r1), 6), mp.nstr(mp.mpf(r2), 6), mp.nstr(mp.mpf(f), 6)
        z1 = modk(ft, mur1, g1) * float(r1t) / 1000
        z2 = modk(ft, mur2, g2) * float(r2t) / 1000
        if max(z1, z2) < LIMIT:
            cases.append((r1t, r2t, mur1, mur2, g1, g2, ft))
    with multiprocessing.Pool(4) as pool:
        write("solid_range.csv", ["R_mm", "gamma_MSm", "mur", "f_Hz", "R_Ohm_m", "X_Ohm_m", "Kn"],
              pool.map(solid_range_case, solid_cases, chunksize=4))
        write("tube_range.csv", ["r1_mm", "r2_mm", "gamma_MSm", "mur", "f_Hz", "E_mid_rel",
                                 "R_Ohm_m", "X_Ohm_m", "Kn"],
              pool.map(tube_range_case, tube_cases, chunksize=8))
        write("twolayer_range.csv", ["r1_mm", "r2_mm", "mur1", "mur2", "gamma1_MSm",
                                     "gamma2_MSm", "f_Hz", "R_Ohm_m", "X_Ohm_m", "Kn"],
              pool.map(twolayer_range_case, cases, chunksize=8))


def main():
    if sys.argv[1:] == ["range"]:
        range_tables()
        return
    cases = []
    for s in SECTIONS:
        r_txt = mp.nstr(mp.sqrt(mp.mpf(s) / mp.pi), 22)
        cases += [(r_txt, g, mur, f) for g, mur in MATERIALS for f in FREQS]
    cases.append(("50", "55", "1", "50"))  # the solid window's default
    solid_cases = cases

    cases = []
    for D, walls in TUBES:
        for t in walls:
            r2 = mp.mpf(D) / 2
            r1, r2 = mp.nstr(r2 - t, 10), mp.nstr(r2, 10)
            cases += [(r1, r2, g, mur, f) for g, mur in MATERIALS for f in FREQS]
    cases.append(("980", "1000", "56", "1", "50"))  # the tube window's default
    tube_cases = cases

    cases = []
    for r1 in CORES:
        for t in LAYERS:
            r2 = mp.nstr(mp.mpf(r1) + mp.mpf(t), 10)
            cases += [(r1, r2, mur1, "1", "8", g2, f) for mur1 in CORE_MUR
                      for g2 in LAYER_GAMMA for f in FREQS]
    cases.append(("15", "19", "200", "1", "8", "34.8", "50"))  # the two-layer window's default
    twolayer_cases = cases

    with multiprocessing.Pool(4) as pool:
        write("solid.csv", ["R_mm", "gamma_MSm", "mur", "f_Hz", "R_Ohm_m", "X_Ohm_m", "Kn"],
              pool.map(solid_case, solid_cases, chunksize=8))
        write("tube.csv", ["r1_mm", "r2_mm", "gamma_MSm", "mur", "f_Hz", "R_Ohm_m", "X_Ohm_m",
                           "Kn"], pool.map(tube_case, tube_cases, chunksize=8))
        write("twolayer.csv", ["r1_mm", "r2_mm", "mur1", "mur2", "gamma1_MSm", "gamma2_MSm",
                               "f_Hz", "R_Ohm_m", "X_Ohm_m", "Kn"],
              pool.map(twolayer_case, twolayer_cases, chunksize=8))


if __name__ == "__main__":
    main()
