#include <gtest/gtest.h>

#include "numerics/Macierze4.h"
#include "support/Pomoc.h"

using namespace num;
using testy::Rowne;

namespace {

class Macierze4 : public testy::CzysteFlagi {};

bool Zerowa(const TMacierzZ& m) {
  for (const auto& w : m.FDane)
    for (const auto& e : w)
      if (!Rowne(e, ZeroZ)) return false;
  return true;
}

TEST_F(Macierze4, CreationSetsCountsVectorColumnAndZeroStorage) {
  TMacierzZ m(1, 3, 1);
  EXPECT_EQ(2, m.FTypDanych);
  EXPECT_EQ(20, m.FRozmiarRekordu);
  EXPECT_EQ(3, m.FLiczbaWierszy);
  EXPECT_EQ(1, m.FLiczbaKolumn);
  EXPECT_EQ(1, m.FKolumnaWektora);
  ASSERT_EQ(4u, m.FDane.size());
  for (const auto& w : m.FDane) EXPECT_EQ(2u, w.size());
  EXPECT_TRUE(Zerowa(m));

  EXPECT_EQ(0, TMacierzZ(0, 3, 1).FKolumnaWektora);
  TMacierzZ bezKolumn(1, 3, 0);
  EXPECT_EQ(0, bezKolumn.FKolumnaWektora);
  ASSERT_EQ(4u, bezKolumn.FDane.size());
  EXPECT_EQ(1u, bezKolumn.FDane[3].size());
}

TEST_F(Macierze4, VectorAccessUsesTheVectorColumn) {
  TMacierzZ m(1, 3, 1);
  m.UstawWektor(2, {1, 2});
  EXPECT_TRUE(Rowne(m.FDane[2][1], TZespol{1, 2}));
  EXPECT_TRUE(Rowne(m.FDane[2][0], ZeroZ));
  EXPECT_TRUE(Rowne(m.Wektor(2), TZespol{1, 2}));

  TMacierzZ k(0, 3, 2);
  k.UstawWektor(1, {5, 6});
  EXPECT_TRUE(Rowne(k.FDane[1][0], TZespol{5, 6}));
  EXPECT_TRUE(Rowne(k.Wektor(1), TZespol{5, 6}));
}

TEST_F(Macierze4, ResizeAlwaysClears) {
  TMacierzZ m(1, 2, 2);
  m.FDane[1][1] = {3, 4};
  m.FDane[2][2] = {5, 6};
  m.UstawRozmiar(2, 2);
  EXPECT_EQ(2, m.FLiczbaWierszy);
  EXPECT_TRUE(Zerowa(m));

  // Through the base class, as the slot is reached.
  TMacierzPrototyp* p = &m;
  m.FDane[1][1] = {1, 1};
  p->UstawRozmiar(4, 1);
  EXPECT_EQ(4, m.FLiczbaWierszy);
  EXPECT_EQ(1, m.FLiczbaKolumn);
  ASSERT_EQ(5u, m.FDane.size());
  EXPECT_EQ(2u, m.FDane[4].size());
  EXPECT_TRUE(Zerowa(m));
}

// Negative sizes count as 0; row 0 and column 0 still exist.
TEST_F(Macierze4, NegativeSizesGiveAnEmptyMatrix) {
  TMacierzZ m(1, -1, -5);
  EXPECT_EQ(0, m.FLiczbaWierszy);
  EXPECT_EQ(0, m.FLiczbaKolumn);
  EXPECT_EQ(0, m.FKolumnaWektora);
  ASSERT_EQ(1u, m.FDane.size());
  EXPECT_EQ(1u, m.FDane[0].size());
  EXPECT_EQ(m.FDane[0].data(), m.Wiersz(0));
}

TEST_F(Macierze4, RowAddressMapsOutOfRangeRowsToRowZero) {
  TMacierzZ m(1, 3, 3);
  EXPECT_EQ(m.FDane[2].data(), m.Wiersz(2));
  EXPECT_EQ(m.FDane[3].data(), m.Wiersz(3));
  EXPECT_EQ(m.FDane[0].data(), m.Wiersz(-1));
  EXPECT_EQ(m.FDane[0].data(), m.Wiersz(4));
  m.FDane[1][2] = {7, 8};
  EXPECT_TRUE(Rowne(static_cast<TZespol*>(m.Wiersz(1))[2], TZespol{7, 8}));
}

TEST_F(Macierze4, ElementText) {
  TMacierzZ m(1, 1, 1);
  TMacierzPrototyp* p = &m;
  EXPECT_TRUE(p->TekstNaElement("3+j4", 1, 1, 2));
  EXPECT_TRUE(Rowne(m.FDane[1][1], TZespol{6, 8}));
  EXPECT_TRUE(p->TekstNaElement("abc", 1, 1, 2));
  EXPECT_TRUE(Rowne(m.FDane[1][1], ZeroZ));
  EXPECT_TRUE(p->TekstNaElement("1.5+jx", 1, 1, 1));
  EXPECT_TRUE(Rowne(m.FDane[1][1], TZespol{1.5L, 0}));

  m.FDane[1][1] = {1.5L, -2.25L};
  tk::SetDecimalSeparator('.');
  EXPECT_EQ("  1.50  - j 2.25", p->ElementNaTekst(1, 1, 1, 2));
  tk::SetDecimalSeparator(',');
  EXPECT_EQ("  1,50  - j 2,25", p->ElementNaTekst(1, 1, 1, 2));
  EXPECT_EQ("  1500000  - j 2250000", p->ElementNaTekst(1, 1, 1e6L, 0));
}

}  // namespace
