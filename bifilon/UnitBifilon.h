#pragma once
// The screened two-core cable: its window (the line-charge model in
// bifilon/model/ModelKabla.h).
#include <memory>
#include <string>

#include "bifilon/model/ModelKabla.h"
#include "linalg/Macierze4F.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"

namespace grid {
class TAlignedGrid;
}

namespace bifilon {

using num::Extended;

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

  // Reads rows 0..6 of TabelaDanych into the model and derives c, s, e.
  void CzytajDaneKabla();

  TModelKabla Model;  // the cable as last read and computed

 private:
  void WykresPowierzchni(bool natezenie);
};

}  // namespace bifilon
