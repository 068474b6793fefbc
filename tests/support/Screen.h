#pragma once
// Window tests on a screen of a given size: the running test runs itself
// again in a process of its own whose off-screen platform has one screen of
// that size, and its result is the test's.  Inside that run,
// OnScreen() tells the size.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/RunProgram.h"
#include "tests/support/TestFiles.h"

namespace testsupport {

// True inside the run on a screen of its own; the screen's size then.
inline bool OnScreen(int* width = nullptr, int* height = nullptr) {
  const char* s = std::getenv("TOOLKIT_TEST_SCREEN");
  int w = 0, h = 0;
  if (s == nullptr || std::sscanf(s, "%dx%d", &w, &h) != 2) return false;
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
  return true;
}

// With variables ("NAME=value"), the run has them in its environment too.
inline void RunOnScreen(int width, int height, const std::vector<std::string>& variables = {}) {
  const ScratchFolder folder("toolkit_screen");
  const std::string config = folder.path + "/screen.json";
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  WriteFile(config, "{\"screens\": [{\"name\": \"small\", \"x\": 0, \"y\": 0, \"width\": " + std::to_string(width) +
                        ", \"height\": " + std::to_string(height) + "}]}\n");
  const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string filter = std::string("--gtest_filter=") + t->test_suite_name() + "." + t->name();
  std::vector<std::string> all = {"QT_QPA_PLATFORM=offscreen:configfile=" + config, "TOOLKIT_TEST_SCREEN=" + size};
  all.insert(all.end(), variables.begin(), variables.end());
  EXPECT_EQ(RunProgram({exe, filter}, all, ".", ""), 0)
      << "the run on the " << width << " x " << height << " screen failed (above)";
}

}  // namespace testsupport
