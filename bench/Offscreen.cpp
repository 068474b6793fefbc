// Benchmarks draw their windows off screen: no display is needed, and a
// desktop program's refusal to start without one does not apply to them.
// Linked into every benchmark; set before main, so before Qt starts.
#include <cstdlib>

namespace {

const bool kOffscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

}  // namespace
