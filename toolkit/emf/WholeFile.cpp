#include "toolkit/emf/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>

#include "toolkit/core/Errors.h"

namespace tk {

namespace {

FileWriteHook& Hook() {
  static FileWriteHook hook;
  return hook;
}

std::string Folder(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return fileName.substr(0, slash);
}

std::string BaseName(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

[[noreturn]] void Fail(const std::string& fileName, const std::string& reason) {
  throw EFCreateError("Cannot create file \"" + fileName + "\". " + reason);
}

// The permissions a newly created file gets; an existing file keeps its own.
mode_t ModeFor(const std::string& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

FileWriteHook SetFileWriteHook(FileWriteHook hook) { return std::exchange(Hook(), std::move(hook)); }

void WriteFileWhole(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  if (fileName.empty()) Fail(fileName, "No file name");
  std::string temp = Folder(fileName) + "/." + BaseName(fileName) + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) Fail(fileName, std::strerror(errno));

  std::string reason;
  try {
    size_t written = 0;
    while (written < bytes.size()) {
      const size_t block = std::min<size_t>(bytes.size() - written, 65536);
      const ssize_t n = ::write(fd, bytes.data() + written, block);
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EWriteError(std::strerror(errno));
      }
      written += static_cast<size_t>(n);
      if (Hook()) Hook()(written);
    }
    if (::fchmod(fd, ModeFor(fileName)) != 0 || ::fsync(fd) != 0) throw EWriteError(std::strerror(errno));
    if (Hook()) Hook()(written);
    const int closed = ::close(fd);
    if (closed != 0) {
      ::unlink(temp.c_str());
      Fail(fileName, std::strerror(errno));
    }
    if (::rename(temp.c_str(), fileName.c_str()) != 0) {
      const int err = errno;
      ::unlink(temp.c_str());
      Fail(fileName, std::strerror(err));
    }
    return;
  } catch (const EFCreateError&) {
    throw;
  } catch (const std::exception& e) {
    reason = e.what();
  } catch (...) {
    reason = "Write error";
  }
  ::close(fd);
  ::unlink(temp.c_str());
  Fail(fileName, reason);
}

}  // namespace tk
