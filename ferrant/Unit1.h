#pragma once
// The selection window: the three conductor kinds, and the tables of
// materials, standard cross-sections and tubes whose picks fill the inputs of
// the solid- and tubular-conductor windows.
#include "grid/AlignedGrid.h"
#include "numerics/AlgeZes4.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"

namespace ferrant {

class TForm1 : public tk::TForm {
 public:
  TForm1();

  tk::TPanel* Panel2;
  tk::TPanel* Panel1;
  tk::TBitBtn* BitBtn1;
  tk::TBitBtn* BitBtn2;
  tk::TBitBtn* BitBtn3;
  tk::TImage* Image1;
  tk::TImage* Image2;
  tk::TImage* Image3;
  tk::TPanel* Panel4;
  tk::TStringGrid* StringGrid1;  // materials
  tk::TPanel* Panel3;
  tk::TStringGrid* StringGrid2;  // standard cross-sections
  tk::TPanel* Panel5;
  grid::TAlignedGrid* AlignedGrid1;  // never shown
  grid::TAlignedGrid* AlignedGrid2;  // tubes
  tk::TLabel* Label1;
  tk::TLabel* Label2;
  tk::TLabel* Label3;

  void FormCreate(tk::TObject* Sender);
  void FormActivate(tk::TObject* Sender);
  void BitBtn1Click(tk::TObject* Sender);
  void BitBtn2Click(tk::TObject* Sender);
  void BitBtn3Click(tk::TObject* Sender);
  void Image1Click(tk::TObject* Sender);
  void Image2Click(tk::TObject* Sender);
  void Image3Click(tk::TObject* Sender);
  void StringGrid1MouseUp(tk::TObject* Sender, tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y);
  void StringGrid2MouseUp(tk::TObject* Sender, tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y);
  void AlignedGrid2MouseDown(tk::TObject* Sender, tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y);
};

extern TForm1* Form1;

// The values of the last picks (mm, MS/m, A).
extern num::Extended Gamma, Promien, PromienZ, PromienW, Prad;

}  // namespace ferrant
