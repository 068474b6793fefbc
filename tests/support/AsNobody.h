#pragma once
// Parts of a test run as the user nobody, who owns nothing here: in a child
// process of the test program that enters its folder first, while it may
// still enter any, and then gives up root's rights for good.  Only root can
// become another user.  Nothing the child needs is reached through the
// checkout, which may be closed to others (root's home folder is).
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/RunProgram.h"
#include "tests/support/TestFiles.h"

namespace testsupport {

constexpr unsigned kNobody = 65534;  // its user and group

// What the child did: `ran` false when this process cannot become nobody,
// `text` then says why; else the child's exit status and what `work` returned.
struct NobodyRun {
  bool ran = false;
  int status = -1;
  std::string text;
};

// Runs `work` as nobody in `folder`.  `work` may also replace the child by
// another program; the status is then that program's.
inline NobodyRun AsNobody(const std::string& folder, const std::function<std::string()>& work) {
  constexpr int kCannot = 125;
  NobodyRun run;
  int out[2];
  if (geteuid() != 0 || pipe2(out, O_CLOEXEC) != 0) {
    run.text = geteuid() != 0 ? "only root can run a test as another user" : "no pipe";
    return run;
  }
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(out[0]);
    std::string text;
    int status = 0;
    if (chdir(folder.c_str()) != 0 || setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0) {
      text = std::string("cannot become nobody: ") + std::strerror(errno);
      status = kCannot;
    } else {
      text = work();
    }
    _exit(write(out[1], text.data(), text.size()) == ssize_t(text.size()) ? status : 1);
  }
  close(out[1]);
  char buf[512];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) run.text.append(buf, size_t(n));
  close(out[0]);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) {
    run.text = "no child";
    return run;
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.ran = run.status != kCannot;
  return run;
}

// The suppression file named in a sanitizer's options; empty if none.
inline std::string Suppressions(const std::string& options) {
  const size_t at = options.find("suppressions=");
  if (at == std::string::npos) return "";
  const size_t from = at + std::strlen("suppressions=");
  return options.substr(from, options.find(':', from) - from);
}

// Runs the test named again as nobody, in this program run from a descriptor
// opened as root: its result is this test's.  What that run reads or writes
// lies in a folder of the run's own within nobody's reach: its current,
// temporary and run-time folders, and copies of the sanitizers' suppression
// files.  A probe run without a test tells a run that cannot start from one
// that fails; either that or a process that cannot become nobody skips.
inline void RerunAsNobody(const std::string& test) {
  ASSERT_EQ(chmod(TempFolder().c_str(), 0711), 0);
  const std::string home = NewFolder("nobody"), probe = home + "/probe.txt";
  std::vector<std::string> made = {home, home + "/tmp", home + "/run"};
  for (size_t i = 1; i < made.size(); ++i) ASSERT_EQ(mkdir(made[i].c_str(), 0700), 0) << made[i];
  std::vector<std::string> variables = {"TMPDIR=" + home + "/tmp", "XDG_RUNTIME_DIR=" + home + "/run", "HOME=" + home};
  for (const std::string name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
    if (std::getenv(name.c_str()) == nullptr) continue;
    std::string options = std::getenv(name.c_str());
    const std::string file = Suppressions(options);
    if (!file.empty()) {
      std::ifstream in(file, std::ios::binary);
      made.push_back(home + "/" + name + ".supp");
      std::ofstream(made.back(), std::ios::binary) << std::string(std::istreambuf_iterator<char>(in), {});
      options.replace(options.find(file), file.size(), made.back());
    }
    variables.push_back(name + "=" + options);
  }
  for (const std::string& f : made) ASSERT_EQ(chown(f.c_str(), kNobody, kNobody), 0) << f;
  std::vector<char*> envp = EnvironmentWith(variables);
  const int program = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(program, 0);
  auto run = [&](const std::string& filter, const std::string& output) {
    return AsNobody(home, [&] {
      std::string arg = "--gtest_filter=" + filter;
      char* argv[] = {const_cast<char*>("test_program"), arg.data(), nullptr};
      const int fd = output.empty() ? -1 : open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd >= 0) dup2(fd, 1), dup2(fd, 2);
      fexecve(program, argv, envp.data());
      return std::string("cannot run the test program: ") + std::strerror(errno);
    });
  };
  const NobodyRun probed = run("-*", probe);
  std::ifstream in(probe);
  const std::string said(std::istreambuf_iterator<char>(in), {});
  if (!probed.ran || probed.status != 0)
    GTEST_SKIP() << "the test program cannot run as nobody: " << probed.text << said;
  const NobodyRun ran = run(test, "");
  close(program);
  EXPECT_EQ(ran.status, 0) << "the run as nobody failed: its output is above" << ran.text;
}

}  // namespace testsupport
