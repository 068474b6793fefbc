// Huge but legal inputs of the solid and the tubular conductor.  For each
// input in turn (the others at their defaults) a bisection on the power of
// ten finds the largest value whose results the window still writes; every
// value tried either gives results that agree with the skin-effect
// asymptote of a thick conductor (or, for the current, the default results),
// or ends with one error box holding a floating-point message, and never
// writes a wrong or a zero result into the grid.  The limits are printed.
#include <cmath>
#include <cstdio>

#include "ferrant/tests/ui_pomoc.h"
#include "numerics/Typy4.h"
#include "support/Harness.h"
#include "toolkit/core/Locale.h"

namespace reliability {
namespace {

using namespace ferrant;
using num::Extended;

constexpr Extended kPiL = 3.14159265358979323846264338327950288L;

// The inputs of a conductor in SI units.
struct Conductor {
  Extended I, f, mir, gamma, r1, r2;  // r1 = 0 for the solid conductor
};

// R' and X' [Ω/m] and Kn of a conductor whose radius and wall are many skin
// depths thick: the field near the outer surface is that of a plane wave
// bent round the surface, R' = Rdc·(x/2 + 1/4 + ...), X' = Rdc·(x/2 + ...),
// x = r2/δ, Rdc that of a solid wire of radius r2.  Good to about 1/x².
struct Asymptote {
  Extended R, X, Kn, x;  // x: the smaller of radius and wall in skin depths
};
Asymptote Thick(const Conductor& c) {
  const Extended mu = c.mir * 4e-7L * kPiL;
  const Extended delta = std::sqrt(2 / (2 * kPiL * c.f * mu * c.gamma));
  const Extended x = c.r2 / delta;
  const Extended Rdc2 = 1 / (kPiL * c.r2 * c.r2 * c.gamma);
  const Extended Rdc = 1 / (kPiL * (c.r2 * c.r2 - c.r1 * c.r1) * c.gamma);
  Asymptote a;
  a.R = Rdc2 * (x / 2 + 0.25L);
  a.X = Rdc2 * x / 2;
  a.Kn = a.R / Rdc;
  a.x = std::min(x, (c.r2 - c.r1) / delta);
  return a;
}

struct Quantity {
  std::string name;
  int row;         // the grid row
  Extended start;  // a value that computes
  Extended unit;   // grid unit to SI
  Extended Conductor::*field;
};

struct Probe {
  bool ok;
  std::string message;
};

class FerrantLimits : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    uitest::Aplikacja();
    Form2->Show();
    Form3->Show();
    tk::testing::ProcessEvents();
  }
  void SetUp() override { tk::SetDecimalSeparator(','); }
  void TearDown() override { tk::SetDecimalSeparator('\0'); }

  // One value in the row, the window's results computed through the show
  // handler; every check that the value allows.
  Probe Try(tk::TForm* form, tk::TStringGrid* grid, const std::vector<std::string>& defaults, const Conductor& base,
            const std::vector<int>& outputs, const Quantity& q, Extended value,
            const std::vector<std::string>& defaultResults) {
    SetColumn(grid, 1, defaults);
    char text[64];
    std::snprintf(text, sizeof text, "%.9Le", value);
    grid->SetCells(1, q.row, text);
    for (int r : outputs) grid->SetCells(1, r, "-");  // what a failure must leave alone
    Conductor c = base;
    c.*q.field = value * q.unit;
    const std::string where = form->Name + " " + q.name + " = " + text;
    const PressOutcome o = presser.Run({"show", [form] { form->OnShow(form); }}, where);
    Probe p{o.ok, o.boxes.empty() ? "" : o.boxes.back().text};
    if (!o.ok) {
      EXPECT_EQ(o.boxes.size(), 1u) << where;
      EXPECT_TRUE(RunTimeMessage(p.message)) << where << ": " << p.message;
    }
    // Every result written, also by a press that failed later, is right.
    const Extended Rt = num::StrToFloatZero(grid->Cells(1, outputs[0]));
    const Extended Xt = num::StrToFloatZero(grid->Cells(1, outputs[1]));
    const Extended Knt = num::StrToFloatZero(grid->Cells(1, outputs[2]));
    const bool written[3] = {grid->Cells(1, outputs[0]) != "-", grid->Cells(1, outputs[1]) != "-",
                             grid->Cells(1, outputs[2]) != "-"};
    if (o.ok) {
      EXPECT_TRUE(written[0] && written[1] && written[2]) << where;
    }
    if (q.name.rfind("I ", 0) == 0) {
      // The impedance does not depend on the current.
      for (int k = 0; k < 3; ++k) {
        if (written[k]) {
          EXPECT_EQ(grid->Cells(1, outputs[k]), defaultResults[k]) << where;
        }
      }
      return p;
    }
    const Asymptote a = Thick(c);
    if (a.x >= 20) {
      const Extended tol = 0.01L + 2 / a.x;
      auto near = [&](bool w, Extended shown, Extended expected, Extended lastDecimal, const char* what) {
        if (w) {
          EXPECT_LE(std::fabs(shown - expected), expected * tol + lastDecimal)
              << where << ": " << what << " shown " << static_cast<double>(shown) << ", expected about "
              << static_cast<double>(expected);
        }
      };
      near(written[0], Rt, a.R * 1e6L, 0.0051L, "R'");
      near(written[1], Xt, a.X * 1e6L, 0.0051L, "X'");
      near(written[2], Knt, a.Kn, 0.00051L, "Kn");
      // A resistance is never written as zero where it is not below the last decimal.
      if (written[0] && a.R * 1e6L >= 0.01L) {
        EXPECT_GT(Rt, 0) << where;
      }
      if (written[0]) ++compared;
    }
    tk::FpClear();
    return p;
  }

