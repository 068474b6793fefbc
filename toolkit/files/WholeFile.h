#pragma once
// Files written whole or not at all: the bytes go to a temporary file beside
// the target, which replaces the target only once everything is on disk.  On
// any failure the temporary file is removed, an earlier file of that name is
// left as it was, and EFCreateError names the file and the reason.
// The chosen name is respected: a symbolic link is followed and the file it
// names is written; a replaced file keeps its mode and owner; a file the user
// may not write is refused ("Permission denied"), as are pipes, devices,
// sockets and the kernel's files (/proc, /sys).  A file with several names
// (or one whose owner cannot be kept) is written in place, so it stays one
// file: its room is reserved first, so that a full disk refuses the save
// before a byte changes, and a later failure puts the earlier bytes back
// (those of a file the user may write but not read cannot be kept).  The
// memory and room a save takes follow the new contents, not the old file.
// A new name in a kernel's folder is refused ("Its folder cannot hold a new
// file").
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tk {

void WriteFileWhole(const std::string& fileName, const std::vector<uint8_t>& bytes);

// True for a file system (statfs's f_type) whose files are the kernel's
// interfaces (its log, settings, counters: /proc, /sys and their kind), not
// stored data: no picture is written into one, and none is read from one.
bool KernelFileSystem(long fsType);

// For tests: called after each block written to the temporary file with the
// bytes written so far, and once more (with the total) before the temporary
// file replaces the target; an exception it throws counts as a failed write.
using FileWriteHook = std::function<void(size_t written)>;
FileWriteHook SetFileWriteHook(FileWriteHook hook);

}  // namespace tk
