// Picture files written through the windows, whole or not at all: the
// tubular-conductor window's JPEG picture and both chart windows' enhanced
// metafiles, each answered with a name in a folder that does not exist, with
// a directory's name, and with a write that fails midway or just before the
// file takes its name.  Each failure shows one error box naming the file,
// leaves an earlier file of that name as it was and no temporary file, and
// the window goes on working: the next press and the next save succeed.
// Saving respects the name the user chose: a link is followed, a file with
// two names stays one file, pipes and devices are refused, a file the user
// could not write is refused, a replaced file keeps its mode and owner, and
// names up to the folder's limit save.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ferrant/tests/ui_pomoc.h"
#include "support/Harness.h"
#include "tests/support/AsNobody.h"
#include "tests/support/TestFiles.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/Locale.h"
#include "toolkit/files/WholeFile.h"

namespace reliability {
namespace {

using namespace ferrant;

// The file's bytes; empty for a name that is not a file.
std::string Read(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> v;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") v.push_back(e->d_name);
    closedir(d);
  }
  std::sort(v.begin(), v.end());
  return v;
}

// Where a symbolic link points; empty for a name that is not a link.
std::string LinkTarget(const std::string& path) {
  char buf[4096];
  const ssize_t n = readlink(path.c_str(), buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "";
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
  return st;
}

// Fails the write after the given number of calls of the hook.
struct FailingWrite {
  explicit FailingWrite(int afterCalls) {
    previous = tk::SetFileWriteHook([this, afterCalls](size_t) {
      if (++calls > afterCalls) throw tk::EWriteError("No space left on device");
    });
  }
  ~FailingWrite() { tk::SetFileWriteHook(previous); }
  int calls = 0;
  tk::FileWriteHook previous;
};

bool FilesBox(const tk::MessageRequest& m) {
  return m.caption == "Ferrant" && m.text.rfind("Cannot create file \"", 0) == 0;
}

class FerrantFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    uitest::Aplikacja();
    Form3->Show();
    tk::testing::ProcessEvents();
  }
  void SetUp() override {
    tk::SetDecimalSeparator(',');
    folder = testsupport::NewFolder("reliability_files");
    // Fill both charts, so that their metafiles hold something.
    ASSERT_TRUE(presser.Run({"dP(mi)", [] { Form3->BitBtn6->OnClick(Form3->BitBtn6); }}, "setup").ok);
    ASSERT_TRUE(presser.Run({"J mi=var", [] { Form3->BitBtn8->OnClick(Form3->BitBtn8); }}, "setup").ok);
  }
  void TearDown() override {
    testsupport::RemoveFolder(folder);
    tk::SetDecimalSeparator('\0');
  }

  // One save press answered with the name; returns the boxes it showed.
  PressOutcome Save(const Press& press, const std::string& name) {
    presser.Dialogs().AnswerFile(name);
    const PressOutcome o = presser.Run(press, press.name + " to " + name);
    EXPECT_EQ(presser.Dialogs().fileDialogs.size(), 1u) << press.name;
    return o;
  }

  // A failed save: one error box naming the file, the earlier file as it
  // was, no temporary file left, and the window still works.
  void ExpectFailed(const Press& press, const std::string& name, const std::string& earlier, const std::string& what) {
    const std::vector<std::string> before = Files(folder);
    const PressOutcome o = Save(press, name);
    EXPECT_FALSE(o.ok) << what;
    ASSERT_EQ(o.boxes.size(), 1u) << what;
    EXPECT_NE(o.boxes[0].text.find(name), std::string::npos) << what << ": " << o.boxes[0].text;
    EXPECT_EQ(Read(name), earlier) << what << ": the earlier file changed";
    EXPECT_EQ(Files(folder), before) << what << ": a temporary file was left";
    const PressOutcome next = presser.Run({"E(r)", [] { Form3->BitBtn1->OnClick(Form3->BitBtn1); }}, what);
    EXPECT_TRUE(next.ok && next.boxes.empty()) << what << ": the window does not go on";
  }

