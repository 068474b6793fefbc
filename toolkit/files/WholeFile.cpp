#include "toolkit/files/WholeFile.h"

#include <fcntl.h>
#include <limits.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <random>
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

[[noreturn]] void FailErrno(const std::string& fileName, int err) { Fail(fileName, std::strerror(err)); }

// Closes a descriptor on every way out of a scope.
struct Descriptor {
  int fd = -1;
  explicit Descriptor(int d) : fd(d) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  // Closes now; the error of close (a delayed write error) is the caller's.
  int Close() {
    const int r = ::close(fd);
    fd = -1;
    return r;
  }
};

// The file a chosen name stands for: symbolic links are followed to the file
// they name, so that saving over a link writes the file and keeps the link.
// A dangling link names the file to be created.
std::string FollowLinks(const std::string& fileName) {
  std::string path = fileName;
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    if (hops == 40) FailErrno(fileName, ELOOP);
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) FailErrno(fileName, errno);
    if (static_cast<size_t>(n) >= link.size()) FailErrno(fileName, ENAMETOOLONG);
    link.resize(static_cast<size_t>(n));
    path = link[0] == '/' ? link : Folder(path) + "/" + link;
  }
}

// What a name that is not a regular file or a folder holds, for the message.
// A pipe without a name (/proc/self/fd/0 of a program fed by a pipe) lives
// on the kernel's pipe file system.
std::string NotAFile(const struct stat& st, long fsType) {
  if (static_cast<unsigned long>(fsType) == PIPEFS_MAGIC) return "It is a pipe, not a regular file";
  if (S_ISFIFO(st.st_mode)) return "It is a named pipe, not a regular file";
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "It is a device, not a regular file";
  if (S_ISSOCK(st.st_mode)) return "It is a socket, not a regular file";
  if (KernelFileSystem(fsType)) return "It is a file of the kernel, not a regular file";
  return "It is not a regular file";
}

// Writes the bytes at the descriptor's offset in blocks, telling the hook
// (when asked to) after each.  Throws EWriteError.
void WriteBlocks(int fd, const std::vector<uint8_t>& bytes, bool tellHook) {
  size_t written = 0;
  while (written < bytes.size()) {
    const size_t block = std::min<size_t>(bytes.size() - written, 65536);
    const ssize_t n = ::write(fd, bytes.data() + written, block);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError(std::strerror(errno));
    }
    written += static_cast<size_t>(n);
    if (tellHook && Hook()) Hook()(written);
  }
}

// Flushes what was written to disk, then tells the hook once more.
void Flush(int fd, size_t written) {
  if (::fsync(fd) != 0) throw EWriteError(std::strerror(errno));
  if (Hook()) Hook()(written);
}

