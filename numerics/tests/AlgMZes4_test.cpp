#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "numerics/AlgMZes4.h"
#include "support/Pomoc.h"
#include "toolkit/core/MessageBox.h"

using namespace num;
using testy::Rowne;

namespace {

class AlgMZes4 : public testy::CzysteFlagi {};

// A matrix from its rows (from index 1).
TMacierzZ M(std::initializer_list<std::initializer_list<TZespol>> wiersze) {
  const int32_t w = static_cast<int32_t>(wiersze.size());
  const int32_t k = w > 0 ? static_cast<int32_t>(wiersze.begin()->size()) : 0;
  TMacierzZ m(1, w, k);
  int i = 1;
  for (const auto& r : wiersze) {
    int j = 1;
    for (const auto& e : r) m.FDane[i][j++] = e;
    ++i;
  }
  return m;
}

bool RowneM(const TMacierzZ& a, const TMacierzZ& b) {
  if (a.FDane.size() != b.FDane.size()) return false;
  for (size_t i = 0; i < a.FDane.size(); ++i) {
    if (a.FDane[i].size() != b.FDane[i].size()) return false;
    for (size_t j = 0; j < a.FDane[i].size(); ++j)
      if (!testy::Rowne(a.FDane[i][j], b.FDane[i][j])) return false;
  }
  return true;
}

long double SumaWiersza(const TMacierzZ& a, int i) {
  long double s = 0;
  for (int j = 1; j <= a.FLiczbaWierszy; ++j) s += ModZ(a.FDane[i][j]);
  return s;
}

struct Zapis : Pasek {
  std::vector<std::string> zdarzenia;
  void SetMin(int v) override { zdarzenia.push_back("min " + std::to_string(v)); }
  void SetMax(int v) override { zdarzenia.push_back("max " + std::to_string(v)); }
  void SetPosition(int v) override { zdarzenia.push_back("pos " + std::to_string(v)); }
};

const TZespol j1{0, 1};

TEST_F(AlgMZes4, MessagesAndTheirBox) {
  EXPECT_STREQ("Błędy w module AlgMZes4", kCaptionAlgMZes4);
  EXPECT_STREQ("Niezgodność wymiarów macierzy w procedurze  TranMacZ", BledyAlgMZes4[0]);
  EXPECT_STREQ("Niezgodność wymiarów macierzy w procedurze SkalRowMacZ", BledyAlgMZes4[6]);
  EXPECT_STREQ("Niezgodność wymiarów macierzy w procedurze  RRMAZ1", BledyAlgMZes4[7]);
  EXPECT_STREQ(
      "Warunek przerwania poszukiwania elementu głównego metody eliminacji Gaussa w procedurze RRMAZ1 - "
      "być może wyznacznik macierzy jest równy zero",
      BledyAlgMZes4[8]);
  EXPECT_STREQ("Zero na główne przekątnej w metodzie RRMacRzadkaZes obiektu TRozRowMacRzadkaZespolCrout",
               BledyAlgMZes4[26]);
  EXPECT_STREQ(
      "W metodzie MetodaNewtona funkcji SqrtMac  przekroczono zadaną ilość iteracji nie uzyskawszy zadanej "
      "dokładności obliczeń eps",
      BledyAlgMZes4[27]);
  EXPECT_STREQ("Nie istnieje funkcja macierzowa eksponencjalna przy obliczaniu Cosh(B*x) oraz Sinh(B*x)",
               BledyAlgMZes4[33]);
  int podwojne = 0;
  for (const char* t : BledyAlgMZes4) podwojne += std::string(t).find("  ") != std::string::npos;
  EXPECT_EQ(12, podwojne) << "texts with two blanks";

  std::vector<tk::MessageRequest> pokazane;
  tk::MessageHandler stary = tk::SetMessageHandler([&](const tk::MessageRequest& r) {
    pokazane.push_back(r);
    return int(tk::mrOk);
  });
  PokazBladAlgMZes(9);
  PokazBladAlgMZes(34);
  tk::SetMessageHandler(stary);
  ASSERT_EQ(2u, pokazane.size());
  EXPECT_EQ("Błędy w module AlgMZes4", pokazane[0].caption);
  EXPECT_EQ(BledyAlgMZes4[8], pokazane[0].text);
  EXPECT_EQ(tk::MsgIcon::Error, pokazane[0].icon);
  EXPECT_EQ(unsigned(tk::mbOK), pokazane[0].buttons);
  EXPECT_EQ(BledyAlgMZes4[33], pokazane[1].text);
}

TEST_F(AlgMZes4, ScalingByPowersOfTwo) {
  // Sums 3 -> x 1/4, 0.25 -> x 2, exactly 2 -> x 1/4, 0.5 and 1 unchanged.
  TMacierzZ A = M({{{1, 0}, {0, 2}, {0, 0}, {0, 0}, {0, 0}},
                   {{0.125L, 0}, {0, 0.125L}, {0, 0}, {0, 0}, {0, 0}},
                   {{1, 0}, {-1, 0}, {0, 0}, {0, 0}, {0, 0}},
                   {{0.3L, 0.4L}, {0, 0}, {0, 0}, {0, 0}, {0, 0}},
                   {{0.6L, -0.8L}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}});
  TMacierzZ B = M({{{4, 4}}, {{1, 0}}, {{8, 0}}, {{0.1L, 0}}, {{0.3L, 0.7L}}});
  const TMacierzZ A0 = A, B0 = B;
  EXPECT_EQ(0, SkalRowMacZ(A, B));
  EXPECT_EQ(0.75L, SumaWiersza(A, 1));
  EXPECT_EQ(0.5L, SumaWiersza(A, 2));
  EXPECT_EQ(0.5L, SumaWiersza(A, 3));
  EXPECT_TRUE(Rowne(A.FDane[1][2], TZespol{0, 0.5L}));
  EXPECT_TRUE(Rowne(B.FDane[1][1], TZespol{1, 1}));
  EXPECT_TRUE(Rowne(B.FDane[2][1], TZespol{2, 0}));
  EXPECT_TRUE(Rowne(B.FDane[3][1], TZespol{2, 0}));
  for (int i = 4; i <= 5; ++i) {
    for (int j = 0; j <= 5; ++j) EXPECT_TRUE(Rowne(A.FDane[i][j], A0.FDane[i][j]));
    EXPECT_TRUE(Rowne(B.FDane[i][1], B0.FDane[i][1]));
  }
}

// The factor is an exact power of two for any size of row: every bit of
// the elements is kept, also far from 1 and for subnormal rows.
TEST_F(AlgMZes4, ScalingIsExact) {
  const long double x = 1.0L / 3.0L;
  for (long double s : {1e300L, 7e-300L, 1e4900L, 3e-4940L}) {
    TMacierzZ A = M({{{x * s, -x * s}}});
    TMacierzZ B = M({{{s, s / 7}}});
    EXPECT_EQ(0, SkalRowMacZ(A, B));
    const long double suma = SumaWiersza(A, 1);
    EXPECT_GE(suma, 0.5L);
    EXPECT_LT(suma, 1.0L);
    const int k = std::ilogb(A.FDane[1][1].re) - std::ilogb(x * s);
    EXPECT_EQ(A.FDane[1][1].re, std::ldexp(x * s, k)) << s;
    EXPECT_EQ(B.FDane[1][1].im, std::ldexp(s / 7, k)) << s;
  }
}

TEST_F(AlgMZes4, ScalingNeedsEqualRowCounts) {
  TMacierzZ A = M({{{3, 0}, {0, 0}}, {{0, 0}, {3, 0}}});
  TMacierzZ B = M({{{3, 0}}});
  const TMacierzZ A0 = A, B0 = B;
  EXPECT_EQ(7, SkalRowMacZ(A, B));
  EXPECT_TRUE(RowneM(A, A0));
  EXPECT_TRUE(RowneM(B, B0));
}

// A zero row has no finite scaling factor: the logarithm of 0 is a
// division by zero; the rows before it are already scaled.
TEST_F(AlgMZes4, ZeroRowFailsWithDivisionByZero) {
  TMacierzZ A = M({{{3, 0}, {0, 0}}, {{0, 0}, {0, 0}}});
  TMacierzZ B = M({{{3, 0}}, {{5, 0}}});
  TMacierzZ X(1, 2, 1);
  EXPECT_DZIELENIE(SkalRowMacZ(A, B));
  EXPECT_EQ(0.75L, A.FDane[1][1].re);
  EXPECT_EQ(5.0L, B.FDane[2][1].re);
  A = M({{{3, 0}, {0, 0}}, {{0, 0}, {0, 0}}});
  EXPECT_DZIELENIE(RRMAZ1(A, B, X, 1e-50L, nullptr));
}

TEST_F(AlgMZes4, DimensionsAreCheckedAfterTheProgressBarIsSet) {
  TMacierzZ A = M({{{1, 0}, {2, 0}, {3, 0}}, {{4, 0}, {5, 0}, {6, 0}}});
  TMacierzZ B = M({{{1, 0}}, {{2, 0}}});
  TMacierzZ X(1, 2, 1);
  X.FDane[1][1] = {9, 9};
  const TMacierzZ A0 = A, B0 = B, X0 = X;
  Zapis pasek;
  EXPECT_EQ(8, RRMAZ1(A, B, X, 1e-50L, &pasek));
  EXPECT_EQ((std::vector<std::string>{"min 0", "max 2", "pos 0"}), pasek.zdarzenia);
  EXPECT_TRUE(RowneM(A, A0));
  EXPECT_TRUE(RowneM(B, B0));
  EXPECT_TRUE(RowneM(X, X0));

  TMacierzZ A2 = M({{{1, 0}, {0, 0}}, {{0, 0}, {1, 0}}});
  TMacierzZ B3 = M({{{1, 0}}, {{2, 0}}, {{3, 0}}});
  EXPECT_EQ(8, RRMAZ1(A2, B3, X, 1e-50L, nullptr));
}

TEST_F(AlgMZes4, SolvesExactlyWithoutScaling) {
  TMacierzZ A = M({{{0.5L, 0}, {0, 0}}, {{0, 0}, j1}});
  TMacierzZ B = M({{{0.5L, 0}}, {j1}});
  TMacierzZ X(1, 2, 1);
  Zapis pasek;
  EXPECT_EQ(0, RRMAZ1(A, B, X, 1e-50L, &pasek));
  EXPECT_TRUE(Rowne(X.FDane[1][1], TZespol{1, 0}));
  EXPECT_TRUE(Rowne(X.FDane[2][1], TZespol{1, 0}));
  EXPECT_EQ((std::vector<std::string>{"min 0", "max 2", "pos 0", "pos 1", "pos 2"}), pasek.zdarzenia);
}

TEST_F(AlgMZes4, PivotingExchangesRowsAndKeepsReciprocals) {
  TMacierzZ A = M({{{0, 0}, {0.5L, 0}}, {{0.5L, 0}, {0, 0}}});
  TMacierzZ B = M({{{0.5L, 0}}, {{0.25L, 0}}});
  TMacierzZ X(1, 2, 1);
  EXPECT_EQ(0, RRMAZ1(A, B, X, 1e-50L, nullptr));
  EXPECT_TRUE(Rowne(X.FDane[1][1], TZespol{0.5L, 0}));
  EXPECT_TRUE(Rowne(X.FDane[2][1], TZespol{1, 0}));
  EXPECT_TRUE(Rowne(B.FDane[1][1], TZespol{0.25L, 0}));
  EXPECT_TRUE(Rowne(B.FDane[2][1], TZespol{0.5L, 0}));
  EXPECT_TRUE(Rowne(A.FDane[1][1], TZespol{2, 0}));
  EXPECT_TRUE(Rowne(A.FDane[2][2], TZespol{2, 0}));
}

// Among equal moduli the upper row is the pivot; the columns left of the
// pivot column are not exchanged and the entries below the diagonal keep
// the values the multipliers were formed from.
TEST_F(AlgMZes4, EqualModuliKeepTheUpperRow) {
  TMacierzZ A = M({{{0, 0}, {0.25L, 0}, {0.25L, 0}}, {{0, 0.5L}, {0.25L, 0}, {0, 0}}, {{0.5L, 0}, {0, 0}, {0.25L, 0}}});
  TMacierzZ B = M({{{1, 0}}, {{2, 0}}, {{3, 0}}});
  TMacierzZ X(1, 3, 1);
  EXPECT_EQ(0, RRMAZ1(A, B, X, 1e-50L, nullptr));
  // Step 1 takes row 2 (|j/2| = |1/2|, upper of the two) and exchanges it with row 1.
  EXPECT_TRUE(Rowne(B.FDane[1][1], TZespol{2, 0}));
  EXPECT_TRUE(Rowne(A.FDane[1][1], FOdwZ({0, 0.5L})));
  EXPECT_TRUE(Rowne(A.FDane[2][1], TZespol{0, 0})) << "row 1's old first element, below the diagonal";
  EXPECT_TRUE(Rowne(A.FDane[3][1], TZespol{0.5L, 0}));
  // The solution of the original system.
  const TZespol x1 = X.FDane[1][1], x2 = X.FDane[2][1], x3 = X.FDane[3][1];
  const TZespol r1 = FSubZ(FAddZ(FMulZR(x2, 0.25L), FMulZR(x3, 0.25L)), {1, 0});
  const TZespol r2 = FSubZ(FAddZ(FMulZ({0, 0.5L}, x1), FMulZR(x2, 0.25L)), {2, 0});
  const TZespol r3 = FSubZ(FAddZ(FMulZR(x1, 0.5L), FMulZR(x3, 0.25L)), {3, 0});
  EXPECT_LT(ModZ(r1) + ModZ(r2) + ModZ(r3), 1e-17L);
}

TEST_F(AlgMZes4, SingularSystemStopsAtThePivotTest) {
  TMacierzZ A = M({{{0, 0}, {1, 0}}, {{0, 0}, {1, 0}}});
  TMacierzZ B = M({{{1, 0}}, {{2, 0}}});
  TMacierzZ X(1, 2, 1);
  X.FDane[2][1] = {4, 4};
  const TMacierzZ A0 = A, B0 = B, X0 = X;
  EXPECT_EQ(9, RRMAZ1(A, B, X, 1e-50L, nullptr));
  EXPECT_TRUE(RowneM(A, A0)) << "row sums are 1: nothing scaled, nothing eliminated";
  EXPECT_TRUE(RowneM(B, B0));
  EXPECT_TRUE(RowneM(X, X0));

  // Singular in the second step: the first step stays done.
  TMacierzZ A2 = M({{{0.5L, 0}, {0.25L, 0}}, {{0.5L, 0}, {0.25L, 0}}});
  TMacierzZ B2 = M({{{1, 0}}, {{1, 0}}});
  EXPECT_EQ(9, RRMAZ1(A2, B2, X, 1e-50L, nullptr));
  EXPECT_TRUE(Rowne(A2.FDane[1][1], TZespol{2, 0}));
  EXPECT_TRUE(Rowne(A2.FDane[2][2], ZeroZ));
  EXPECT_TRUE(Rowne(B2.FDane[2][1], ZeroZ));
  EXPECT_TRUE(RowneM(X, X0));
}

TEST_F(AlgMZes4, PivotEqualToEpsIsAccepted) {
  TMacierzZ A = M({{{0.5L, 0}}});
  TMacierzZ B = M({{{0.25L, 0}}});
  TMacierzZ X(1, 1, 1);
  EXPECT_EQ(0, RRMAZ1(A, B, X, 0.5L, nullptr));
  EXPECT_TRUE(Rowne(X.FDane[1][1], TZespol{0.5L, 0}));
  A = M({{{0.5L, 0}}});
  EXPECT_EQ(9, RRMAZ1(A, B, X, 0.5000000000000000001L, nullptr));
}

TEST_F(AlgMZes4, EmptySystem) {
  TMacierzZ A(1, 0, 0), B(1, 0, 1), X(1, 0, 1);
  EXPECT_EQ(0, RRMAZ1(A, B, X, 1e-50L, nullptr));
}

// A complex 3x3 system of the size the two-layer conductor solves, with
// rows of very different size, and two right-hand sides.
TEST_F(AlgMZes4, SolvesAGeneralSystem) {
  const TZespol a[3][3] = {{{1e-6L, 2e-6L}, {3e-7L, -1e-6L}, {-4e-6L, 0}},
                           {{5e3L, -1e3L}, {2e3L, 2e3L}, {0, 7e3L}},
                           {{0.3L, 0.1L}, {-0.2L, 0.9L}, {0.5L, -0.5L}}};
  const TZespol x[3][2] = {{{1, -1}, {0, 2}}, {{2, 0.5L}, {-1, 0}}, {{-0.5L, 3}, {4, 4}}};
  TMacierzZ A(1, 3, 3), B(1, 3, 2), X(1, 3, 2);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) A.FDane[i + 1][j + 1] = a[i][j];
    for (int c = 0; c < 2; ++c) {
      TZespol s = ZeroZ;
      for (int j = 0; j < 3; ++j) s = FAddZ(s, FMulZ(a[i][j], x[j][c]));
      B.FDane[i + 1][c + 1] = s;
    }
  }
  EXPECT_EQ(0, RRMAZ1(A, B, X, 1e-50L, nullptr));
  for (int j = 0; j < 3; ++j)
    for (int c = 0; c < 2; ++c) EXPECT_LT(ModZ(FSubZ(X.FDane[j + 1][c + 1], x[j][c])), 1e-16L) << j << " " << c;
}

}  // namespace
