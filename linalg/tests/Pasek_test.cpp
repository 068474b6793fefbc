// The inversion steps a progress bar when one is given.
#include <gtest/gtest.h>

#include <memory>

#include "linalg/Algelin4.h"
#include "toolkit/controls/Controls.h"

using linalg::OdwMac1;
using linalg::TMacierzF;

namespace {

struct Okno : ::testing::Test {
  void SetUp() override {
    tk::EnsureWindowing();
    form = std::make_unique<tk::TForm>();
    pasek = new tk::TProgressBar(form.get());
    pasek->Min = 7;
    pasek->Max = 8;
    pasek->Position = 9;
  }
  std::unique_ptr<tk::TForm> form;
  tk::TProgressBar* pasek = nullptr;
};

}  // namespace

TEST_F(Okno, NonSquareLeavesTheBarAlone) {
  TMacierzF a(1, 2, 3);
  EXPECT_EQ(OdwMac1(a, pasek, 1e-20L), 13);
  EXPECT_EQ(pasek->Min, 7);
  EXPECT_EQ(pasek->Max, 8);
  EXPECT_EQ(pasek->Position, 9);
}

TEST_F(Okno, BarShowsTheStep) {
  TMacierzF a(1, 3, 3);
  for (int i = 1; i <= 3; ++i) a.FDane[i][i] = i;
  EXPECT_EQ(OdwMac1(a, pasek, 1e-20L), 0);
  EXPECT_EQ(pasek->Min, 0);
  EXPECT_EQ(pasek->Max, 3);
  EXPECT_EQ(pasek->Position, 3);  // not reset at the end

  // Singular at step 2: the bar stops there.
  TMacierzF b(1, 3, 3);
  b.FDane[1][1] = 1;
  b.FDane[3][3] = 1;
  EXPECT_EQ(OdwMac1(b, pasek, 1e-20L), 14);
  EXPECT_EQ(pasek->Position, 2);
}
