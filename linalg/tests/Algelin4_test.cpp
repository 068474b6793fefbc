// The in-place inversion: results, the state left after each code, the pivot
// choice, arithmetic faults, and the message table.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "linalg/Algelin4.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

using linalg::Extended;
using linalg::OdwMac1;
using linalg::TMacierzF;

namespace {

constexpr Extended kEps = 1e-20L;

TMacierzF Mac(std::initializer_list<std::initializer_list<Extended>> rows) {
  const int n = static_cast<int>(rows.size());
  const int k = n ? static_cast<int>(rows.begin()->size()) : 0;
  TMacierzF m(1, n, k);
  int i = 1;
  for (const auto& r : rows) {
    int j = 1;
    for (Extended v : r) m.FDane[i][j++] = v;
    ++i;
  }
  return m;
}

void ExpectMac(const TMacierzF& m, std::initializer_list<std::initializer_list<Extended>> rows, Extended tol = 0.0L) {
  int i = 1;
  for (const auto& r : rows) {
    int j = 1;
    for (Extended v : r) {
      if (tol == 0.0L) EXPECT_EQ(m.FDane[i][j], v) << "[" << i << "," << j << "]";
      else
        EXPECT_NEAR(static_cast<double>(m.FDane[i][j]), static_cast<double>(v), static_cast<double>(tol))
            << "[" << i << "," << j << "]";
      ++j;
    }
    ++i;
  }
}

// Row and column 0 never change.
void ExpectBorderZero(const TMacierzF& m) {
  for (size_t i = 0; i < m.FDane.size(); ++i) EXPECT_EQ(m.FDane[i][0], 0.0L);
  for (size_t j = 0; j < m.FDane[0].size(); ++j) EXPECT_EQ(m.FDane[0][j], 0.0L);
}

}  // namespace

TEST(OdwMac1, InvertsSmallMatrices) {
  TMacierzF a = Mac({{4}});
  EXPECT_EQ(OdwMac1(a, nullptr, kEps), 0);
  ExpectMac(a, {{0.25L}});

  // Step 1 takes row 2; the column exchange at the end restores the layout.
  TMacierzF swap = Mac({{0, 1}, {1, 0}});
  EXPECT_EQ(OdwMac1(swap, nullptr, kEps), 0);
  ExpectMac(swap, {{0, 1}, {1, 0}});
  ExpectBorderZero(swap);

  TMacierzF b = Mac({{1, 2}, {3, 4}});
  EXPECT_EQ(OdwMac1(b, nullptr, kEps), 0);
  ExpectMac(b, {{-2, 1}, {1.5L, -0.5L}}, 1e-17L);
  ExpectBorderZero(b);

  TMacierzF empty(1, 0, 0);
  EXPECT_EQ(OdwMac1(empty, nullptr, kEps), 0);
  ASSERT_EQ(empty.FDane.size(), 1u);
  EXPECT_EQ(empty.FDane[0][0], 0.0L);
}

TEST(OdwMac1, ProductWithOriginalIsIdentity) {
  // A 4×4 matrix that needs row exchanges at several steps.
  const std::vector<std::vector<Extended>> src = {{0, 2, -1, 3}, {5, 1, 0, -2}, {1, -7, 4, 0.5L}, {2, 0, 9, 1}};
  TMacierzF a(1, 4, 4);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) a.FDane[i][j] = src[i - 1][j - 1];
  ASSERT_EQ(OdwMac1(a, nullptr, kEps), 0);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) {
      Extended s = 0;
      for (int k = 1; k <= 4; ++k) s += src[i - 1][k - 1] * a.FDane[k][j];
      EXPECT_NEAR(static_cast<double>(s), i == j ? 1.0 : 0.0, 1e-17) << i << "," << j;
    }
  ExpectBorderZero(a);
}

TEST(OdwMac1, NonSquareReturns13AndChangesNothing) {
  TMacierzF a = Mac({{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(OdwMac1(a, nullptr, kEps), 13);
  ExpectMac(a, {{1, 2, 3}, {4, 5, 6}});
}

TEST(OdwMac1, SingularStopsWithStepsSoFar) {
  TMacierzF a = Mac({{2, 0}, {0, 0}});
  EXPECT_EQ(OdwMac1(a, nullptr, kEps), 14);
  ExpectMac(a, {{0.5L, 0}, {0, 0}});

  // Exactly dependent rows.
  TMacierzF b = Mac({{1, 2}, {2, 4}});
  EXPECT_EQ(OdwMac1(b, nullptr, kEps), 14);
}

TEST(OdwMac1, PivotTiesGoToTheUpperRow) {
  // |1| = |-1|: row 1 is kept.  Taking row 2 would leave [[-1, 0], [1, 0]].
  TMacierzF a = Mac({{1, 0}, {-1, 0}});
  EXPECT_EQ(OdwMac1(a, nullptr, kEps), 14);
  ExpectMac(a, {{1, 0}, {1, 0}});
}

TEST(OdwMac1, PivotEqualToEpsIsAccepted) {
  TMacierzF a = Mac({{kEps}});
  EXPECT_EQ(OdwMac1(a, nullptr, kEps), 0);
  EXPECT_EQ(a.FDane[1][1], 1.0L / kEps);

  TMacierzF neg = Mac({{-kEps}});
  EXPECT_EQ(OdwMac1(neg, nullptr, kEps), 0);

  const Extended below = std::nextafter(kEps, 0.0L);
  TMacierzF b = Mac({{below}});
  EXPECT_EQ(OdwMac1(b, nullptr, kEps), 14);
  EXPECT_EQ(b.FDane[1][1], below);
}

TEST(OdwMac1, ArithmeticFaultLeavesAsException) {
  // 1/d of a subnormal pivot overflows.
  tk::FpClear();
  TMacierzF a = Mac({{LDBL_TRUE_MIN * 8}});
  EXPECT_THROW(OdwMac1(a, nullptr, LDBL_TRUE_MIN), tk::EOverflow);
  EXPECT_FALSE(tk::FpFaultPending());
  // And the module works as before afterwards.
  TMacierzF b = Mac({{2}});
  EXPECT_EQ(OdwMac1(b, nullptr, kEps), 0);
  EXPECT_EQ(b.FDane[1][1], 0.5L);
}

TEST(Algelin4, MessageTableAndBox) {
  const std::string m13 = linalg::BledyAlgelin4[12];
  const std::string m33 = linalg::BledyAlgelin4[32];
  EXPECT_EQ(m13, "Zadana macierz w OdwMac1 nie jest kwadratowa ");
  EXPECT_EQ(m33.back(), ' ');
  int trailing = 0, doubleBlank = 0;
  for (const char* m : linalg::BledyAlgelin4) {
    const std::string s = m;
    if (s.back() == ' ') ++trailing;
    if (s.find("  ") != std::string::npos) ++doubleBlank;
  }
  EXPECT_EQ(trailing, 2);
  EXPECT_EQ(doubleBlank, 12);

  std::vector<tk::MessageRequest> shown;
  auto old = tk::SetMessageHandler([&](const tk::MessageRequest& r) {
    shown.push_back(r);
    return tk::mrOk;
  });
  linalg::PokazBladAlgelin(14);
  tk::SetMessageHandler(old);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Błędy w module Algelin4");
  EXPECT_EQ(shown[0].text,
            "Warunek przerwania poszukiwania elementu głównego metody eliminacji Gaussa w procedurze OdwMac1");
  EXPECT_EQ(shown[0].icon, tk::MsgIcon::Error);
  EXPECT_EQ(shown[0].buttons, static_cast<unsigned>(tk::mbOK));
}
