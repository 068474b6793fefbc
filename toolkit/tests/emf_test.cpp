// Enhanced metafiles: the file's structure (header, record chain, end
// record), the records a chart export holds, and files written whole or not
// at all.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/core/Errors.h"
#include "toolkit/emf/EmfRecords.h"
#include "toolkit/emf/WholeFile.h"
#include "tests/support/TestFiles.h"

using namespace tk;
using namespace tk::emf;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  if (at + 4 > b.size()) throw std::out_of_range("read past the end");
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
int32_t I32(const std::vector<uint8_t>& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

struct Record {
  uint32_t type;
  size_t at, size;
};

// Walks the records from the header to the end record, checking that their
// sizes chain exactly to the end of the file.
std::vector<Record> Walk(const std::vector<uint8_t>& f) {
  std::vector<Record> out;
  size_t at = 0;
  while (at < f.size()) {
    const uint32_t type = U32(f, at), size = U32(f, at + 4);
    EXPECT_GE(size, 8u) << "record " << out.size();
    EXPECT_EQ(size % 4, 0u) << "record " << out.size();
    if (size < 8 || at + size > f.size()) {
      ADD_FAILURE() << "record " << out.size() << " runs past the end";
      break;
    }
    out.push_back({type, at, size});
    at += size;
    if (type == EMR_EOF) break;
  }
  EXPECT_EQ(at, f.size()) << "bytes after the end record";
  return out;
}

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

std::u16string TextOf(const std::vector<uint8_t>& f, const Record& r) {
  const uint32_t n = U32(f, r.at + 44), off = U32(f, r.at + 48);
  EXPECT_LE(off + 2 * n, r.size);
  std::u16string s;
  for (uint32_t i = 0; i < n; ++i) s += char16_t(f[r.at + off + 2 * i] | f[r.at + off + 2 * i + 1] << 8);
  return s;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A fresh folder for the files of one test.
struct TempDir {
  std::string path;
  TempDir() : path(testsupport::NewFolder("emf_test")) {}
  ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    if (DIR* d = opendir(path.c_str())) {
      while (dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) out.push_back(e->d_name);
      closedir(d);
    }
    return out;
  }
};

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

  TempDir dir;
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
  EXPECT_GT(count[EMR_POLYPOLYLINE], 5);  // the dotted grid lines
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
  TempDir dir;
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
  TempDir dir;
  const std::string name = dir.path + "/chart.emf";
  WriteText(name, "earlier picture");
  FileWriteHook previous = SetFileWriteHook([](size_t written) {
    if (written >= 65536) throw std::runtime_error("No space left on device");
  });
  try {
    WriteFileWhole(name, std::vector<uint8_t>(300000, 1));
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + name + "\". No space left on device");
  }
  // A failure after the last byte, before the file takes the name.
  SetFileWriteHook([](size_t written) {
    if (written == 10) throw std::runtime_error("Input/output error");
  });
  EXPECT_THROW(WriteFileWhole(name, std::vector<uint8_t>(10, 1)), EFCreateError);
  SetFileWriteHook(previous);
  std::vector<uint8_t> kept = ReadFile(name);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier picture");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"chart.emf"});
}

TEST(WholeFile, AFolderThatIsMissingOrATargetThatIsAFolderIsRefused) {
  TempDir dir;
  const std::string missing = dir.path + "/no-such-folder/chart.emf";
  try {
    WriteFileWhole(missing, {1});
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + missing + "\". ", 0), 0u) << e.what();
  }
  ASSERT_EQ(mkdir((dir.path + "/sub").c_str(), 0755), 0);
  EXPECT_THROW(WriteFileWhole(dir.path + "/sub", {1}), EFCreateError);
  EXPECT_THROW(WriteFileWhole("", {1}), EFCreateError);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"sub"});
}
