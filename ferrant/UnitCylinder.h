#pragma once
// The tubular conductor: input grid, R', X', Kn and the power loss, radial
// plots, Kn(f), the current-density map, the loss and profile charts and a
// JPEG picture of the window.
#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"

namespace ferrant {

class TPoleCylindra;

class TForm3 : public tk::TForm {
 public:
  TForm3();
  ~TForm3() override;  // frees the field object

  // The rows of StringGrid1: inputs, then the results (column 1 holds both).
  enum Wiersz : int {
    kPrad,           // RMS current [A]
    kCzestotliwosc,  // [Hz]
    kPrzenikalnosc,  // relative permeability
    kKonduktywnosc,  // [MS/m]
    kPromienW,       // inner radius r1 [mm]
    kPromienZ,       // outer radius r2 [mm]
    kRezystancja,    // R' [µΩ/m]
    kKn,             // skin coefficient
    kDlugosc,        // conductor length L [m], an input
    kMoc,            // active power loss I²·R'·L [W]
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
  tk::TBitBtn* BitBtn5;
  tk::TBitBtn* BitBtn8;
  tk::TBitBtn* BitBtn6;
  tk::TBitBtn* BitBtn7;
  tk::TSavePictureDialog* SavePictureDialog1;
  tk::TOpenPictureDialog* OpenPictureDialog1;

  void FormCreate(tk::TObject* Sender);
  void FormShow(tk::TObject* Sender);
  void FormActivate(tk::TObject* Sender);
  void FormDblClick(tk::TObject* Sender);
  void StringGrid1Exit(tk::TObject* Sender);
  void BitBtn1Click(tk::TObject* Sender);
  void BitBtn2Click(tk::TObject* Sender);
  void BitBtn3Click(tk::TObject* Sender);
  void BitBtn4Click(tk::TObject* Sender);
  void BitBtn5Click(tk::TObject* Sender);
  void BitBtn6Click(tk::TObject* Sender);
  void BitBtn7Click(tk::TObject* Sender);
  void BitBtn8Click(tk::TObject* Sender);
  void Image2Click(tk::TObject* Sender);

  void CzytajDane();
  void Odswiez();
};

extern TForm3* Form3;
extern TPoleCylindra* PoleCylindra;

}  // namespace ferrant
