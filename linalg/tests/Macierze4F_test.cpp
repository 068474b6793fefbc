// The real and integer matrices: sizes, clearing, row addresses, vector
// access and the two text slots.
#include <gtest/gtest.h>

#include "linalg/Macierze4F.h"
#include "toolkit/core/Locale.h"

using linalg::TMacierzF;
using linalg::TMacierzI;

namespace {

struct Separator {
  explicit Separator(char c) { tk::SetDecimalSeparator(c); }
  ~Separator() { tk::SetDecimalSeparator('\0'); }
};

}  // namespace

TEST(TMacierzF, CreateGivesZeroArrayFromIndexZero) {
  TMacierzF m(1, 2, 2);
  EXPECT_EQ(m.FTypDanych, 1);
  EXPECT_EQ(m.FRozmiarRekordu, 10);
  EXPECT_EQ(m.FKolumnaWektora, 1);
  EXPECT_EQ(m.FLiczbaWierszy, 2);
  EXPECT_EQ(m.FLiczbaKolumn, 2);
  ASSERT_EQ(m.FDane.size(), 3u);
  for (const auto& row : m.FDane) {
    ASSERT_EQ(row.size(), 3u);
    for (auto v : row) EXPECT_EQ(v, 0.0L);
  }
  EXPECT_EQ(TMacierzF(0, 3, 1).FKolumnaWektora, 0);
  TMacierzF bezKolumn(1, 3, 0);
  EXPECT_EQ(bezKolumn.FKolumnaWektora, 0);
  ASSERT_EQ(bezKolumn.FDane.size(), 4u);
  EXPECT_EQ(bezKolumn.FDane[3].size(), 1u);
}

TEST(TMacierzF, ResizeAlwaysClearsAndRowAddressFallsBackToRowZero) {
  TMacierzF m(1, 2, 2);
  m.FDane[1][1] = 3.5L;
  m.FDane[2][2] = -1.0L;
  m.UstawRozmiar(2, 2);
  for (const auto& row : m.FDane)
    for (auto v : row) EXPECT_EQ(v, 0.0L);
  m.UstawRozmiar(4, 1);
  EXPECT_EQ(m.FLiczbaWierszy, 4);
  EXPECT_EQ(m.FLiczbaKolumn, 1);
  ASSERT_EQ(m.FDane.size(), 5u);
  EXPECT_EQ(m.FDane[4].size(), 2u);

  EXPECT_EQ(m.Wiersz(3), m.FDane[3].data());
  EXPECT_EQ(m.Wiersz(-1), m.FDane[0].data());
  EXPECT_EQ(m.Wiersz(5), m.FDane[0].data());
}

TEST(TMacierzF, TextSlotsUseTheLocaleSeparator) {
  TMacierzF m(1, 2, 2);
  {
    Separator sep(',');
    EXPECT_TRUE(m.TekstNaElement("2,5", 1, 2, 1e3L));
    EXPECT_EQ(m.FDane[1][2], 2500.0L);
    EXPECT_EQ(m.ElementNaTekst(1, 2, 1e-3L, 2), "  2,50");
    // "." is always a decimal point.
    EXPECT_TRUE(m.TekstNaElement("0.25", 2, 1, 4.0L));
    EXPECT_EQ(m.FDane[2][1], 1.0L);
  }
  {
    Separator sep('.');
    EXPECT_EQ(m.ElementNaTekst(1, 2, 1.0L, 1), "  2500.0");
  }
  EXPECT_TRUE(m.TekstNaElement("abc", 1, 2, 10.0L));
  EXPECT_EQ(m.FDane[1][2], 0.0L);
}

TEST(TMacierzI, CreateAndVectorColumn) {
  TMacierzI m(1, 4, 1);
  EXPECT_EQ(m.FTypDanych, 3);
  EXPECT_EQ(m.FRozmiarRekordu, 4);
  ASSERT_EQ(m.FDane.size(), 5u);
  EXPECT_EQ(m.FDane[0].size(), 2u);
  m.UstawWektor(3, 7);
  EXPECT_EQ(m.Wektor(3), 7);
  EXPECT_EQ(m.FDane[3][1], 7);
  EXPECT_EQ(m.FDane[3][0], 0);
  // Without the from-1 flag the vector column is column 0.
  TMacierzI z(0, 2, 1);
  z.UstawWektor(1, -4);
  EXPECT_EQ(z.FDane[1][0], -4);
  EXPECT_EQ(z.FDane[1][1], 0);
}

TEST(TMacierzI, ElementTextIgnoresScaleAndDecimals) {
  TMacierzI m(1, 1, 1);
  m.FDane[1][1] = -5;
  EXPECT_EQ(m.ElementNaTekst(1, 1, 1000.0L, 3), "  -5");
  m.FDane[1][1] = 2147483647;
  EXPECT_EQ(m.ElementNaTekst(1, 1, 1.0L, 0), "  2147483647");
}

TEST(TMacierzI, TextToElementIsStrictAndUntrimmed) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {"42", 42},
      {"  42", 42},
      {"-17", -17},
      {"+5", 5},
      {"$1F", 31},
      {"x1f", 31},
      {"X10", 16},
      {"0x10", 16},
      {"0XfF", 255},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$FFFFFFFF", -1},
      // Whatever is not an integer, or does not fit, is 0.
      {"4.2", 0},
      {"42 ", 0},
      {"4 2", 0},
      {"", 0},
      {"   ", 0},
      {"abc", 0},
      {"-", 0},
      {"$", 0},
      {"0x", 0},
      {"1e3", 0},
      {"2147483648", 0},
      {"-2147483649", 0},
      {"$100000000", 0},
      {"99999999999", 0},
      {"\t7", 0},
      {"12abc", 0},
  };
  TMacierzI m(1, 2, 2);
  for (const Case& c : cases) {
    m.FDane[2][2] = 12345;
    EXPECT_TRUE(m.TekstNaElement(c.text, 2, 2, 3.0L)) << c.text;
    EXPECT_EQ(m.FDane[2][2], c.value) << "\"" << c.text << "\"";
  }
}
