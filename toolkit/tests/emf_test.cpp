// Enhanced metafiles: the file's structure (header, record chain, end
// record), the records a chart export holds, and files written whole or not
// at all.
#include <dirent.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/AsNobody.h"
#include "tests/support/EmfFile.h"
#include "tests/support/TestFiles.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"
#include "toolkit/emf/EmfReader.h"
#include "toolkit/emf/EmfRecords.h"
#include "toolkit/files/WholeFile.h"
#include "toolkit/pictures/Jpeg.h"
#include "toolkit/testing/Memory.h"
#include "toolkit/testing/Testing.h"

using namespace tk;
using namespace tk::emf;
using testsupport::I32;
using testsupport::NamesIn;
using testsupport::ReadFile;
using testsupport::TextOf;
using testsupport::U32;
using testsupport::Walk;
using testsupport::WriteFile;
using Record = testsupport::EmfRecord;

namespace {

// The header's claims about the file agree with the file.
void CheckHeader(const std::vector<uint8_t>& f, const std::vector<Record>& recs, int widthPx, int heightPx) {
  ASSERT_FALSE(recs.empty());
  EXPECT_EQ(recs.front().type, EMR_HEADER);
  EXPECT_EQ(recs.back().type, EMR_EOF);
  EXPECT_EQ(recs.back().size, 20u);
  EXPECT_EQ(U32(f, 40), 0x464D4520u);  // " EMF"
  EXPECT_EQ(U32(f, 44), 0x10000u);
  EXPECT_EQ(U32(f, 48), f.size());
  EXPECT_EQ(U32(f, 52), recs.size());
  // The frame (hundredths of a millimetre) is the picture at 96 dpi.
  EXPECT_EQ(I32(f, 24), 0);
  EXPECT_EQ(I32(f, 28), 0);
  EXPECT_NEAR(I32(f, 32) + 1, widthPx * 2540.0 / 96, 1.0);
  EXPECT_NEAR(I32(f, 36) + 1, heightPx * 2540.0 / 96, 1.0);
  // The bounds lie within the picture.
  EXPECT_GE(I32(f, 8), 0);
  EXPECT_GE(I32(f, 12), 0);
  EXPECT_LT(I32(f, 16), widthPx);
  EXPECT_LT(I32(f, 20), heightPx);
  // Every object handle lies inside the handle table.
  const uint32_t handles = uint32_t(f[56]) | uint32_t(f[57]) << 8;
  for (const Record& r : recs)
    if (r.type == EMR_CREATEPEN || r.type == EMR_CREATEBRUSHINDIRECT || r.type == EMR_EXTCREATEFONTINDIRECTW ||
        r.type == EMR_EXTCREATEPEN) {
      const uint32_t h = U32(f, r.at + 8);
      EXPECT_GE(h, 1u);
      EXPECT_LT(h, handles);
    }
}

// The box text of a save, empty when it succeeded.
std::string Refusal(const std::string& name, const std::vector<uint8_t>& bytes) {
  try {
    WriteFileWhole(name, bytes);
    return "";
  } catch (const EFCreateError& e) {
    return e.what();
  }
}

// A file system of 64 KiB for one test: a tmpfs mounted in the mount
// namespace of a child process, which holds it until the test ends (also
// when the test program dies).  The test reaches it through the child's
// /proc/<pid>/root.  Root may mount it; another user only inside a user
// namespace of his own, where the system allows one.  `why` says why not.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& mountPoint) {
    int ready[2];
    if (pipe(ready) != 0) {
      why = "no pipe";
      return;
    }
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    holder_ = fork();
    if (holder_ == 0) {
      close(ready[0]);
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      auto map = [](const char* file, const std::string& text) {
        const int fd = open(file, O_WRONLY);
        const bool ok = fd >= 0 && write(fd, text.data(), text.size()) == ssize_t(text.size());
        if (fd >= 0) close(fd);
        return ok;
      };
      const char* failed = nullptr;
      if (unshare(CLONE_NEWNS | (uid == 0 ? 0 : CLONE_NEWUSER)) != 0) failed = "unshare";
      else if (uid != 0 &&
               !(map("/proc/self/setgroups", "deny") && map("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                 map("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")))
        failed = "the user namespace's maps";
      else if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) failed = "a private mount table";
      else if (mount("small", mountPoint.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) failed = "mount";
      const std::string answer = failed ? std::string(failed) + ": " + std::strerror(errno) : "";
      if (write(ready[1], answer.data(), answer.size() + 1) > 0 && failed == nullptr) pause();
      _exit(0);
    }
    close(ready[1]);
    char answer[200] = "";
    const ssize_t n = holder_ > 0 ? read(ready[0], answer, sizeof answer - 1) : -1;
    close(ready[0]);
    if (n == 1) path = "/proc/" + std::to_string(holder_) + "/root" + mountPoint;
    else why = "cannot mount a small tmpfs here (" + std::string(n > 1 ? answer : "no child") + ")";
  }
  ~SmallDisk() {
    if (holder_ <= 0) return;
    kill(holder_, SIGKILL);
    waitpid(holder_, nullptr, 0);
  }
  std::string path, why;

 private:
  pid_t holder_ = -1;
};

// The box text of a save run in the folder as the user nobody: empty when it
// succeeded, none when nobody cannot be had here.
std::optional<std::string> RefusalAsNobody(const std::string& folder, const std::string& name,
                                           const std::vector<uint8_t>& bytes) {
  const testsupport::NobodyRun run = testsupport::AsNobody(folder, [&] { return Refusal(name, bytes); });
  if (!run.ran) return std::nullopt;
  return run.status == 0 ? run.text : "the child failed";
}

// A JPEG of noise, which does not compress: about 30 KiB.
std::vector<uint8_t> NoisyJpeg() {
  TBitmap b(130, 110);
  uint32_t x = 12345;
  for (int row = 0; row < 110; ++row)
    for (int col = 0; col < 130; ++col) {
      x = x * 1103515245u + 12345u;
      b.Canvas().SetPixel(col, row, RGBColor((x >> 8) & 255, (x >> 16) & 255, (x >> 24) & 255));
    }
  TJPEGImage jpeg;
  jpeg.Assign(b);
  jpeg.CompressionQuality = 100;
  return jpeg.SaveToBytes();
}

}  // namespace

TEST(EmfRecords, HeaderRecordsAndTextChainToTheEndRecord) {
  EmfRecords rec(200, 100);
  rec.SetMapping();
  rec.SetBkModeTransparent();
  const uint32_t pen = rec.CreatePen(PS_SOLID, 8, 0x0000FF);
  rec.SelectObject(pen);
  rec.Polyline({{0, 0}, {800, 400}, {1592, 0}});
  LogFont lf;
  lf.escapement = 900;
  const uint32_t font = rec.CreateFont(lf);
  rec.SelectObject(font);
  rec.ExtTextOut({80, 400}, u"Zażółć", {40, 40, 40, 40, 40, 40}, LRect{10, 40, 40, 60});  // odd length: padded
  rec.SaveDC();
  rec.IntersectClipRect({0, 0, 400, 400});
  rec.RestoreDC();
  rec.DeleteObject(pen);
  const std::vector<uint8_t> f = rec.Finish();
  const std::vector<Record> recs = Walk(f);
  CheckHeader(f, recs, 200, 100);
  EXPECT_EQ(U32(f, 4), 108u);
  size_t texts = 0;
  for (const Record& r : recs) {
    if (r.type == EMR_EXTTEXTOUTW) {
      ++texts;
      EXPECT_EQ(TextOf(f, r), u"Zażółć");
      const uint32_t offDx = U32(f, r.at + 72);
      EXPECT_EQ(offDx + 4 * 6, r.size);
      EXPECT_EQ(I32(f, r.at + 36), 80);  // reference point
      EXPECT_EQ(I32(f, r.at + 40), 400);
    }
    if (r.type == EMR_EXTCREATEFONTINDIRECTW) {
      EXPECT_EQ(I32(f, r.at + 20), 900);  // escapement
      EXPECT_EQ(f[r.at + 40], 'A');       // face "Arial" in UTF-16
      EXPECT_EQ(f[r.at + 41], 0);
    }
  }
  EXPECT_EQ(texts, 1u);
  // The drawn bounds: the polyline reaches (199, 50) in pixels.
  EXPECT_EQ(I32(f, 16), 199);
}

// A preview costs what its picture is worth, whatever the file holds: each
// kind of flood the reader lets through (it keeps within the reader's own
// counts) ends in the drawing's bound, one of saved states in the walk's
// own, and values at the ends of their range draw (the sanitizer build
// checks the arithmetic).
TEST(EmfDraw, EveryFloodEndsInTheDrawingsBound) {
  TApplication app("Program");
  std::mt19937 rng(7);
  auto at = [&] { return LPoint{int32_t(rng() % 1600), int32_t(rng() % 800)}; };
  auto line = [&](size_t n) {
    std::vector<LPoint> p(n);
    for (LPoint& q : p) q = at();
    return p;
  };
  auto text = [&](EmfRecords& r, int32_t escapement, int records) {
    LogFont lf;
    lf.escapement = escapement;
    r.SelectObject(r.CreateFont(lf));
    for (int i = 0; i < records; ++i) r.ExtTextOut(at(), std::u16string(1000, u'W'), std::vector<int32_t>(1000, 1), {});
  };
  const std::vector<std::tuple<const char*, std::function<void(EmfRecords&)>, EmfVerdict>> cases{
      {"a long thick round-joined polyline",
       [&](EmfRecords& r) {
         r.SelectObject(r.ExtCreatePen(PS_GEOMETRIC, 5 * kSub, 0));
         r.Polyline(line(4000));
       },
       EmfVerdict::TooLarge},
      {"a self-crossing polyline", [&](EmfRecords& r) { r.Polyline(line(100000)); }, EmfVerdict::TooLarge},
      {"a self-crossing filled polygon",
       [&](EmfRecords& r) {
         r.SelectObject(r.CreateSolidBrush(0xFF));
         r.Polygon(line(10000));
       },
       EmfVerdict::TooLarge},
      {"many dotted lines",
       [&](EmfRecords& r) {
         r.SelectObject(r.CreatePen(PS_DOT, 0, 0));
         for (int i = 0; i < 30000; ++i) r.Polyline(line(2));
       },
       EmfVerdict::TooLarge},
      {"many rotated characters", [&](EmfRecords& r) { text(r, 450, 40); }, EmfVerdict::TooLarge},
      {"many pictures",
       [&](EmfRecords& r) {
         for (int i = 0; i < 2000; ++i) r.StretchDib({0, 0, 1600, 800}, 1, 1, {0xFF0000});
       },
       EmfVerdict::TooLarge},
      {"an escapement of INT32_MIN", [&](EmfRecords& r) { text(r, INT32_MIN, 1); }, EmfVerdict::Picture}};
  for (const auto& [what, draw, expected] : cases) {
    EmfRecords rec(200, 100);
    rec.SetMapping();
    draw(rec);
    const std::vector<uint8_t> f = rec.Finish();
    EXPECT_EQ(ReadEmf(f.data(), f.size(), nullptr, nullptr), EmfVerdict::Picture) << what;
    EmfVerdict verdict;
    EXPECT_EQ(DrawEmf(f.data(), f.size(), 218, 218, &verdict) != nullptr, expected == EmfVerdict::Picture) << what;
    EXPECT_EQ(verdict, expected) << what;
  }
  EmfRecords saves(200, 100);  // states saved and restored: the walk's own bound
  for (int i = 0; i < 40000; ++i) saves.SaveDC(), saves.RestoreDC();
  const std::vector<uint8_t> f = saves.Finish();
  EXPECT_EQ(ReadEmf(f.data(), f.size(), nullptr, nullptr), EmfVerdict::TooLarge);
}

TEST(EmfChart, ExportHoldsTheChartAsRecordsWhateverTheExtension) {
  TForm form;
  form.SetBounds(0, 0, 781, 565);
  auto* chart = new TChart(&form);
  chart->SetAlign(alClient);
  chart->Title.Text = {"Zależność strat mocy", "", ""};
  chart->Title.Font.Name = "Arial";
  chart->Title.Font.Height = -15;
  chart->Title.Font.Style = fsBold;
  chart->Title.Font.Color = clBlue;
  chart->LeftAxis.Title = "Straty mocy w przewodzie w [kW]";
  chart->BottomAxis.Title = "Przenikalność względna przewodu";
  chart->GradientVisible = true;
  chart->GradientEndColor = clSilver;
  TChartSeries* s = chart->AddSeries();
  for (int i = 0; i <= 40; ++i) s->Add(std::sqrt(1.0 + i), std::to_string(i == 0 ? 1 : 5 * i), RGBColor(0, 0, 255));

  const testsupport::ScratchFolder dir("emf_test");
  const std::string name = dir.path + "/x.jpg";
  chart->SaveToMetafileEnh(name);
  const std::vector<uint8_t> f = ReadFile(name);
  ASSERT_GT(f.size(), 108u);
  EXPECT_EQ(U32(f, 0), EMR_HEADER);
  const std::vector<Record> recs = Walk(f);
  CheckHeader(f, recs, chart->Width(), chart->Height());

  std::map<uint32_t, int> count;
  bool title = false, bluePen = false, rotatedFont = false, label200 = false;
  for (const Record& r : recs) {
    ++count[r.type];
    if (r.type == EMR_EXTTEXTOUTW) {
      const std::u16string t = TextOf(f, r);
      title = title || t == u"Zależność strat mocy";
      label200 = label200 || t == u"200";
    }
    if (r.type == EMR_CREATEPEN && U32(f, r.at + 24) == 0xFF0000) bluePen = true;  // COLORREF of blue
    if (r.type == EMR_EXTCREATEFONTINDIRECTW && I32(f, r.at + 20) == 900) rotatedFont = true;
    // Line patterns are drawn as their dashes, never left to the reader.
    if (r.type == EMR_CREATEPEN) {
      EXPECT_EQ(U32(f, r.at + 12), PS_SOLID);
    }
    if (r.type == EMR_EXTCREATEPEN) {
      EXPECT_EQ(U32(f, r.at + 28) & 0xF, PS_SOLID);
    }
  }
  EXPECT_TRUE(title);
  EXPECT_TRUE(label200);
  EXPECT_TRUE(bluePen);
  EXPECT_TRUE(rotatedFont);  // the left axis title reads upwards
  EXPECT_GT(count[EMR_POLYLINE], 10);
  EXPECT_GT(count[EMR_POLYPOLYLINE], 5);          // the dotted grid lines
  EXPECT_GT(count[EMR_CREATEBRUSHINDIRECT], 20);  // the background gradient in bands
  EXPECT_EQ(count[EMR_SAVEDC], count[EMR_RESTOREDC]);
  EXPECT_EQ(count[EMR_EOF], 1);
  // Every object made is deleted again.
  EXPECT_EQ(count[EMR_CREATEPEN] + count[EMR_EXTCREATEPEN] + count[EMR_CREATEBRUSHINDIRECT] +
                count[EMR_EXTCREATEFONTINDIRECTW],
            count[EMR_DELETEOBJECT]);

  // The same bytes as in memory, and the file replaced on a second save.
  EXPECT_EQ(f, chart->MetafileEnhBytes());
  chart->SaveToMetafileEnh(name);
  EXPECT_EQ(ReadFile(name), f);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"x.jpg"});
}