  // Every kind of failure, then a save that succeeds over the earlier file.
  void EveryFailure(const Press& press, const std::string& ext, bool (*valid)(const std::string&)) {
    const std::string name = folder + "/picture" + ext;
    const std::string earlier = "an earlier picture";
    Write(name, earlier);
    ExpectFailed(press, folder + "/no such folder/picture" + ext, "", press.name + ", missing folder");
    mkdir((folder + "/a folder" + ext).c_str(), 0755);
    ExpectFailed(press, folder + "/a folder" + ext, "", press.name + ", a folder's name");
    EXPECT_TRUE(Files(folder + "/a folder" + ext).empty());
    {
      FailingWrite fail(0);  // after the first block
      ExpectFailed(press, name, earlier, press.name + ", write failing midway");
      EXPECT_GE(fail.calls, 1);
    }
    {
      FailingWrite fail(1);  // all data written, before the rename (one block, then the final call)
      ExpectFailed(press, name, earlier, press.name + ", write failing before the rename");
      EXPECT_EQ(fail.calls, 2);
    }
    const PressOutcome o = Save(press, name);
    EXPECT_TRUE(o.ok && o.boxes.empty()) << press.name << ": the save after the failures";
    const std::string written = Read(name);
    EXPECT_TRUE(valid(written)) << press.name << ": " << written.size() << " bytes";
    struct stat st {};
    ASSERT_EQ(stat(name.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
  }

  // The window's JPEG picture saved under the name: no box.
  void ExpectSaved(const std::string& name, const std::string& what) {
    const PressOutcome o = Save(jpeg, name);
    EXPECT_TRUE(o.ok && o.boxes.empty()) << what << (o.boxes.empty() ? "" : ": " + o.boxes[0].text);
  }
  // Refused: one box naming the file and the reason, and the name holds what it held.
  void ExpectRefused(const std::string& name, const std::string& reason, const std::string& what) {
    const std::vector<std::string> before = Files(folder);
    const PressOutcome o = Save(jpeg, name);
    EXPECT_FALSE(o.ok) << what;
    ASSERT_EQ(o.boxes.size(), 1u) << what;
    EXPECT_EQ(o.boxes[0].text, "Cannot create file \"" + name + "\". " + reason) << what;
    EXPECT_EQ(Files(folder), before) << what;
  }

  const Press jpeg{"window JPEG", [] { Form3->OnDblClick(Form3); }};
  static bool FilesBoxRule(const tk::MessageRequest& m) { return FilesBox(m); }
  Presser presser{"Ferrant", FilesBoxRule};
  std::string folder;
};

bool Jpeg(const std::string& b) {
  return b.size() > 1000 && static_cast<uint8_t>(b[0]) == 0xFF && static_cast<uint8_t>(b[1]) == 0xD8 &&
         static_cast<uint8_t>(b[b.size() - 2]) == 0xFF && static_cast<uint8_t>(b[b.size() - 1]) == 0xD9;
}

bool Emf(const std::string& b) {
  return b.size() > 88 && b[0] == 1 && b[1] == 0 && b.compare(40, 4, " EMF") == 0 &&
         static_cast<uint8_t>(b[b.size() - 20]) == 14;  // the end-of-file record
}

TEST_F(FerrantFiles, WindowPictureAsJpeg) {
  EveryFailure({"window JPEG", [] { Form3->OnDblClick(Form3); }}, ".jpg", Jpeg);
}

TEST_F(FerrantFiles, LossChartAsMetafile) {
  EveryFailure({"loss chart EMF", [] { FormWykChart->Chart1->OnDblClick(FormWykChart->Chart1); }}, ".emf", Emf);
}

TEST_F(FerrantFiles, ProfileChartAsMetafile) {
  EveryFailure({"profile chart EMF", [] { FormWykChart2->Chart1->OnDblClick(FormWykChart2->Chart1); }}, ".emf", Emf);
}

// Saving over a symbolic link writes the file it names and keeps the link:
// relative and absolute links, a link to a link, a link to a file not made yet.
TEST_F(FerrantFiles, ALinkIsFollowedToTheFileItNames) {
  const std::string pictures = folder + "/pictures";
  ASSERT_EQ(mkdir(pictures.c_str(), 0755), 0);
  ASSERT_EQ(symlink("pictures/real.jpg", (folder + "/near.jpg").c_str()), 0);
  ASSERT_EQ(symlink((folder + "/near.jpg").c_str(), (folder + "/far.jpg").c_str()), 0);
  ASSERT_EQ(symlink("pictures/new.jpg", (folder + "/dangling.jpg").c_str()), 0);
  for (const std::string link : {"near.jpg", "far.jpg"}) {
    Write(pictures + "/real.jpg", "an earlier picture");
    ExpectSaved(folder + "/" + link, link);
    EXPECT_TRUE(Jpeg(Read(pictures + "/real.jpg"))) << link << ": the file the link names was not written";
  }
  ExpectSaved(folder + "/dangling.jpg", "dangling link");
  EXPECT_TRUE(Jpeg(Read(pictures + "/new.jpg")));
  EXPECT_EQ(LinkTarget(folder + "/near.jpg"), "pictures/real.jpg");
  EXPECT_EQ(LinkTarget(folder + "/far.jpg"), folder + "/near.jpg");
  EXPECT_EQ(LinkTarget(folder + "/dangling.jpg"), "pictures/new.jpg");
  EXPECT_EQ(Files(folder), (std::vector<std::string>{"dangling.jpg", "far.jpg", "near.jpg", "pictures"}));
  EXPECT_EQ(Files(pictures), (std::vector<std::string>{"new.jpg", "real.jpg"}));
}

// A file with a second name is written in place and stays one file; a pipe
// and a device are refused with the reason and stay what they are (nothing
// waits for a reader of the pipe: the press's watchdog would end the run).
TEST_F(FerrantFiles, OtherNamesOfAFileAndSpecialFilesStayWhatTheyAre) {
  const std::string a = folder + "/a.jpg", b = folder + "/b.jpg";
  Write(a, "an earlier picture");
  ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
  ExpectSaved(b, "second name");
  EXPECT_TRUE(Jpeg(Read(a)));
  EXPECT_EQ(StatOf(a).st_ino, StatOf(b).st_ino);
  EXPECT_EQ(StatOf(a).st_nlink, 2u);

  const std::string pipe = folder + "/pipe.jpg";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  ExpectRefused(pipe, "It is a named pipe, not a regular file", "pipe");
  EXPECT_TRUE(S_ISFIFO(StatOf(pipe).st_mode));

  const std::string device = folder + "/null.jpg";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    std::printf("[ note ] no device node made here (needs root): the device case is not run\n");
    return;
  }
  ExpectRefused(device, "It is a device, not a regular file", "device");
  EXPECT_TRUE(S_ISCHR(StatOf(device).st_mode));
}

// Names up to the folder's limit of 255 bytes save, new and over an earlier
// file, also where the temporary name's cut falls inside a two-byte letter.
TEST_F(FerrantFiles, NamesUpToTheFoldersLimitSave) {
  for (size_t bytes : {250u, 251u, 255u}) {
    std::string base = (bytes % 2 == 1) ? "x" : "";
    while (base.size() < bytes - 4) base += "\xC5\xBC";  // ż
    base += ".jpg";
    ASSERT_EQ(base.size(), bytes);
    const std::string name = folder + "/" + base;
    ExpectSaved(name, std::to_string(bytes) + " bytes, new");
    Write(name, "an earlier picture");
    ExpectSaved(name, std::to_string(bytes) + " bytes, replacing");
    EXPECT_TRUE(Jpeg(Read(name))) << bytes;
    EXPECT_EQ(Files(folder), std::vector<std::string>{base});
    unlink(name.c_str());
  }
}

// Root may write a write-protected file: it is replaced and keeps its mode;
// a file of another user keeps its owner and group.
TEST_F(FerrantFiles, AReplacedFileKeepsItsModeAndOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "a file of another user can be made only by root";
  const std::string locked = folder + "/locked.jpg", theirs = folder + "/theirs.jpg";
  Write(locked, "an earlier picture");
  Write(theirs, "an earlier picture");
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod(theirs.c_str(), 0640), 0);
  ExpectSaved(locked, "write-protected, as root");
  ExpectSaved(theirs, "another user's");
  EXPECT_TRUE(Jpeg(Read(locked)) && Jpeg(Read(theirs)));
  EXPECT_EQ(StatOf(locked).st_mode & 07777, 0444u);
  EXPECT_EQ(StatOf(theirs).st_mode & 07777, 0640u);
  EXPECT_EQ(StatOf(theirs).st_uid, 65534u);
  EXPECT_EQ(StatOf(theirs).st_gid, 65534u);
  EXPECT_EQ(Files(folder), (std::vector<std::string>{"locked.jpg", "theirs.jpg"}));
}

