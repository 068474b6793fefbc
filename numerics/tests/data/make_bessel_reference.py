#!/usr/bin/env python3
"""Reference values of J_n, Y_n and H2_n (n = 0, 1) for the Bessel tests.

Arguments lie on the positive real axis (axis R) and on the ray at -45 deg
(axis D, the arguments m*r of the conductor models, m = sqrt(-j)*k), with
|z| from 0.1 to 20000, densely below 30 and on both sides of the points
where the methods of Bessel4 change; and on rays at other angles (axis A)
from -180 to 180 deg, both sides of the negative real axis and nearly real
positive arguments among them, with |z| from 0.01 to 16000 and on both
sides of the line 3|z| - |Im z| = 45 where series and expansion meet (15 on
the real axes, 15.09 at 179 deg); and real arguments of both signs from 1e5
to the overflow limit (axis R), from Hankel's expansions with the exact
phase.  Each row also
holds the derivatives J_n' and H2_n'.  Each argument is rounded to a 64-bit
significand first and written exactly (mantissa and power of two), so the
library and the reference see the same number.

mpmath's own hankel2 is inaccurate on the -45 deg ray for large |z|; H2 is
taken from the modified Bessel function instead,
    H2_n(z) = (2j/pi) e^(j n pi/2) K_n(jz),   -pi < arg z <= pi/2,
and Y from bessely, checked against -j (J - H2); above pi/2, where H2
grows, as J - jY.  J_n' = J_(n-1) - (n/z) J_n with J_-1 = -J_1, the same
for H2.

Usage: make_bessel_reference.py > bessel_reference.txt
       make_bessel_reference.py grid > grid.txt   (the dense grid that
       measures the accuracy per region; ~3 600 arguments, some minutes)
"""
import sys
from multiprocessing import Pool

import mpmath as mp

mp.mp.dps = 40


def round64(x):
    """x rounded to the nearest value with a 64-bit significand."""
    with mp.workprec(64):
        return +x


def exact(x):
    """Mantissa and exponent of a 64-bit value, x = man * 2^exp."""
    if x == 0:
        return 0, 0
    sign, man, e, _ = mp.mpf(x)._mpf_
    return (-int(man) if sign else int(man)), int(e)


def radii():
    r = set()
    k = 1
    while k <= 300:             # 0.1 ... 30 in steps of 0.1
        r.add(mp.mpf(k) / 10)
        k += 1
    for s in (2, 4, 6, 10, 12, 16, 20):     # both sides of every switch
        for d in ('1e-9', '1e-6', '1e-3'):
            r.add(s * (1 - mp.mpf(d)))
            r.add(s * (1 + mp.mpf(d)))
    for v in (35, 40, 50, 60, 70, 80, 100, 120, 150, 200, 300, 500, 700, 1000,
              1500, 2000, 3000, 5000, 7000, 10000, 12000, 15000, 16000, 16050,
              16070, 16100, 17000, 20000):
        r.add(mp.mpf(v))
    return sorted(r)


def values(n, z):
    J = mp.besselj(n, z)
    Y = mp.bessely(n, z)
    if mp.arg(z) <= mp.pi / 2 and not (z.imag == 0 and z.real < 0):
        H = (2j / mp.pi) * mp.expjpi(mp.mpf(n) / 2) * mp.besselk(n, 1j * z)
        # Y against J - jY = H2; both are far larger than their difference on the ray.
        Yc = -1j * (J - H)
        scale = max(abs(Y), abs(H))
        assert abs(Y - Yc) <= mp.mpf('1e-30') * scale, (n, z, Y, Yc)
    else:
        H = J - 1j * Y
    return J, Y, H


def with_derivatives(z):
    J0, Y0, H0 = values(0, z)
    J1, Y1, H1 = values(1, z)
    return [(J0, Y0, H0, -J1, -H1), (J1, Y1, H1, J0 - J1 / z, H0 - H1 / z)]


def fmt(x):
    return mp.nstr(x, 25, min_fixed=1, max_fixed=0)


ANGLES = ['-179.999999', '-179', '-170', '-135', '-90', '-10', '-2e-8', '2e-8', '10', '45',
          '90', '135', '170', '179', '179.999999', '180']
RAYS = ['0.01', '0.1', '0.5', '1', '2', '3.99', '4', '6', '9.99', '10', '11.99', '12', '14',
        '16', '18', '19.99', '20', '25', '30', '50', '100', '300', '1000', '3000', '10000',
        '16000']


def lines(axis, z, vals_of=None):
    rm, rexp = exact(z.real)
    im_m, iexp = exact(z.imag)
    out_lines = []
    for n, vals in enumerate((vals_of or with_derivatives)(z)):
        out = [axis, n, rm, rexp, im_m, iexp]
        for v in vals:
            out += [fmt(v.real), fmt(v.imag)]
        out_lines.append(' '.join(str(o) for o in out))
    return out_lines


def row(axis, z):
    print('\n'.join(lines(axis, z)))


