#pragma once
// Where tests write files: a folder of the test program's own run, made on
// first use in the system's temporary folder ($TMPDIR, else /tmp) and removed
// with everything in it when the program ends, so that parallel runs and
// checkouts never meet.  Pictures written for a person to look at go there
// too, unless KEEP_TEST_PICTURES names a folder: then they go there and stay.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace testsupport {

namespace detail {

class RunFolder {
 public:
  RunFolder() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    std::string name = (base / "fieldcalc-test-XXXXXX").string();
    if (mkdtemp(name.data()) != nullptr) path_ = name;
  }
  ~RunFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace detail

// The run's folder; empty when it could not be made (every write then fails
// visibly in the test that tries it).
inline const std::string& TempFolder() {
  static detail::RunFolder folder;
  return folder.Path();
}

// A file in the run's folder.
inline std::string TempPath(const std::string& name) { return TempFolder() + "/" + name; }

// A picture for a person to look at: in KEEP_TEST_PICTURES when it is set,
// else in the run's folder.
inline std::string PicturePath(const std::string& name) {
  const char* keep = std::getenv("KEEP_TEST_PICTURES");
  if (keep == nullptr || *keep == '\0') return TempPath(name);
  std::error_code ec;
  std::filesystem::create_directories(keep, ec);
  return std::string(keep) + "/" + name;
}

}  // namespace testsupport
