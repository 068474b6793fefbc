#include "bifilon/Start.h"

#include "bifilon/UnitBifilon.h"
#include "toolkit/controls/Controls.h"

namespace bifilon {

TFormBifilon* UtworzOkna(tk::TApplication& app) {
  TFormBifilon* FormBifilon = nullptr;
  app.CreateForm(FormBifilon);
  return FormBifilon;
}

}  // namespace bifilon
