#!/usr/bin/env python3
"""Reference values of J_n, Y_n and H2_n (n = 0, 1) for the Bessel tests.

Arguments lie on the positive real axis (axis R) and on the ray at -45 deg
(axis D, the arguments m*r of the conductor models, m = sqrt(-j)*k), with
|z| from 0.1 to 20000, densely below 30 and on both sides of the points
where the methods of Bessel4 change.  Each argument is rounded to a 64-bit
significand first and written exactly (mantissa and power of two), so the
library and the reference see the same number.

mpmath's own hankel2 is inaccurate on the -45 deg ray for large |z|; H2 is
taken from the modified Bessel function instead,
    H2_n(z) = (2j/pi) e^(j n pi/2) K_n(jz),   -pi < arg z <= pi/2,
and Y from bessely, checked against -j (J - H2).

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
    H = (2j / mp.pi) * mp.expjpi(mp.mpf(n) / 2) * mp.besselk(n, 1j * z)
    # Y against J - jY = H2; both are far larger than their difference on the ray.
    Yc = -1j * (J - H)
    scale = max(abs(Y), abs(H))
    assert abs(Y - Yc) <= mp.mpf('1e-30') * scale, (n, z, Y, Yc)
    return J, Y, H


def fmt(x):
    return mp.nstr(x, 25, min_fixed=1, max_fixed=0)


def main():
    print('# axis n re_man re_exp im_man im_exp Re(J) Im(J) Re(Y) Im(Y) Re(H2) Im(H2)')
    print('# z = re_man*2^re_exp + j*im_man*2^im_exp; mpmath %s, %d digits' % (mp.__version__, mp.mp.dps))
    for r in radii():
        for axis in ('R', 'D'):
            if axis == 'R':
                re = round64(r)
                im = mp.mpf(0)
            else:
                re = round64(r / mp.sqrt(2))
                im = -re
            z = mp.mpc(re, im)
            for n in (0, 1):
                J, Y, H = values(n, z)
                rm, rexp = exact(re)
                im_m, iexp = exact(im)
                print(axis, n, rm, rexp, im_m, iexp,
                      fmt(J.real), fmt(J.imag), fmt(Y.real), fmt(Y.imag), fmt(H.real), fmt(H.imag))


if __name__ == '__main__':
    main()
