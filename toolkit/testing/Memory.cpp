#include "toolkit/testing/Memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace tk::testing {

long PeakMemoryKiB() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Memory freed but still held by the allocator goes back to the system
// first: a later use of it counts as new memory, as it would in a program
// that had not just freed it.
bool ResetPeakMemory() {
  malloc_trim(0);
  return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
}

}  // namespace tk::testing
