#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "toolkit/core/Convert.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"

namespace {

// The operands are volatile: the compiler can neither fold the operation
// nor drop it, and the result is stored before the check.
volatile long double jeden = 1.0L, zero = 0.0L, minusJeden = -1.0L, duza = 1e4000L, mala = 1e-4000L;
volatile long double wynik;

class Core : public ::testing::Test {
 protected:
  void SetUp() override { tk::FpClear(); }
  void TearDown() override {
    tk::FpClear();
    tk::SetDecimalSeparator('\0');
  }
};

std::string Komunikat() {
  try {
    tk::FpCheck();
  } catch (const tk::EMathError& e) {
    return e.Message();
  }
  return "";
}

TEST_F(Core, FaultMessages) {
  wynik = jeden / zero;
  EXPECT_TRUE(tk::FpFaultPending());
  EXPECT_EQ("Floating point division by zero", Komunikat());
  EXPECT_FALSE(tk::FpFaultPending()) << "the check clears the flags";

  wynik = zero / zero;
  EXPECT_EQ("Invalid floating point operation", Komunikat());
  wynik = std::sqrt(minusJeden);
  EXPECT_EQ("Invalid floating point operation", Komunikat());
  wynik = duza * duza;
  EXPECT_EQ("Floating point overflow", Komunikat());
  // Double precision goes through the SSE flags, which count the same.
  volatile double d1 = 1.0, d0 = 0.0;
  volatile double dw = d1 / d0;
  (void)dw;
  EXPECT_EQ("Floating point division by zero", Komunikat());
}

TEST_F(Core, ExceptionTypes) {
  wynik = jeden / zero;
  EXPECT_THROW(tk::FpCheck(), tk::EZeroDivide);
  wynik = duza * duza;
  EXPECT_THROW(tk::FpCheck(), tk::EOverflow);
  wynik = zero / zero;
  EXPECT_THROW(tk::FpCheck(), tk::EInvalidOp);
}

// A division by zero or an overflow is the first fault of a chain that
// ends in an invalid operation; it is the one reported.
TEST_F(Core, Precedence) {
  wynik = duza * duza;    // overflow: inf
  wynik = wynik - wynik;  // inf - inf: invalid
  EXPECT_EQ("Floating point overflow", Komunikat());
  wynik = jeden / zero;
  wynik = duza * duza;
  wynik = zero / zero;
  EXPECT_EQ("Floating point division by zero", Komunikat());
}

TEST_F(Core, UnderflowAndInexactPass) {
  wynik = mala * mala;
  EXPECT_EQ(0.0L, wynik);
  wynik = jeden / 3.0L;
  EXPECT_FALSE(tk::FpFaultPending());
  EXPECT_NO_THROW(tk::FpCheck());
}

TEST_F(Core, ClearDropsPendingFaults) {
  wynik = jeden / zero;
  tk::FpClear();
  EXPECT_FALSE(tk::FpFaultPending());
  EXPECT_NO_THROW(tk::FpCheck());
}

// A shield keeps the flags of the surrounding computation out of reach of
// what runs inside it and puts them back afterwards; what is raised inside
// stays inside.
TEST_F(Core, ShieldsNest) {
  wynik = jeden / zero;
  {
    tk::FpShield zewnetrzna;
    EXPECT_FALSE(tk::FpFaultPending());
    wynik = duza * duza;
    {
      tk::FpShield wewnetrzna;
      EXPECT_FALSE(tk::FpFaultPending());
      wynik = zero / zero;
      EXPECT_EQ("Invalid floating point operation", Komunikat());
      wynik = zero / zero;
    }
    EXPECT_EQ("Floating point overflow", Komunikat()) << "the middle level gets its own overflow back";
    wynik = duza * duza;
  }
  EXPECT_EQ("Floating point division by zero", Komunikat());
  EXPECT_FALSE(tk::FpFaultPending()) << "the overflow raised inside did not leak out";
}

struct Rejestrator {
  std::vector<tk::MessageRequest> pokazane;
  tk::MessageHandler stary;
  Rejestrator() {
    stary = tk::SetMessageHandler([this](const tk::MessageRequest& r) {
      pokazane.push_back(r);
      return int(tk::mrOk);
    });
  }
  ~Rejestrator() { tk::SetMessageHandler(stary); }
};

// An error in a handler: what it wrote before the failing step stays, the
// error is shown once in the default box, and the next handler runs.
TEST_F(Core, DispatchShowsAnErrorOnceAndGoesOn) {
  Rejestrator r;
  tk::SetApplicationTitle("Ferrant");
  std::vector<std::string> zapisane;
  const bool ok = tk::Dispatch([&] {
    zapisane.push_back("R'");
    wynik = jeden / zero;
    tk::FpCheck();
    zapisane.push_back("X'");
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(std::vector<std::string>{"R'"}, zapisane);
  ASSERT_EQ(1u, r.pokazane.size());
  EXPECT_EQ("Ferrant", r.pokazane[0].caption);
  EXPECT_EQ("Floating point division by zero", r.pokazane[0].text);
  EXPECT_EQ(tk::MsgIcon::Error, r.pokazane[0].icon);
  EXPECT_EQ(unsigned(tk::mbOK), r.pokazane[0].buttons);
  EXPECT_FALSE(tk::FpFaultPending());

  // A fault the handler never checked is caught by the check at its end.
  EXPECT_FALSE(tk::Dispatch([&] {
    zapisane.push_back("Kn");
    wynik = duza * duza;
  }));
  EXPECT_EQ(2u, zapisane.size());
  ASSERT_EQ(2u, r.pokazane.size());
  EXPECT_EQ("Floating point overflow", r.pokazane[1].text);

  // Any other error, and then a handler that succeeds.
  EXPECT_FALSE(tk::Dispatch([] { throw tk::EConvertError("'x' is not a valid integer value"); }));
  EXPECT_EQ("'x' is not a valid integer value", r.pokazane.back().text);
  EXPECT_TRUE(tk::Dispatch([&] { zapisane.push_back("ok"); }));
  EXPECT_EQ(3u, r.pokazane.size());
  EXPECT_EQ("ok", zapisane.back());
  tk::SetApplicationTitle("");
}

// A handler starts with clean flags; the flags of an outer handler (a nested
// message loop) are kept and put back.
TEST_F(Core, DispatchKeepsOuterFlags) {
  Rejestrator r;
  wynik = jeden / zero;
  EXPECT_TRUE(tk::Dispatch([] { EXPECT_FALSE(tk::FpFaultPending()); }));
  EXPECT_TRUE(r.pokazane.empty());
  EXPECT_EQ("Floating point division by zero", Komunikat());
}

// A modal box runs a nested loop: the flags of the computation that asked
// for it survive it.
TEST_F(Core, MessageBoxKeepsFlags) {
  Rejestrator r;
  wynik = duza * duza;
  tk::ShowErrorBox("Tytuł", "Tekst");
  ASSERT_EQ(1u, r.pokazane.size());
  EXPECT_EQ("Tytuł", r.pokazane[0].caption);
  EXPECT_EQ("Floating point overflow", Komunikat());
}

TEST_F(Core, StrictIntegerConversion) {
  try {
    tk::StrToInt("abc");
    ADD_FAILURE() << "no error";
  } catch (const tk::EConvertError& e) {
    EXPECT_EQ("'abc' is not a valid integer value", e.Message());
  }
  EXPECT_THROW(tk::StrToInt("42 "), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt(""), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt(" "), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt("4 2"), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt("1.0"), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt("2147483648"), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt("-"), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt("$"), tk::EConvertError);
  EXPECT_THROW(tk::StrToInt("$1G"), tk::EConvertError);
  EXPECT_EQ(42, tk::StrToInt(" 42"));
  EXPECT_EQ(-7, tk::StrToInt("-7"));
  EXPECT_EQ(7, tk::StrToInt("+7"));
  EXPECT_EQ(2147483647, tk::StrToInt("2147483647"));
  EXPECT_EQ(-2147483647 - 1, tk::StrToInt("-2147483648"));
  EXPECT_EQ(31, tk::StrToInt("$1F"));
  EXPECT_EQ(31, tk::StrToInt("0x1f"));
  EXPECT_EQ(31, tk::StrToInt("x1F"));
  EXPECT_EQ(-1, tk::StrToInt("$FFFFFFFF"));
  int32_t v = 5;
  EXPECT_FALSE(tk::TryStrToInt("abc", v));
  EXPECT_EQ(5, v) << "a failed conversion leaves the value";
  EXPECT_TRUE(tk::TryStrToInt("12", v));
  EXPECT_EQ(12, v);
}

TEST_F(Core, DecimalSeparatorOverride) {
  const char zLocale = tk::DecimalSeparator();
  EXPECT_TRUE(zLocale == '.' || zLocale == ',');
  tk::SetDecimalSeparator(',');
  EXPECT_EQ(',', tk::DecimalSeparator());
  tk::SetDecimalSeparator('.');
  EXPECT_EQ('.', tk::DecimalSeparator());
  tk::SetDecimalSeparator('\0');
  EXPECT_EQ(zLocale, tk::DecimalSeparator());
}

}  // namespace
