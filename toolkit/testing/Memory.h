#pragma once
// The test program's own memory, as the kernel counts it.

namespace tk::testing {

// The most memory the program has held since ResetPeakMemory (or since it
// started), in KiB; -1 when the kernel does not say.
long PeakMemoryKiB();
// Starts the count of PeakMemoryKiB again from what the program holds now,
// memory it has freed not included; false when the kernel cannot do that.
bool ResetPeakMemory();

}  // namespace tk::testing
