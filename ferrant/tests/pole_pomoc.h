#pragma once
// Test helpers of the field-model tests: a window with a plot picture, a
// recorder of message boxes, and a run through the event dispatch that
// returns the message the user would see.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "numerics/AlgeZes4.h"
#include "numerics/Stale4.h"
#include "toolkit/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"

namespace ferrant::test {

using num::Extended;
using num::TZespol;

using num::kMi0;
using num::kPi;

// A window with a 500 × 400 plot picture, and every message box recorded.
class PoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::EnsureWindowing();
    forma = std::make_unique<tk::TForm>();
    obraz = new tk::TImage(forma.get());
    obraz->SetBounds(0, 0, 500, 400);
    poprzedni = tk::SetMessageHandler([this](const tk::MessageRequest& r) {
      komunikaty.push_back(r);
      return static_cast<int>(tk::mrOk);
    });
    tk::FpClear();
  }
  void TearDown() override {
    tk::SetMessageHandler(poprzedni);
    tk::SetDecimalSeparator('\0');
    tk::FpClear();
  }

  // Runs an action as a button handler does; returns the text of the error
  // box it ended with, or "" when it finished.
  std::string Akcja(const std::function<void()>& akcja) {
    const size_t przed = komunikaty.size();
    tk::SetApplicationTitle("Ferrant");
    if (tk::Dispatch(akcja)) return "";
    EXPECT_EQ(komunikaty.size(), przed + 1);
    EXPECT_EQ(komunikaty.back().caption, "Ferrant");
    return komunikaty.back().text;
  }

  // The run-time messages of the faults that bad inputs give.
  const std::string kDziel = "Floating point division by zero";
  const std::string kNieprawidlowa = "Invalid floating point operation";

  // One input of the model at 0: the message Oblicz ends with; the input
  // back afterwards.
  template <class Pole>
  void Zerem(Pole& p, Extended Pole::*wejscie, const char* nazwa, const std::string& blad) {
    SCOPED_TRACE(nazwa);
    const Extended v = p.*wejscie;
    p.*wejscie = 0;
    EXPECT_EQ(Akcja([&] { p.Oblicz(); }), blad);
    p.*wejscie = v;
  }

  std::unique_ptr<tk::TForm> forma;
  tk::TImage* obraz = nullptr;
  std::vector<tk::MessageRequest> komunikaty;
  tk::MessageHandler poprzedni;
};

inline Extended Wzgl(Extended a, Extended b) { return std::fabs(a - b) / std::fabs(b); }
inline Extended WzglZ(const TZespol& a, const TZespol& b) {
  return std::hypot(a.re - b.re, a.im - b.im) / std::hypot(b.re, b.im);
}
inline bool Rowne(const TZespol& a, const TZespol& b) { return a.re == b.re && a.im == b.im; }

}  // namespace ferrant::test
