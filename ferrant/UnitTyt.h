#pragma once
// The title window: the program's main window with its picture and clock.
// Closing it (after a Yes) ends the program.
#include "toolkit/controls/Controls.h"

namespace ferrant {

class TForm0 : public tk::TForm {
 public:
  TForm0();

  tk::TImage* Image1;
  tk::TStatusBar* StatusBar1;
  tk::TTimer* Timer1;

  void Image1Click(tk::TObject* Sender);
  void FormClose(tk::TObject* Sender, tk::TCloseAction& Action);
  void Timer1Timer(tk::TObject* Sender);
};

extern TForm0* Form0;

}  // namespace ferrant
