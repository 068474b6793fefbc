// Picture files written through the windows, whole or not at all: the
// tubular-conductor window's JPEG picture and both chart windows' enhanced
// metafiles, each answered with a name in a folder that does not exist, with
// a directory's name, and with a write that fails midway or just before the
// file takes its name.  Each failure shows one error box naming the file,
// leaves an earlier file of that name as it was and no temporary file, and
// the window goes on working: the next press and the next save succeed.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "ferrant/Unit1.h"
#include "ferrant/UnitChart.h"
#include "ferrant/UnitChart2.h"
#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitTyt.h"
#include "ferrant/UnitWalec.h"
#include "support/Harness.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/Locale.h"
#include "toolkit/emf/WholeFile.h"
#include "tests/support/TestFiles.h"

namespace reliability {
namespace {

using namespace ferrant;

tk::TApplication& Application() {
  static tk::TApplication* app = [] {
    auto* a = new tk::TApplication("Ferrant");
    a->CreateForm(Form0);
    a->CreateForm(Form1);
    a->CreateForm(Form2);
    a->CreateForm(Form3);
    a->CreateForm(Form4);
    a->CreateForm(FormWykChart);
    a->CreateForm(FormWykChart2);
    return a;
  }();
  return *app;
}

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
    Application();
    Form3->Show();
    tk::testing::ProcessEvents();
  }
  void SetUp() override {
    tk::SetDecimalSeparator(',');
    std::string tmpl = testsupport::TempPath("reliability_files_XXXXXX");
    folder = mkdtemp(tmpl.data());
    // Fill both charts, so that their metafiles hold something.
    ASSERT_TRUE(presser.Run({"dP(mi)", [] { Form3->BitBtn6->OnClick(Form3->BitBtn6); }}, "setup").ok);
    ASSERT_TRUE(presser.Run({"J mi=var", [] { Form3->BitBtn8->OnClick(Form3->BitBtn8); }}, "setup").ok);
  }
  void TearDown() override {
    for (const std::string& f : Files(folder)) {
      const std::string p = folder + "/" + f;
      if (rmdir(p.c_str()) != 0) unlink(p.c_str());
    }
    rmdir(folder.c_str());
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
  void ExpectFailed(const Press& press, const std::string& name, const std::string& earlier,
                    const std::string& what) {
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
  EveryFailure({"profile chart EMF", [] { FormWykChart2->Chart1->OnDblClick(FormWykChart2->Chart1); }}, ".emf",
               Emf);
}

}  // namespace
}  // namespace reliability
