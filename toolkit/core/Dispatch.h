#pragma once
// The event dispatch: every handler of the programs runs through Dispatch.
// An error that leaves the handler is shown in the default error box and the
// program goes on; what the handler wrote before the failing step stays.
#include <functional>

namespace tk {

// Runs the handler with clean floating-point fault flags (the flags of an
// outer handler, when this one runs in a nested loop, are kept aside and put
// back), checks the flags once more when it returns, and reports any error.
// Returns true when the handler finished without an error.
bool Dispatch(const std::function<void()>& handler);

}  // namespace tk
