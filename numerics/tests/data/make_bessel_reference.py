#!/usr/bin/env python3
"""Reference values of J_n, Y_n and H2_n (n = 0, 1) for the Bessel tests.

Arguments lie on the positive real axis (axis R) and on the ray at -45 deg
(axis D, the arguments m*r of the conductor models, m = sqrt(-j)*k), with
|z| from 0.1 to 20000, densely below 30 and on both sides of the points
where the methods of Bessel4 change; and on rays at other angles (axis A)
from -180 to 180 deg, both sides of the negative real axis and nearly real
positive arguments among them, with |z| from 0.01 to 16000 and on both
sides of the line 3|z| - |Im z| = 45 where series and expansion meet (15 on
the real axes, 15.09 at 179 deg).  Each row also
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
"""
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


def row(axis, z):
    rm, rexp = exact(z.real)
    im_m, iexp = exact(z.imag)
    for n, vals in enumerate(with_derivatives(z)):
        out = [axis, n, rm, rexp, im_m, iexp]
        for v in vals:
            out += [fmt(v.real), fmt(v.imag)]
        print(*out)


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


if __name__ == '__main__':
    main()
