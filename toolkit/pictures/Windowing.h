#pragma once
// The Qt application object behind every window, canvas and box of the
// toolkit: made on first need, with the platform's look (Fusion style, the
// system colours, the default font).
namespace tk {

// Initialises Qt for code that makes windows without an application object
// (tests); safe to call more than once.  Without a display (and no platform
// chosen in QT_QPA_PLATFORM) it prints how to run the program and exits
// with status 1.
void EnsureWindowing();

}  // namespace tk