def large_real(z):
    """J, Y, H2 and derivatives of orders 0, 1 at a large real z (|z| >= 30)
    from Hankel's expansions at 60 digits with the exact phase (the working
    precision grows with x); the terms
    are summed until they fall below 1e-50 (or their smallest, e^-2|z|)."""
    # The phase x - n pi/2 - pi/4 needs the digits of x besides the 60.
    with mp.workprec(200 + max(0, int(mp.mag(z)))):
        x = abs(z)
        res = []
        for n in (0, 1):
            mu = 4 * n * n
            P, Q, t, k = mp.mpf(1), mp.mpf(0), mp.mpf(1), 1
            while True:
                nt = t * (mu - (2 * k - 1) ** 2) / (k * 8 * x)
                if abs(nt) >= abs(t) or abs(nt) < mp.mpf('1e-50'):
                    break
                t = nt
                if k % 4 == 1:
                    Q += t
                elif k % 4 == 2:
                    P -= t
                elif k % 4 == 3:
                    Q -= t
                else:
                    P += t
                k += 1
            chi = x - n * mp.pi / 2 - mp.pi / 4
            A = mp.sqrt(2 / (mp.pi * x))
            J = A * (P * mp.cos(chi) - Q * mp.sin(chi))
            Y = A * (P * mp.sin(chi) + Q * mp.cos(chi))
            if z < 0:
                # J_n(-x) = (-1)^n J_n(x), Y_n(-x) = (-1)^n (Y_n(x) + 2j J_n(x))
                sg = -1 if n else 1
                J, Y = sg * J, sg * (Y + 2j * J)
            res.append((mp.mpc(J), mp.mpc(Y)))
        (J0, Y0), (J1, Y1) = res
        H0, H1 = J0 - 1j * Y0, J1 - 1j * Y1
        zz = mp.mpf(z)
        res = [(J0, Y0, H0, -J1, -H1), (J1, Y1, H1, J0 - J1 / zz, H0 - H1 / zz)]
    with mp.workdps(60):
        return [tuple(+v for v in t) for t in res]


def grid_point(a):
    kind, x, y = a
    if kind == 'L':
        return lines('G', mp.mpc(x, 0), lambda z: large_real(z.real))
    return lines('G', mp.mpc(x, y))


def grid():
    """Every 30 deg, and closely within 10 deg of the positive real axis and
    near the negative one, at |z| from 0.05 to 16 000, densely from 12 to
    30; and real arguments of both signs from 30 to the overflow limit."""
    degs = set(range(-180, 181, 30))
    for d in ('1e-6', '0.5', '1', '2', '4', '7', '10'):
        degs |= {mp.mpf(d), -mp.mpf(d)}
    for d in ('0.5', '1', '10'):
        degs |= {180 - mp.mpf(d), mp.mpf(d) - 180}
    radii = [mp.mpf(k) / 2 for k in range(1, 24)]
    radii += [12 + mp.mpf(k) / 10 for k in range(46)]
    radii += [mp.mpf(33) / 2 + mp.mpf(k) / 2 for k in range(28)]
    radii += [mp.mpf(v) for v in (35, 50, 70, 100, 200, 500, 1000, 2000, 5000, 10000, 16000)]
    args = []
    for deg in sorted(degs):
        fi = mp.mpf(deg) * mp.pi / 180
        for r in radii:
            x = round64(r * mp.cos(fi))
            y = 0 if deg in (0, 180, -180) else round64(r * mp.sin(fi))
            if deg in (180, -180):
                x = -round64(r)
            args.append(('Z', x, y))
    mp.mp.dps = 40
    import random
    random.seed(30)
    e = mp.mpf('1.5')
    while e < 4932:
        x = round64(mp.mpf(10) ** (e + mp.mpf(random.random()) / 10))
        args.append(('L', x, 0))
        args.append(('L', -x, 0))
        e += 12 if e > 40 else mp.mpf('0.25')
    with Pool(4) as pool:
        for ls in pool.imap(grid_point, args, chunksize=20):
            print('\n'.join(ls))


def main():
    print('# axis n re_man re_exp im_man im_exp Re(J) Im(J) Re(Y) Im(Y) Re(H2) Im(H2)'
          ' Re(J\') Im(J\') Re(H2\') Im(H2\')')
    print('# z = re_man*2^re_exp + j*im_man*2^im_exp; mpmath %s, %d digits' % (mp.__version__, mp.mp.dps))
    for r in radii():
        row('R', mp.mpc(round64(r), 0))
        a = round64(r / mp.sqrt(2))
        row('D', mp.mpc(a, -a))
    for deg in ANGLES:
        fi = mp.mpf(deg) * mp.pi / 180
        meet = 45 / (3 - abs(mp.sin(fi)))
        for r in RAYS + [meet * (1 - mp.mpf('1e-9')), meet * (1 + mp.mpf('1e-9')), 15]:
            r = mp.mpf(r)
            if deg in ('-180', '180'):
                z = mp.mpc(-round64(r), 0)
            else:
                z = mp.mpc(round64(r * mp.cos(fi)), round64(r * mp.sin(fi)))
            row('A', z)
    # Large real arguments of both signs up to the overflow limit, where the
    # phase must be reduced exactly.
    for v in LARGE:
        for x in (round64(mp.mpf(v)), -round64(mp.mpf(v))):
            print('\n'.join(lines('R', mp.mpc(x, 0), lambda z: large_real(z.real))))


LARGE = ['1e5', '1e6', '1e7', '1e9', '1e12', '1e15', '1e18', '1e30', '1e100', '1e300', '1e1000',
         '1e2400']


if __name__ == '__main__':
    grid() if sys.argv[1:] == ['grid'] else main()
