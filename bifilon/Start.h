#pragma once
// Start-up: the program's one window.
namespace tk {
class TApplication;
}

namespace bifilon {

class TFormBifilon;

// Creates the cable window, the main window; its creation handler runs as it
// is created.  Returns it.
TFormBifilon* UtworzOkna(tk::TApplication& app);

}  // namespace bifilon
