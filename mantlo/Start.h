#pragma once
// Start-up: the program's windows, created in their fixed order.
namespace tk {
class TApplication;
}

namespace mantlo {

class TForm1;

// Creates the main window, then the chart window (created, never shown).
// Each window's creation handler runs as it is created.  Returns the main
// window.
TForm1* UtworzOkna(tk::TApplication& app);

}  // namespace mantlo
