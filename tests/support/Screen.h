#pragma once
// Window tests on a screen of a given size: the running test runs itself
// again in a process of its own whose off-screen platform has one screen of
// that size, and its result is the test's.  Inside that run,
// OnScreen() tells the size.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestFiles.h"

extern char** environ;

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

inline void RunOnScreen(int width, int height) {
  const ScratchFolder folder("toolkit_screen");
  const std::string config = folder.path + "/screen.json";
  FILE* f = std::fopen(config.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fprintf(f, "{\"screens\": [{\"name\": \"small\", \"x\": 0, \"y\": 0, \"width\": %d, \"height\": %d}]}\n", width,
               height);
  std::fclose(f);
  const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string exe(4096, '\0');
  exe.resize(static_cast<size_t>(std::max<ssize_t>(0, readlink("/proc/self/exe", exe.data(), exe.size()))));
  std::string filter = std::string("--gtest_filter=") + t->test_suite_name() + "." + t->name();
  std::string platform = "QT_QPA_PLATFORM=offscreen:configfile=" + config;
  std::string size = "TOOLKIT_TEST_SCREEN=" + std::to_string(width) + "x" + std::to_string(height);
  std::vector<char*> argv = {exe.data(), filter.data(), nullptr};
  std::vector<char*> envp = {platform.data(), size.data()};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) envp.push_back(*e);
  envp.push_back(nullptr);
  pid_t pid;
  int status = -1;
  ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the run on the " << width << " x " << height << " screen failed (above)";
}

}  // namespace testsupport
