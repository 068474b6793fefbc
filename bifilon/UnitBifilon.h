#pragma once
// The screened two-core cable: its window and its line-charge model.
//
// The screen is a grounded circle of radius R about the origin; the two cores
// of radius r0 sit at (-d, 0) and (+d, 0).  Each core is replaced by one line
// charge inside it and an image charge outside the screen, the pair placed so
// that the screen circle is an equipotential of it.  The charges are fixed by
// the core potentials at the points (-(d + r0), 0) and (d + r0, 0).
#include <memory>
#include <string>

#include "linalg/Macierze4F.h"
#include "toolkit/Controls.h"
#include "toolkit/chart/Chart.h"

namespace grid {
class TAlignedGrid;
}

namespace bifilon {

using num::Extended;

// ---- Unit state: the last inputs read and what the model made of them.
extern Extended R, r0, d, er, L, V1, V2;  // m, m, m, -, m, V, V
extern Extended c, s, e;                  // line-charge geometry, m
// Line charges divided by 2π·ε0·εr, in volts; 0 until the first inversion.
extern Extended q1, q2;
// The 2×2 potential coefficients, inverted in place by ObliczLadunki.
extern std::unique_ptr<linalg::TMacierzF> P;

// c, s and e from R, r0 and d (the reading step of CzytajDaneKabla without the grid).
void WyznaczGeometrie();
// Fills P, inverts it and sets q1, q2; on an inversion failure shows the
// module's message and keeps the previous charges.
void ObliczLadunki();
// Potential at (x, y) [m], in V; the screen is at 0.
Extended Potencjal(Extended x, Extended y);
// Field -grad V at (x, y) [m]: components and modulus in V/m.
void Natezenie(Extended x, Extended y, Extended& Ex, Extended& Ey, Extended& E);

class TFormBifilon : public tk::TForm {
 public:
  TFormBifilon();
  ~TFormBifilon() override;

  tk::TGroupBox* GroupBox1;
  tk::TGroupBox* GroupBox2;
  tk::TGroupBox* GroupBox3;
  grid::TAlignedGrid* TabelaDanych;
  grid::TAlignedGrid* TabelaPojemnosci;
  tk::TBitBtn* BitBtn1;
  tk::TBitBtn* BitBtn2;
  tk::TBitBtn* BitBtn3;
  tk::TChart* Chart1;
  tk::TChartSeries* Series1;
  tk::TChartSeries* Series2;
  tk::TChartSeries* Series3;

  void FormCreate(tk::TObject* Sender);
  void FormClose(tk::TObject* Sender, tk::TCloseAction& Action);
  void BitBtn1Click(tk::TObject* Sender);
  void BitBtn2Click(tk::TObject* Sender);
  void BitBtn3Click(tk::TObject* Sender);

  // Reads rows 0..6 of TabelaDanych into the unit state and derives c, s, e.
  void CzytajDaneKabla();

 private:
  void WykresPowierzchni(bool natezenie);
};

}  // namespace bifilon