TEST(WholeFile, WritesTheBytesWithTheUsualPermissions) {
  const testsupport::ScratchFolder dir("emf_test");
  const std::string name = dir.path + "/a.emf";
  const std::vector<uint8_t> bytes(200000, 7);
  WriteFileWhole(name, bytes);
  EXPECT_EQ(ReadFile(name), bytes);
  struct stat st;
  ASSERT_EQ(stat(name.c_str(), &st), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
  // Relative names land in the working folder.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.path.c_str()), 0);
  WriteFileWhole("b.emf", {1, 2, 3});
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(ReadFile(dir.path + "/b.emf"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(WholeFile, AFailureMidwayLeavesTheEarlierFileAndNoTemporaryFile) {
  const testsupport::ScratchFolder dir("emf_test");
  const std::string name = dir.path + "/chart.emf";
  WriteFile(name, "earlier picture");
  FileWriteHook previous = SetFileWriteHook([](size_t written) {
    if (written >= 65536) throw std::runtime_error("No space left on device");
  });
  EXPECT_EQ(Refusal(name, std::vector<uint8_t>(300000, 1)),
            "Cannot create file \"" + name + "\". No space left on device");
  // A failure after the last byte, before the file takes the name.
  SetFileWriteHook([](size_t written) {
    if (written == 10) throw std::runtime_error("Input/output error");
  });
  EXPECT_THROW(WriteFileWhole(name, std::vector<uint8_t>(10, 1)), EFCreateError);
  std::vector<uint8_t> kept = ReadFile(name);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier picture");

  // A small save over a large file with two names, written in place, keeps
  // and reserves no more than the new contents need, and cuts the file only
  // once they are written: the failure after the last byte leaves it whole.
  const std::string big = dir.path + "/big.emf", other = dir.path + "/other.emf";
  std::ofstream{big};
  ASSERT_EQ(truncate(big.c_str(), off_t(1) << 30), 0);  // sparse: no disk taken
  ASSERT_EQ(link(big.c_str(), other.c_str()), 0);
  const std::vector<uint8_t> small(300000, 9);
  SetFileWriteHook([&](size_t written) {
    if (written == small.size()) throw std::runtime_error("Input/output error");
  });
  const bool peakReset = tk::testing::ResetPeakMemory();
  const long peakBefore = tk::testing::PeakMemoryKiB();
  EXPECT_THROW(WriteFileWhole(big, small), EFCreateError);
  if (peakReset) {
    EXPECT_LT(tk::testing::PeakMemoryKiB() - peakBefore, 16 * 1024) << "KiB held by a save of 300 000 bytes";
  }
  struct stat st;
  ASSERT_EQ(stat(big.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, off_t(1) << 30);
  EXPECT_LT(st.st_blocks * 512, 4 * off_t(small.size())) << "bytes reserved for a save of 300 000 bytes";
  std::vector<char> head(small.size(), 1);
  std::ifstream(big, std::ios::binary).read(head.data(), std::streamsize(head.size()));
  EXPECT_EQ(std::count(head.begin(), head.end(), 0), std::ptrdiff_t(head.size()));
  SetFileWriteHook(previous);
  WriteFileWhole(big, small);
  EXPECT_EQ(ReadFile(other), small);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"big.emf", "chart.emf", "other.emf"}));
}

TEST(WholeFile, AFolderThatIsMissingOrATargetThatIsAFolderIsRefused) {
  const testsupport::ScratchFolder dir("emf_test");
  const std::string missing = dir.path + "/no-such-folder/chart.emf";
  const std::string why = Refusal(missing, {1});
  EXPECT_EQ(why.rfind("Cannot create file \"" + missing + "\". ", 0), 0u) << why;
  ASSERT_EQ(mkdir((dir.path + "/sub").c_str(), 0755), 0);
  EXPECT_THROW(WriteFileWhole(dir.path + "/sub", {1}), EFCreateError);
  EXPECT_THROW(WriteFileWhole("", {1}), EFCreateError);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub"});
}

// On a small disk with 20 KiB free a save of 30 KiB fails with the reason,
// and costs nothing: not a file with two names (written in place), not
// another user's file in a shared folder that he may write but not read
// (written in place, as the folder's other files may not be replaced), not a
// file yet to be made.  A write that
// fails after the room was found puts the earlier bytes back.  With room,
// each of these saves succeeds.
TEST(WholeFile, AFullDiskNeverCostsTheEarlierFile) {
  const testsupport::ScratchFolder dir("emf_test");
  ASSERT_EQ(mkdir((dir.path + "/disk").c_str(), 0755), 0);
  SmallDisk disk(dir.path + "/disk");
  if (!disk.why.empty()) GTEST_SKIP() << disk.why;
  const std::vector<uint8_t> jpeg = NoisyJpeg();
  ASSERT_GT(jpeg.size(), 28000u);
  ASSERT_LT(jpeg.size(), 40000u);
  const std::string d = disk.path, a = d + "/a.jpg", b = d + "/b.jpg", shared = d + "/shared";
  const std::string earlier = "an earlier picture";
  WriteFile(a, earlier);
  ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
  ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
  ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
  WriteFile(shared + "/theirs.jpg", earlier);
  ASSERT_EQ(chmod((shared + "/theirs.jpg").c_str(), 0622), 0);
  struct statvfs fs;
  ASSERT_EQ(statvfs(d.c_str(), &fs), 0);
  WriteFile(d + "/ballast", std::string(fs.f_bavail * fs.f_frsize - 20 * 1024, 'x'));
  const std::vector<std::string> names = {"a.jpg", "b.jpg", "ballast", "shared"};
  const std::vector<uint8_t> kept(earlier.begin(), earlier.end());
  bool asNobody = geteuid() == 0;

  EXPECT_EQ(Refusal(b, jpeg), "Cannot create file \"" + b + "\". No space left on device");
  EXPECT_EQ(ReadFile(a), kept);
  EXPECT_EQ(Refusal(d + "/new.jpg", jpeg), "Cannot create file \"" + d + "/new.jpg\". No space left on device");
  EXPECT_EQ(NamesIn(d), names);
  const std::optional<std::string> theirs = asNobody ? RefusalAsNobody(shared, "theirs.jpg", jpeg) : std::nullopt;
  if (theirs) {
    EXPECT_EQ(*theirs, "Cannot create file \"theirs.jpg\". No space left on device");
    EXPECT_EQ(ReadFile(shared + "/theirs.jpg"), kept);
    EXPECT_EQ(NamesIn(shared), std::vector<std::string>{"theirs.jpg"});
  } else {
    asNobody = false;
    std::printf("[ note ] no other user to be here (needs root and nobody): the shared-folder case is not run\n");
  }

  ASSERT_EQ(unlink((d + "/ballast").c_str()), 0);
  FileWriteHook previous = SetFileWriteHook([](size_t) { throw std::runtime_error("Input/output error"); });
  EXPECT_EQ(Refusal(b, jpeg), "Cannot create file \"" + b + "\". Input/output error");
  SetFileWriteHook(previous);
  EXPECT_EQ(ReadFile(a), kept);

  EXPECT_EQ(Refusal(b, jpeg), "");
  EXPECT_EQ(ReadFile(a), jpeg);
  ASSERT_TRUE(unlink(a.c_str()) == 0 && unlink(b.c_str()) == 0);  // room for the next save
  EXPECT_EQ(Refusal(d + "/new.jpg", jpeg), "");
  EXPECT_EQ(ReadFile(d + "/new.jpg"), jpeg);
  if (asNobody) {
    ASSERT_EQ(unlink((d + "/new.jpg").c_str()), 0);
    EXPECT_EQ(RefusalAsNobody(shared, "theirs.jpg", jpeg), "");
    EXPECT_EQ(ReadFile(shared + "/theirs.jpg"), jpeg);
    EXPECT_EQ(NamesIn(shared), std::vector<std::string>{"theirs.jpg"});
  }
}

// Each refused name names its true reason: pipes and a socket reached
// through /proc/self/fd, a file of the kernel, and a name longer than a
// folder allows, typed into the save dialog, which must not swallow it.
TEST(WholeFile, EveryRefusalNamesItsReason) {
  int pipeEnds[2], sockets[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
  auto fd = [](int n) { return "/proc/self/fd/" + std::to_string(n); };
  for (int end : pipeEnds)
    EXPECT_EQ(Refusal(fd(end), {1}), "Cannot create file \"" + fd(end) + "\". It is a pipe, not a regular file");
  EXPECT_EQ(Refusal(fd(sockets[0]), {1}),
            "Cannot create file \"" + fd(sockets[0]) + "\". It is a socket, not a regular file");
  for (int f : {pipeEnds[0], pipeEnds[1], sockets[0], sockets[1]}) close(f);
  EXPECT_EQ(Refusal("/proc/kmsg", {1}),
            "Cannot create file \"/proc/kmsg\". It is a file of the kernel, not a regular file");
  for (const std::string folder : {"/proc", "/sys"}) {
    struct statfs fs;
    if (statfs(folder.c_str(), &fs) != 0 || !KernelFileSystem(static_cast<long>(fs.f_type))) continue;
    EXPECT_EQ(Refusal(folder + "/new.jpg", {1}),
              "Cannot create file \"" + folder + "/new.jpg\". Its folder cannot hold a new file");
  }

  TApplication app("Program");
  const testsupport::ScratchFolder dir("emf_test");
  const std::string base = std::string(300, 'x') + ".jpg", name = dir.path + "/" + base;
  // The name is typed again while the dialog is still open (it may still be
  // settling into its folder); in the end it is cancelled.
  int answers = 0;
  TTimer t(nullptr);
  t.SetInterval(20);
  t.OnTimer = [&](TObject*) {
    tk::testing::FileDialogView open;
    if (!tk::testing::ViewFileDialog(&open)) return;
    if (++answers < 20) tk::testing::TypeIntoFileDialog(base);
    else tk::testing::AnswerFileDialog("", nullptr, nullptr);
  };
  TSavePictureDialog save;
  save.Filter = kGraphicFilter;
  save.FileName = dir.path + "/picture.jpg";  // opens in that folder
  ASSERT_TRUE(save.Execute()) << "the dialog did not take the long name";
  t.SetEnabled(false);
  EXPECT_EQ(Refusal(save.FileName, {1}), "Cannot create file \"" + name + "\". File name too long");
  EXPECT_TRUE(dir.Names().empty());
}