// The first `size` bytes of the file, read without moving the descriptor's
// offset (fewer where the file ends sooner).  Throws EWriteError.
std::vector<uint8_t> ReadFirst(int fd, size_t size) {
  std::vector<uint8_t> data(size);
  size_t got = 0;
  while (got < data.size()) {
    const ssize_t n = ::pread(fd, data.data() + got, data.size() - got, static_cast<off_t>(got));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError(std::strerror(errno));
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  data.resize(got);
  return data;
}

// The reason of a failed write, from whatever the writer or the hook threw.
template <class F>
std::string Attempt(F&& write) {
  try {
    write();
    return "";
  } catch (const std::exception& e) {
    return e.what()[0] != '\0' ? e.what() : "Write error";
  } catch (...) {
    return "Write error";
  }
}

// The temporary file's name: a dot, as much of the target's name as fits the
// folder's limit on names, a dot and six random letters.  Cut at a character
// boundary, so that a UTF-8 name stays UTF-8.
std::string TemporaryName(const std::string& base, long nameMax) {
  static std::mt19937 random{std::random_device{}()};
  static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  size_t keep = std::min<size_t>(base.size(), nameMax > 8 ? static_cast<size_t>(nameMax - 8) : 0);
  while (keep > 0 && keep < base.size() && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
  std::string name = "." + base.substr(0, keep) + ".";
  for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
  return name;
}

// Writes the bytes into the file itself: for a file with several names the
// only way to keep them one file.  The earlier contents stay whole all the
// same.  The room for the new ones is reserved before a byte changes, so a
// full disk or quota refuses the save with the file untouched; a file system
// that cannot reserve room refuses it too.  The earlier bytes that the new
// ones cover are kept in memory (no more than the new contents, however large
// the file), and the file is cut to its new size only once the new bytes are
// on disk, so a write that still fails puts the earlier contents back.  A file
// the user may write but not read is written all the same: its earlier bytes
// cannot be kept, but the room is still reserved first.
void WriteInPlace(const std::string& fileName, const std::string& target, const std::vector<uint8_t>& bytes) {
  Descriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
  const bool readable = file.fd >= 0;
  if (!readable && (errno == EACCES || errno == EPERM))
    file.fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (file.fd < 0) FailErrno(fileName, errno);
  struct stat st;
  if (::fstat(file.fd, &st) != 0) FailErrno(fileName, errno);
  const size_t covered = std::min<size_t>(static_cast<size_t>(st.st_size), bytes.size());
  std::vector<uint8_t> earlier;
  std::string reason = Attempt([&] {
    if (readable) earlier = ReadFirst(file.fd, covered);
  });
  if (!reason.empty()) Fail(fileName, reason);
  if (!bytes.empty() && ::fallocate(file.fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0) {
    const int err = errno;
    ::ftruncate(file.fd, st.st_size);  // gives back what was reserved past the end
    if (err == EOPNOTSUPP || err == ENOSYS || err == EINVAL)
      Fail(fileName, "Its file system cannot reserve room for the new contents: the earlier ones are kept");
    FailErrno(fileName, err);
  }
  bool cut = false;
  reason = Attempt([&] {
    WriteBlocks(file.fd, bytes, true);
    Flush(file.fd, bytes.size());
    if (static_cast<off_t>(bytes.size()) < st.st_size) {
      if (::ftruncate(file.fd, static_cast<off_t>(bytes.size())) != 0) throw EWriteError(std::strerror(errno));
      cut = true;
      if (::fsync(file.fd) != 0) throw EWriteError(std::strerror(errno));
    }
  });
  if (reason.empty()) return;  // on disk: a late error of close would change nothing
  const std::string restored = Attempt([&] {
    if (!readable) throw EWriteError("the file cannot be read, so they were not kept");
    if (cut) throw EWriteError("the file was already cut to its new size");
    if (::lseek(file.fd, 0, SEEK_SET) != 0) throw EWriteError(std::strerror(errno));
    WriteBlocks(file.fd, earlier, false);
    if (::ftruncate(file.fd, st.st_size) != 0 || ::fsync(file.fd) != 0) throw EWriteError(std::strerror(errno));
  });
  if (!restored.empty()) reason += ". The earlier contents could not be put back: " + restored;
  Fail(fileName, reason);
}

// Writes the bytes to a temporary file beside the target and renames it over
// the target, which keeps an earlier file whole until everything is on disk.
// An existing file's mode and owner pass to the new one; false (nothing
// written) when that cannot be done (a file of another user, a folder the
// user may not write): the caller then writes in place.
bool WriteReplacing(const std::string& fileName, const std::string& target, const struct stat* existing,
                    const std::vector<uint8_t>& bytes) {
  Descriptor folder(::open(Folder(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.fd < 0) FailErrno(fileName, errno);
  // The kernel's folders (/proc, /sys) take no new names, whatever the
  // user's rights: root is refused there too, with EACCES or ENOENT.
  struct statfs fs;
  if (::fstatfs(folder.fd, &fs) == 0 && KernelFileSystem(static_cast<long>(fs.f_type)))
    Fail(fileName, "Its folder cannot hold a new file");
  long nameMax = ::fpathconf(folder.fd, _PC_NAME_MAX);
  if (nameMax <= 0) nameMax = NAME_MAX;
  const std::string base = BaseName(target);

  std::string temp;
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < 100; ++tries) {
    temp = TemporaryName(base, nameMax);
    // A new file takes the usual mode from the kernel (the umask, a folder's
    // default permissions); a replacing one gets the earlier file's below.
    fd = ::openat(folder.fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existing != nullptr ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (existing != nullptr && (errno == EACCES || errno == EPERM)) return false;
    // The folder exists (it is open) but takes no new names.
    if (errno == ENOENT) Fail(fileName, "Its folder cannot hold a new file");
    FailErrno(fileName, errno);
  }
  Descriptor file(fd);
  auto removeTemp = [&] { ::unlinkat(folder.fd, temp.c_str(), 0); };

  if (existing != nullptr) {
    struct stat made;
    if (::fstat(file.fd, &made) != 0 || ((made.st_uid != existing->st_uid || made.st_gid != existing->st_gid) &&
                                         ::fchown(file.fd, existing->st_uid, existing->st_gid) != 0)) {
      removeTemp();
      return false;
    }
  }
  std::string reason = Attempt([&] {
    if (existing != nullptr && ::fchmod(file.fd, existing->st_mode & 07777) != 0)
      throw EWriteError(std::strerror(errno));
    WriteBlocks(file.fd, bytes, true);
    Flush(file.fd, bytes.size());
  });
  if (reason.empty() && file.Close() != 0) reason = std::strerror(errno);
  if (reason.empty() && ::renameat(folder.fd, temp.c_str(), folder.fd, base.c_str()) != 0)
    reason = std::strerror(errno);
  if (!reason.empty()) {
    removeTemp();
    Fail(fileName, reason);
  }
  ::fsync(folder.fd);  // the new name on disk too
  return true;
}

}  // namespace

bool KernelFileSystem(long fsType) {
  switch (static_cast<unsigned long>(fsType)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case EFIVARFS_MAGIC:
    case PSTOREFS_MAGIC: return true;
    default: return false;
  }
}

FileWriteHook SetFileWriteHook(FileWriteHook hook) { return std::exchange(Hook(), std::move(hook)); }

void WriteFileWhole(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  if (fileName.empty()) Fail(fileName, "No file name");
  // What the name stands for, every link followed by the kernel: also the
  // links of /proc/self/fd, whose texts ("pipe:[N]") name no file.
  struct stat st;
  const bool exists = ::stat(fileName.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) FailErrno(fileName, errno);
  if (exists) {
    if (S_ISDIR(st.st_mode)) FailErrno(fileName, EISDIR);
    struct statfs fs;
    const long fsType = ::statfs(fileName.c_str(), &fs) == 0 ? static_cast<long>(fs.f_type) : 0;
    // A pipe or a device is never replaced by a regular file, and writing into
    // it could wait for ever for a reader: refused, as are the kernel's files.
    if (!S_ISREG(st.st_mode) || KernelFileSystem(fsType)) Fail(fileName, NotAFile(st, fsType));
  }
  const std::string target = FollowLinks(fileName);
  if (!exists) {
    WriteReplacing(fileName, target, nullptr, bytes);
    return;
  }
  // A file the user could not write is not replaced behind his back.
  if (::faccessat(AT_FDCWD, fileName.c_str(), W_OK, AT_EACCESS) != 0) FailErrno(fileName, errno);
  // A file reached only through the chosen name (a link of /proc/self/fd to a
  // deleted file) is written through it; a new file would take only this one
  // of several names.
  struct stat named;
  if (::lstat(target.c_str(), &named) != 0 || named.st_dev != st.st_dev || named.st_ino != st.st_ino)
    WriteInPlace(fileName, fileName, bytes);
  else if (st.st_nlink > 1 || !WriteReplacing(fileName, target, &named, bytes)) WriteInPlace(fileName, target, bytes);
}

}  // namespace tk
