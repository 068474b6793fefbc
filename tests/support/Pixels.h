#pragma once
// Reading pictures as a test looks at them: colours close to a wanted one,
// and the pixels of a rectangle that pass a test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

#include "toolkit/pictures/Graphics.h"

namespace testsupport {

// Within `tol` of the wanted colour in each of red, green and blue.
inline bool Near(tk::TColor c, tk::TColor want, int tol = 40) {
  return std::abs(tk::GetRValue(c) - tk::GetRValue(want)) <= tol &&
         std::abs(tk::GetGValue(c) - tk::GetGValue(want)) <= tol &&
         std::abs(tk::GetBValue(c) - tk::GetBValue(want)) <= tol;
}

// The pixels of [x0, x1) x [y0, y1) for which test(colour) holds.
template <class Test>
int CountPixels(const tk::TBitmap& b, int x0, int y0, int x1, int y1, Test test) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += test(b.Pixel(x, y)) ? 1 : 0;
  return n;
}

// The pixels of the rectangle within `tol` of the colour.
inline int CountNear(const tk::TBitmap& b, tk::TColor want, int x0, int y0, int x1, int y1, int tol = 40) {
  return CountPixels(b, x0, y0, x1, y1, [&](tk::TColor c) { return Near(c, want, tol); });
}

// Each of the points of the picture has the colour.
inline void ExpectPixels(const tk::TBitmap& b, tk::TColor c, std::initializer_list<tk::TPoint> at) {
  for (const tk::TPoint& p : at) EXPECT_EQ(b.Pixel(p.X, p.Y), c) << "at (" << p.X << ", " << p.Y << ")";
}

}  // namespace testsupport