  // Each input of the window's conductor in turn: the current, the
  // frequency, the permeability, the conductivity and the (outer) radius,
  // from the values that compute (`starts`, in the grid's units) up.
  template <class Okno>
  void Limits(Okno* form, const std::vector<std::string>& defaults, const Conductor& base, const Extended (&starts)[5],
              std::pair<const char*, int> radius) {
    Limits(form, form->StringGrid1, defaults, base, {Okno::kRezystancja, Okno::kReaktancja, Okno::kKn},
           {{"I [A]", Okno::kPrad, starts[0], 1, &Conductor::I},
            {"f [Hz]", Okno::kCzestotliwosc, starts[1], 1, &Conductor::f},
            {"mi_r", Okno::kPrzenikalnosc, starts[2], 1, &Conductor::mir},
            {"gamma [MS/m]", Okno::kKonduktywnosc, starts[3], 1e6L, &Conductor::gamma},
            {radius.first, radius.second, starts[4], 1e-3L, &Conductor::r2}});
  }

  // The largest value of the quantity that still computes, by bisection on
  // its power of ten between the start and the end of the extended range.
  void Limits(tk::TForm* form, tk::TStringGrid* grid, const std::vector<std::string>& defaults, const Conductor& base,
              const std::vector<int>& outputs, const std::vector<Quantity>& quantities) {
    SetColumn(grid, 1, defaults);
    presser.Run({"show", [form] { form->OnShow(form); }}, "defaults");
    const std::vector<std::string> defaultResults = {grid->Cells(1, outputs[0]), grid->Cells(1, outputs[1]),
                                                     grid->Cells(1, outputs[2])};
    for (const Quantity& q : quantities) {
      Extended lo = std::log10(q.start), hi = 4932.0L;
      ASSERT_TRUE(Try(form, grid, defaults, base, outputs, q, q.start, defaultResults).ok) << q.name;
      std::string beyond;
      const Probe top = Try(form, grid, defaults, base, outputs, q, std::pow(10.0L, hi - 0.1L), defaultResults);
      ASSERT_FALSE(top.ok) << q.name;
      beyond = top.message;
      while (hi - lo > 1e-6L) {
        const Extended mid = (lo + hi) / 2;
        const Probe p = Try(form, grid, defaults, base, outputs, q, std::pow(10.0L, mid), defaultResults);
        if (p.ok) {
          lo = mid;
        } else {
          hi = mid;
          beyond = p.message;
        }
      }
      // Below the limit everything computes, down to the start.
      for (Extended e = lo; e > std::log10(q.start); e -= 0.37L)
        EXPECT_TRUE(Try(form, grid, defaults, base, outputs, q, std::pow(10.0L, e), defaultResults).ok)
            << form->Name << " " << q.name << " = 1e" << static_cast<double>(e) << " below the limit";
      std::printf(
          "[reliability] %s: largest %s that computes %.4Lg (others at defaults); beyond: \"%s\"; "
          "%d results compared with the asymptote\n",
          form->Name.c_str(), q.name.c_str(), std::pow(10.0L, lo), beyond.c_str(), compared);
      compared = 0;
      if (HasFailure()) return;
    }
  }

  static bool FerrantBox(const tk::MessageRequest& m) { return m.caption == "Ferrant" && RunTimeMessage(m.text); }
  Presser presser{"Ferrant", FerrantBox};
  int compared = 0;
};

TEST_F(FerrantLimits, SolidConductor) {
  Limits(Form2, {"1000", "50", " 1.0 ", "55,0", "50", "", "", ""}, {1000, 50, 1, 55e6L, 0, 0.05L},
         {1000, 50, 1, 55, 50}, {"R [mm]", TForm2::kPromien});
}

TEST_F(FerrantLimits, TubularConductor) {
  Limits(Form3, {"63000", "50", " 1.0 ", "56,0  ", "980,0", "1000,0", "", "", "3,2", "", ""},
         {63000, 50, 1, 56e6L, 0.98L, 1.0L}, {63000, 50, 1, 56, 1000}, {"r2 [mm]", TForm3::kPromienZ});
}

}  // namespace
}  // namespace reliability
