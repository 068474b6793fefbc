#include "ferrant/UnitTyt.h"

#include <ctime>

#include "ferrant/Unit1.h"
#include "resources/Layouts.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/pictures/Jpeg.h"

namespace ferrant {

TForm0* Form0 = nullptr;

TForm0::TForm0() {
  Name = "Form0";
  SetBounds(192, 116, 538, 462);
  SetCaption("Analiza pola elektromagnetycznego w współrzędnych  walcowych");

  StatusBar1 = new tk::TStatusBar(this);
  StatusBar1->Name = "StatusBar1";
  for (int i = 0; i < 3; ++i) StatusBar1->AddPanel(60);

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetAlign(tk::alClient);
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (res::FindTitlePicture(data, size)) Image1->SetPicture(tk::DecodeJpeg(data, size));
  Image1->OnClick = [this](tk::TObject* s) { Image1Click(s); };

  Timer1 = new tk::TTimer(this);
  Timer1->SetInterval(1000);
  Timer1->OnTimer = [this](tk::TObject* s) { Timer1Timer(s); };
  Timer1->SetEnabled(true);

  OnClose = [this](tk::TObject* s, tk::TCloseAction& a) { FormClose(s, a); };
}

void TForm0::Image1Click(tk::TObject*) { Form1->ShowForm(); }

// Only a Yes lets the main window close, and with it the program.
void TForm0::FormClose(tk::TObject*, tk::TCloseAction& Action) {
  if (tk::ConfirmYesNo("Czy zamknąć aplikację") != tk::mrYes) Action = tk::caNone;
}

void TForm0::Timer1Timer(tk::TObject*) {
  const long long now = static_cast<long long>(std::time(nullptr));
  StatusBar1->SetPanelText(0, tk::ShortDateText(now));
  StatusBar1->SetPanelText(1, tk::LongTimeText(now));
}

}  // namespace ferrant
