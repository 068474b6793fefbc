#pragma once
// Test programs that run programs: this one again with other settings, or a
// copy of it elsewhere.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace testsupport {

// This process's environment with the variables ("NAME=value") in place of
// those of the same names.
inline std::vector<char*> EnvironmentWith(const std::vector<std::string>& variables) {
  std::vector<char*> envp;
  for (const std::string& v : variables) envp.push_back(const_cast<char*>(v.c_str()));
  for (char** e = environ; *e != nullptr; ++e)
    if (std::none_of(variables.begin(), variables.end(),
                     [e](const std::string& v) { return std::strncmp(*e, v.c_str(), v.find('=') + 1) == 0; }))
      envp.push_back(*e);
  envp.push_back(nullptr);
  return envp;
}

// Runs the program with the arguments in the folder, with these variables
// set in its environment; its exit status, or -1.  Its output goes into the
// file named, or stays this program's when the name is empty.
inline int RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& variables,
                      const std::string& folder, const std::string& output) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp = EnvironmentWith(variables);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  if (!output.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  pid_t pid;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace testsupport
