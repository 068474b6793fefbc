#pragma once
// The solid round conductor: input grid, R', X' and Kn, radial plots, Kn(f)
// and the current-density map.
#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"

namespace ferrant {

class TPoleWalca;

class TForm2 : public tk::TForm {
 public:
  TForm2();
  ~TForm2() override;  // frees the field object

  // The rows of StringGrid1: inputs, then the results (column 1 holds both).
  enum Wiersz : int {
    kPrad,           // RMS current [A]
    kCzestotliwosc,  // [Hz]
    kPrzenikalnosc,  // relative permeability
    kKonduktywnosc,  // [MS/m]
    kPromien,        // [mm]
    kRezystancja,    // R' [µΩ/m]
    kKn,             // skin coefficient
    kReaktancja,     // X' [µΩ/m]
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
  void FormShow(tk::TObject* Sender);
  void FormActivate(tk::TObject* Sender);
  void BitBtn1Click(tk::TObject* Sender);
  void BitBtn2Click(tk::TObject* Sender);
  void BitBtn3Click(tk::TObject* Sender);
  void BitBtn4Click(tk::TObject* Sender);
  void Image2Click(tk::TObject* Sender);

  void CzytajDane();
  void Odswiez();
  void CzyscObraz();
};

extern TForm2* Form2;
extern TPoleWalca* PoleWalca;

}  // namespace ferrant
