#pragma once
// The two-layer conductor (a core inside a layer of another material): input
// grid, R', X' and Kn, radial plots, Kn(f) and the current-density map.
#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"

namespace ferrant {

class TPolePrzeWar;

class TForm4 : public tk::TForm {
 public:
  TForm4();
  ~TForm4() override;  // frees the field object

  // The rows of StringGrid1: inputs, then the results (column 1 holds both).
  // W is the core (inner), Z the outer layer.
  enum Wiersz : int {
    kPrad,            // RMS current [A]
    kCzestotliwosc,   // [Hz]
    kPrzenikalnoscW,  // relative permeabilities
    kPrzenikalnoscZ,
    kKonduktywnoscW,  // [MS/m]
    kKonduktywnoscZ,
    kPromienW,     // core radius r1 [mm]
    kPromienZ,     // outer radius r2 [mm]
    kRezystancja,  // R' [µΩ/m]
    kKn,           // skin coefficient
    kReaktancja,   // internal X' [µΩ/m]
    kWierszy
  };

  tk::TStringGrid* StringGrid1;
  tk::TImage* Image1;  // radial and Kn(f) plots
  tk::TImage* Image2;  // current-density map
  tk::TPanel* Panel1;
  tk::TBitBtn* BitBtn1;
  tk::TBitBtn* BitBtn2;
  tk::TBitBtn* BitBtn3;
  tk::TBitBtn* BitBtn4;

  void FormCreate(tk::TObject* Sender);
  void FormActivate(tk::TObject* Sender);
  void StringGrid1Exit(tk::TObject* Sender);
  void BitBtn1Click(tk::TObject* Sender);
  void BitBtn2Click(tk::TObject* Sender);
  void BitBtn3Click(tk::TObject* Sender);
  void BitBtn4Click(tk::TObject* Sender);
  void Image2Click(tk::TObject* Sender);

  void CzytajDane();
  void Odswiez();
};

extern TForm4* Form4;
extern TPolePrzeWar* PolePrzeWar;

}  // namespace ferrant
