#pragma once
// Start-up: the program's windows, created in their fixed order.
namespace tk {
class TApplication;
}

namespace ferrant {

class TForm0;

// Creates the seven windows: the title window first (the main window:
// closing it ends the program), then the selection window, the solid,
// tubular and two-layer conductor windows and the two chart windows.  Each
// window's creation handler runs as it is created.  Returns the main window.
TForm0* UtworzOkna(tk::TApplication& app);

}  // namespace ferrant
