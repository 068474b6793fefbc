#pragma once
// Helpers of Ferrant's window tests and its reliability tests: the program's
// windows created once per test program as start-up creates them, clicks on
// grid cells, and the texts of a grid column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ferrant/Start.h"
#include "ferrant/Unit1.h"
#include "ferrant/UnitChart.h"
#include "ferrant/UnitChart2.h"
#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitTyt.h"
#include "ferrant/UnitWalec.h"
#include "tests/reliability/support/Harness.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Locale.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"

namespace ferrant::uitest {

// The application and its seven windows, made once per test program as
// start-up makes them and kept until the process ends.
inline tk::TApplication& Aplikacja() {
  static tk::TApplication* app = [] {
    auto* a = new tk::TApplication("Ferrant");
    UtworzOkna(*a);
    return a;
  }();
  return *app;
}

// The centre of a cell, scrolled into view first.
inline tk::TPoint SrodekKomorki(tk::TStringGrid* g, int col, int row) {
  tk::TRect r = g->CellRect(col, row);
  if (row >= g->FixedRows() && (r.Height() <= 0 || r.Bottom > g->ClientHeight())) g->SetTopRow(row);
  if (col >= g->FixedCols() && (r.Width() <= 0 || r.Right > g->ClientWidth())) g->SetLeftCol(col);
  r = g->CellRect(col, row);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// A press and release of the left button over a cell.
inline void KliknijKomorke(tk::TStringGrid* g, int col, int row) {
  const tk::TPoint p = SrodekKomorki(g, col, row);
  tk::testing::MouseClick(g, p.X, p.Y);
}

// Hides a window as closing does.  The title window takes the activation, so
// that the next showing activates the window again (the offscreen platform
// keeps a hidden window as the active one otherwise).
inline void Schowaj(tk::TForm* form) {
  form->Hide();
  tk::testing::ActivateWindow(Form0);
}

// The texts of a grid column, and putting them back.
using reliability::Column;
using reliability::SetColumn;

// A test in a given decimal separator; the user's locale again afterwards.
class Separator {
 public:
  explicit Separator(char s) { tk::SetDecimalSeparator(s); }
  ~Separator() { tk::SetDecimalSeparator('\0'); }
};

// "6,65" in a comma locale, "6.65" in a point locale.
inline std::string Liczba(std::string text) {
  for (char& ch : text)
    if (ch == ',' || ch == '.') ch = tk::DecimalSeparator();
  return text;
}

class OknaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Aplikacja(); }
  void TearDown() override { tk::SetDecimalSeparator('\0'); }
};

// A test that may show the tube's chart windows: hidden again afterwards.
class WykresyRuryTest : public OknaTest {
 protected:
  void TearDown() override {
    FormWykChart->Hide();
    FormWykChart2->Hide();
    OknaTest::TearDown();
  }
};

}  // namespace ferrant::uitest