constexpr char kAsAUser[] = "FerrantFiles.AUserCannotReplaceAFileHeCouldNotWrite";

// A user without privileges: a write-protected file is refused ("Permission
// denied") and stays as it was; a writable one is replaced and keeps its
// mode; one in a folder the user may not write is written in place.
TEST_F(FerrantFiles, AUserCannotReplaceAFileHeCouldNotWrite) {
  if (geteuid() == 0) return testsupport::RerunAsNobody(kAsAUser);
  // What the run was given is within its reach, or it would write elsewhere or fail at its end.
  for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
    if (std::getenv(name) != nullptr) {
      EXPECT_EQ(access(std::getenv(name), W_OK | X_OK), 0) << name;
    }
  }
  EXPECT_EQ(access(".", R_OK | X_OK), 0) << "the current folder";
  const std::string leaks =
      std::getenv("LSAN_OPTIONS") != nullptr ? testsupport::Suppressions(std::getenv("LSAN_OPTIONS")) : "";
  EXPECT_TRUE(leaks.empty() || access(leaks.c_str(), R_OK) == 0) << leaks;
  const std::string locked = folder + "/locked.jpg", mine = folder + "/mine.jpg";
  Write(locked, "an earlier picture");
  Write(mine, "an earlier picture");
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  ASSERT_EQ(chmod(mine.c_str(), 0604), 0);
  ExpectRefused(locked, "Permission denied", "write-protected");
  EXPECT_EQ(Read(locked), "an earlier picture");
  EXPECT_EQ(StatOf(locked).st_mode & 07777, 0444u);
  ExpectSaved(mine, "writable");
  EXPECT_TRUE(Jpeg(Read(mine)));
  EXPECT_EQ(StatOf(mine).st_mode & 07777, 0604u);

  const std::string shut = folder + "/shut", kept = shut + "/kept.jpg";
  ASSERT_EQ(mkdir(shut.c_str(), 0755), 0);
  Write(kept, "an earlier picture");
  const ino_t inode = StatOf(kept).st_ino;
  ASSERT_EQ(chmod(shut.c_str(), 0555), 0);
  ExpectSaved(kept, "in a folder the user may not write");
  EXPECT_TRUE(Jpeg(Read(kept)));
  EXPECT_EQ(StatOf(kept).st_ino, inode);
  EXPECT_EQ(Files(shut), std::vector<std::string>{"kept.jpg"});
}

// The same run from a checkout in a folder only root may enter, as root's
// home folder is: the program and its leak suppressions are there.
TEST_F(FerrantFiles, TheRunAsAUserNeedsNothingFromAClosedCheckout) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can run a test as another user";
  const std::string checkout = folder + "/checkout", output = folder + "/output.txt";
  ASSERT_EQ(mkdir(checkout.c_str(), 0700), 0);
  ASSERT_TRUE(std::filesystem::copy_file("/proc/self/exe", checkout + "/test_program"));
  const char* leaks = std::getenv("LSAN_OPTIONS");
  Write(checkout + "/lsan.supp", leaks != nullptr ? Read(testsupport::Suppressions(leaks)) : "");
  const int status =
      testsupport::RunProgram({checkout + "/test_program", std::string("--gtest_filter=") + kAsAUser},
                              {"LSAN_OPTIONS=suppressions=" + checkout + "/lsan.supp"}, checkout, output);
  if (Read(output).find("[  SKIPPED ]") != std::string::npos) GTEST_SKIP() << Read(output);
  EXPECT_EQ(status, 0) << Read(output);
}

}  // namespace
}  // namespace reliability
