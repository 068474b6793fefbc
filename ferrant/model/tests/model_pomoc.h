#pragma once
// Test helpers of the field-model tests: a recorder of message boxes, a run
// through the event dispatch that returns the message the user would see,
// and relative errors.  No Qt: the build without the GUI uses them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "numerics/AlgeZes4.h"
#include "numerics/Stale4.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"

namespace ferrant::test {

using num::Extended;
using num::TZespol;

using num::kMi0;
using num::kPi;

// Every message box recorded.
class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
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

  // The same for an Oblicz and then `potem`.
  template <class Pole>
  std::string PoObliczeniu(Pole& p, const std::function<void()>& potem) {
    return Akcja([&] {
      p.Oblicz();
      potem();
    });
  }

  // The run-time messages of the faults that bad inputs give.
  const std::string kDziel = "Floating point division by zero";
  const std::string kNieprawidlowa = "Invalid floating point operation";

  // One input of the model at 0: the message Oblicz ends with; the input
  // back afterwards.
  template <class Pole, class Model>
  void Zerem(Pole& p, Extended Model::*wejscie, const char* nazwa, const std::string& blad) {
    SCOPED_TRACE(nazwa);
    const Extended v = p.*wejscie;
    p.*wejscie = 0;
    EXPECT_EQ(Akcja([&] { p.Oblicz(); }), blad);
    p.*wejscie = v;
  }

  std::vector<tk::MessageRequest> komunikaty;
  tk::MessageHandler poprzedni;
};

inline Extended Wzgl(Extended a, Extended b) { return std::fabs(a - b) / std::fabs(b); }
inline Extended WzglZ(const TZespol& a, const TZespol& b) {
  return std::hypot(a.re - b.re, a.im - b.im) / std::hypot(b.re, b.im);
}
inline bool Rowne(const TZespol& a, const TZespol& b) { return a.re == b.re && a.im == b.im; }

}  // namespace ferrant::test
