#pragma once
// Where tests write files and find their data.  Files go into a folder of the
// test program's own run, made on first use in the system's temporary folder
// ($TMPDIR, else /tmp) and removed with everything in it when the program
// ends, so that parallel runs and checkouts never meet.  Pictures written for
// a person to look at go there too, unless KEEP_TEST_PICTURES names a folder:
// then they go there and stay.  Data files are read from the test folder's
// tests/data in the source tree, whatever the current folder.
#include <dirent.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace testsupport {

// Removes a folder and all it holds, also folders a test made read-only.
inline void RemoveFolder(const std::string& path) {
  auto open = [](const char* p, const struct stat*, int type, FTW*) {
    if (type == FTW_D) chmod(p, 0700);
    return 0;
  };
  auto remove = [](const char* p, const struct stat*, int, FTW*) {
    std::remove(p);
    return 0;
  };
  nftw(path.c_str(), open, 16, FTW_PHYS);
  nftw(path.c_str(), remove, 16, FTW_DEPTH | FTW_PHYS);
}

namespace detail {

// Throws with the reason when the folder cannot be made from the template.
inline std::string MakeFolder(std::string tmpl) {
  if (mkdtemp(tmpl.data()) == nullptr)
    throw std::runtime_error("cannot make the folder " + tmpl + ": " + std::strerror(errno));
  return tmpl;
}

class RunFolder {
 public:
  RunFolder() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    path_ = MakeFolder((base / "fieldcalc-test-XXXXXX").string());
  }
  ~RunFolder() { RemoveFolder(path_); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace detail

// The run's folder.  When it cannot be made, every use throws, so that the
// test that needs it fails with the reason and nothing is written elsewhere.
inline const std::string& TempFolder() {
  static detail::RunFolder folder;
  return folder.Path();
}

// A file in the run's folder.
inline std::string TempPath(const std::string& name) { return TempFolder() + "/" + name; }

// A new, empty folder in the run's folder, its name starting with the prefix.
inline std::string NewFolder(const std::string& prefix) { return detail::MakeFolder(TempPath(prefix + "_XXXXXX")); }

// A file's bytes (none when it cannot be read), and a file written with them.
inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// The names in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> out;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) out.push_back(e->d_name);
    closedir(d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// A new folder of one test's own, removed with all it holds when it goes.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& prefix) : path(NewFolder(prefix)) {}
  ~ScratchFolder() { RemoveFolder(path); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::vector<std::string> Names() const { return NamesIn(path); }
  const std::string path;
};

// A picture for a person to look at: in KEEP_TEST_PICTURES when it is set,
// else in the run's folder.
inline std::string PicturePath(const std::string& name) {
  const char* keep = std::getenv("KEEP_TEST_PICTURES");
  if (keep == nullptr || *keep == '\0') return TempPath(name);
  std::error_code ec;
  std::filesystem::create_directories(keep, ec);
  return std::string(keep) + "/" + name;
}

#ifdef TEST_DATA_DIR
// A data file of the test's folder (its tests/data, named by the build).
inline std::string DataPath(const std::string& name) { return std::string(TEST_DATA_DIR) + "/" + name; }
#endif

}  // namespace testsupport
