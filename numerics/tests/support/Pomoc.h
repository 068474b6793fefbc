#pragma once
// Helpers of the numerical library's tests.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "numerics/AlgeZes4.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"

namespace testy {

// Every test starts with clean fault flags and leaves none behind.
class CzysteFlagi : public ::testing::Test {
 protected:
  void SetUp() override { tk::FpClear(); }
  void TearDown() override {
    EXPECT_FALSE(tk::FpFaultPending()) << "a fault flag was left pending";
    tk::FpClear();
    tk::SetDecimalSeparator('\0');
  }
};

// Both locales for the text tests.
class OboSeparatory : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    tk::FpClear();
    tk::SetDecimalSeparator(GetParam());
  }
  void TearDown() override {
    tk::SetDecimalSeparator('\0');
    tk::FpClear();
  }
  char Sep() const { return GetParam(); }
  // The text with "." standing for the locale separator.
  std::string L(std::string s) const {
    for (char& c : s)
      if (c == '.') c = Sep();
    return s;
  }
};

inline bool Rowne(const num::TZespol& a, const num::TZespol& b) { return a.re == b.re && a.im == b.im; }

inline long double Modul(const num::TZespol& a) { return hypotl(a.re, a.im); }

// Raises the fault flag of an operation on volatile operands, which the
// compiler can neither fold nor drop.
void WywolajPrzepelnienie();
void WywolajDzieleniePrzezZero();

}  // namespace testy

// The exception type and its message.
#define EXPECT_BLAD(stmt, Typ, tekst)                              \
  do {                                                             \
    try {                                                          \
      stmt;                                                        \
      ADD_FAILURE() << "no error from " #stmt;                     \
    } catch (const Typ& e) {                                       \
      EXPECT_EQ(std::string(tekst), e.Message());                  \
    } catch (const std::exception& e) {                            \
      ADD_FAILURE() << "wrong error from " #stmt ": " << e.what(); \
    }                                                              \
    EXPECT_FALSE(tk::FpFaultPending());                            \
  } while (0)

#define EXPECT_DZIELENIE(stmt) EXPECT_BLAD(stmt, tk::EZeroDivide, "Floating point division by zero")
#define EXPECT_NIEDOZWOLONA(stmt) EXPECT_BLAD(stmt, tk::EInvalidOp, "Invalid floating point operation")
#define EXPECT_PRZEPELNIENIE(stmt) EXPECT_BLAD(stmt, tk::EOverflow, "Floating point overflow")
