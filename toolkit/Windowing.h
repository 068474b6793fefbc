#pragma once
// The Qt application object behind every window, canvas and box of the
// toolkit: made on first need, with the platform's look (Fusion style, the
// system colours, the default font).
namespace tk {

// Initialises Qt for code that makes windows without an application object
// (tests); safe to call more than once.
void EnsureWindowing();

}  // namespace tk
