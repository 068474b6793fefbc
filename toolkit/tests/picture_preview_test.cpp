// The picture dialogs' preview pane: what it shows for each listed type of
// picture, for our own metafiles, and for files it must not or cannot read;
// and the metafile reader on damaged files.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tests/support/Pixels.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Watchdog.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/controls/PicturePreview.h"
#include "toolkit/emf/EmfReader.h"
#include "toolkit/emf/EmfRecords.h"
#include "toolkit/pictures/Jpeg.h"
#include "toolkit/testing/Memory.h"
#include "toolkit/testing/PictureFiles.h"
#include "toolkit/testing/Testing.h"

using namespace tk;
namespace tt = tk::testing;
using testsupport::Near;
using tt::InfoHeader;
using tt::LibJpeg;
using tt::ManyScans;
using tt::PutLe;
using tt::RunLengthBmp;

namespace {

// A picture of w x h, its left half red and its right half blue, as bottom-up
// rows of blue, green, red (and alpha when `alpha`), each row padded to four bytes.
std::vector<uint8_t> HalvesRows(int w, int h, bool alpha) {
  std::vector<uint8_t> rows;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) PutLe(rows, (x < w / 2 ? 0xFF0000u : 0x0000FFu) | 0xFF000000u, alpha ? 4 : 3);
    while (rows.size() % 4 != 0) rows.push_back(0);
  }
  return rows;
}

std::vector<uint8_t> HalvesBmp() {
  const std::vector<uint8_t> rows = HalvesRows(200, 100, false);
  std::vector<uint8_t> b{'B', 'M'};
  for (uint32_t v : {uint32_t(54 + rows.size()), 0u, 54u}) PutLe(b, v, 4);
  for (auto part : {InfoHeader(200, 100, 24, rows.size()), rows}) b.insert(b.end(), part.begin(), part.end());
  return b;
}

// One 32 x 32 picture of 32 bits with its (empty) mask.
std::vector<uint8_t> HalvesIco() {
  std::vector<uint8_t> dib = InfoHeader(32, 64, 32, 0), rows = HalvesRows(32, 32, true);
  rows.resize(rows.size() + 32 * 4, 0);
  dib.insert(dib.end(), rows.begin(), rows.end());
  std::vector<uint8_t> b;
  for (uint32_t v : {0u, 1u, 1u}) PutLe(b, v, 2);
  for (uint32_t v : {32u, 32u, 0u, 0u}) PutLe(b, v, 1);
  for (uint32_t v : {1u, 32u}) PutLe(b, v, 2);
  for (uint32_t v : {uint32_t(dib.size()), 22u}) PutLe(b, v, 4);
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

std::vector<uint8_t> HalvesJpeg() {
  std::vector<uint32_t> px(200 * 100);
  for (size_t i = 0; i < px.size(); ++i) px[i] = i % 200 < 100 ? 0xFF0000u : 0x0000FFu;
  return EncodeJpeg(200, 100, px.data(), 95);
}

// A chart as the programs export it: a gradient, a title, axes and a line.
struct SmallChart {
  TForm form;
  TChart* chart;
  SmallChart() {
    form.SetBounds(0, 0, 440, 220);
    chart = new TChart(&form);
    chart->SetAlign(alClient);
    chart->Title.Text = {"Straty mocy"};
    chart->GradientVisible = true;
    chart->GradientEndColor = clSilver;
    TChartSeries* s = chart->AddSeries();
    s->SeriesColor = clRed;
    s->LineWidth = 3;
    for (int i = 0; i <= 20; ++i) s->AddXY(i, std::sqrt(i), "", clRed);
  }
};

// The mean difference per colour channel between the pane's picture area and
// the chart as the window draws it, reduced and centred in the area's frame
// as the pane shows pictures.
double MeanDifference(const TBitmap& area, const TBitmap& chart) {
  const int inner = area.Width() - 2;
  const double scale = std::min(double(inner) / chart.Width(), double(inner) / chart.Height());
  const int w = int(std::lround(chart.Width() * scale)), h = int(std::lround(chart.Height() * scale));
  const int x0 = (area.Width() - w) / 2, y0 = (area.Height() - h) / 2;
  double sum = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // The chart's pixels that fall on this one, averaged.
      double c[3] = {0, 0, 0};
      int n = 0;
      for (int v = int(y / scale); v < int((y + 1) / scale); ++v)
        for (int u = int(x / scale); u < int((x + 1) / scale); ++u, ++n) {
          const TColor b = chart.Pixel(u, v);
          c[0] += GetRValue(b), c[1] += GetGValue(b), c[2] += GetBValue(b);
        }
      const TColor a = area.Pixel(x0 + x, y0 + y);
      if (n > 0)
        sum +=
            std::abs(GetRValue(a) - c[0] / n) + std::abs(GetGValue(a) - c[1] / n) + std::abs(GetBValue(a) - c[2] / n);
    }
  return sum / (3.0 * w * h);
}

}  // namespace

// Each type the dialogs list, clicked in the file list of a real dialog: the
// pictures show scaled to fit with their size above them, our metafile as
// the chart shows itself; a metafile of the older kind, one with a record we
// never write and a truncated one leave the pane empty and say why.
TEST(PicturePreview, ShowsEachListedTypeAndSaysWhyNot) {
  TApplication app("Program");
  const std::string dir = testsupport::TempPath("preview");
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  SmallChart chart;
  chart.form.ShowForm();
  tt::ProcessEvents();
  const std::vector<uint8_t> emf = chart.chart->MetafileEnhBytes();
  std::vector<uint8_t> other = emf;
  other[184] = 25;  // the background mode's record becomes the background colour's, one we never write
  testsupport::WriteFile(dir + "/halves.jpg", HalvesJpeg());
  testsupport::WriteFile(dir + "/halves.bmp", HalvesBmp());
  testsupport::WriteFile(dir + "/halves.ico", HalvesIco());
  testsupport::WriteFile(dir + "/chart.emf", emf);
  testsupport::WriteFile(dir + "/other.emf", other);
  testsupport::WriteFile(dir + "/cut.emf", std::vector<uint8_t>(emf.begin(), emf.begin() + long(emf.size() / 2)));
  testsupport::WriteFile(dir + "/picture.wmf", std::vector<uint8_t>{0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0});
  ASSERT_EQ(symlink("/proc/self/status", (dir + "/status.bmp").c_str()), 0);
  const std::vector<std::string> names{"halves.jpg", "halves.bmp", "halves.ico",  "chart.emf",
                                       "other.emf",  "cut.emf",    "picture.wmf", "status.bmp"};
  std::vector<tt::FilePreviewView> seen(names.size());
  size_t next = 0;
  bool clicked = false;
  testsupport::Watchdog watchdog(60, "the picture dialog's preview");
  TTimer t(nullptr);
  t.SetInterval(20);
  t.OnTimer = [&](TObject*) {
    if (next == names.size()) {
      tt::AnswerFileDialog("", nullptr, nullptr);
    } else if (!clicked) {
      clicked = tt::ClickFileInDialog(dir + "/" + names[next]);
    } else if (tt::ViewFilePreview(&seen[next])) {
      clicked = false;
      ++next;
    }
  };
  TOpenPictureDialog open;
  open.FileName = dir + "/";
  open.Filter = kGraphicFilter;
  EXPECT_FALSE(open.Execute());
  t.SetEnabled(false);
  watchdog.Disarm();
  ASSERT_EQ(next, names.size());
  for (size_t i = 0; i < 3; ++i) {
    const TBitmap& p = *seen[i].picture;
    const int cx = p.Width() / 2, cy = p.Height() / 2;
    EXPECT_TRUE(Near(p.Pixel(cx - 8, cy), clRed) && Near(p.Pixel(cx + 8, cy), clBlue)) << names[i];
    EXPECT_EQ(p.Pixel(cx, 8), clWhite) << names[i];  // the margin above a picture smaller than the pane
  }
  EXPECT_EQ(seen[0].text, "200 × 100");
  EXPECT_EQ(seen[1].text, "200 × 100");
  EXPECT_EQ(seen[2].text, "32 × 32");
  EXPECT_EQ(seen[3].text, "440 × 220");
  EXPECT_LT(MeanDifference(*seen[3].picture, *chart.chart->Render()), 15.0);  // a blank area differs by 38
  const std::vector<std::string> why{"Brak podglądu tego rysunku", "Uszkodzony plik rysunku",
                                     "Brak podglądu tego rysunku", "To nie jest zwykły plik"};
  for (size_t i = 4; i < names.size(); ++i) {
    EXPECT_EQ(seen[i].text, why[i - 4]) << names[i];
    const TBitmap& p = *seen[i].picture;
    EXPECT_EQ(p.Pixel(p.Width() / 2, p.Height() / 2), clWhite) << names[i];
  }
  EXPECT_TRUE(seen[3].picture->SaveToPng(testsupport::PicturePath("preview_chart.png")));
}

// Files the pane must not read, or cannot: a pipe and a device (opening them
// would wait or act), a file larger than a preview reads, a picture claiming
// more pixels than a preview decodes, and truncated pictures of each kind.
// None raises, none waits, and each says why.  A metafile of one polyline
// just under the size a preview reads is refused as too large to draw,
// having taken little memory: it is read a window at a time, never whole.
TEST(PicturePreview, FilesThatCannotBeShownSayWhyWithoutWaiting) {
  TApplication app("Program");
  const std::string dir = testsupport::TempPath("unreadable");
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  ASSERT_EQ(mkfifo((dir + "/pipe.jpg").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", (dir + "/zero.bmp").c_str()), 0);
  ASSERT_EQ(truncate((std::ofstream(dir + "/huge.emf"), dir + "/huge.emf").c_str(), off_t(64) << 20), 0);
  std::vector<uint8_t> jpeg = HalvesJpeg(), wide = jpeg;
  for (size_t i = 2; i + 8 < wide.size(); ++i)
    if (wide[i] == 0xFF && wide[i + 1] == 0xC0) {  // the frame header: 60000 x 60000
      wide[i + 5] = wide[i + 7] = 0xEA;
      wide[i + 6] = wide[i + 8] = 0x60;
      break;
    }
  testsupport::WriteFile(dir + "/wide.jpg", wide);
  testsupport::WriteFile(dir + "/cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 300));
  const std::vector<uint8_t> bmp = HalvesBmp(), ico = HalvesIco();
  testsupport::WriteFile(dir + "/cut.bmp", std::vector<uint8_t>(bmp.begin(), bmp.begin() + 3000));
  testsupport::WriteFile(dir + "/cut.ico", std::vector<uint8_t>(ico.begin(), ico.end() - 200));
  std::vector<uint8_t> vast = bmp;  // claims 2^31 - 1 pixels square: rows that overflow 64 bits
  for (size_t at : {18, 22}) vast[at] = vast[at + 1] = vast[at + 2] = 0xFF, vast[at + 3] = 0x7F;
  testsupport::WriteFile(dir + "/vast.bmp", vast);
  testsupport::Watchdog watchdog(30, "a preview of a file it cannot show");
  const std::vector<std::pair<std::string, std::string>> cases{
      {"pipe.jpg", "To nie jest zwykły plik"},         {"zero.bmp", "To nie jest zwykły plik"},
      {"huge.emf", "Rysunek jest za duży na podgląd"}, {"wide.jpg", "Rysunek jest za duży na podgląd"},
      {"cut.jpg", "Uszkodzony plik rysunku"},          {"cut.bmp", "Uszkodzony plik rysunku"},
      {"cut.ico", "Uszkodzony plik rysunku"},          {"missing.ico", "Nie można odczytać pliku"},
      {"vast.bmp", "Uszkodzony plik rysunku"}};
  for (const auto& [name, why] : cases) {
    const PicturePreview p = LoadPicturePreview(dir + "/" + name, 218, 218);
    EXPECT_EQ(p.text, why) << name;
    EXPECT_EQ(p.picture, nullptr) << name;
  }
  {
    emf::EmfRecords flood(200, 100);
    flood.SetMapping();
    std::vector<emf::LPoint> line(4000000);
    for (size_t i = 0; i < line.size(); ++i) line[i] = {int32_t(i * 7 % 1600), int32_t(i * 13 % 800)};
    flood.Polyline(line);
    testsupport::WriteFile(dir + "/flood.emf", flood.Finish());
  }
  tt::ResetPeakMemory();
  const long before = tt::PeakMemoryKiB();
  EXPECT_EQ(LoadPicturePreview(dir + "/flood.emf", 218, 218).text, "Rysunek jest za duży na podgląd");
  EXPECT_LT(tt::PeakMemoryKiB() - before, 12 << 10);  // KiB: a whole copy would take 31 MiB
  watchdog.Disarm();
}

// Raster files whose cost or contents the file itself chooses, each through
// the loader the pane calls: the verdict, no more pixels decoded than the
// pane needs (nothing at all for a refusal), the decoder chosen by the
// contents, and the same pixels on every load, the ones the file does not
// define white.
TEST(PicturePreview, RasterFilesCostNoMoreThanThePaneAndShowOnlyWhatTheyHold) {
  TApplication app("Program");
  const testsupport::ScratchFolder dir("raster");
  const std::vector<uint8_t> jpeg = HalvesJpeg(), bmp = HalvesBmp();
  // A frame header of 1 x 1 inside a comment that a stuffed zero hides from
  // libjpeg, before the real one.
  auto decoy = [&](int side) {
    std::vector<uint8_t> b{0xFF, 0xD8, 0xFF, 0x00, 0x00, 0x06, 0xFF, 0xFE, 0x00, 0x0F, 0xFF, 0xC0,
                           0x00, 0x0B, 0x08, 0x00, 0x01, 0x00, 0x01, 0x01, 0x01, 0x11, 0x00};
    const size_t at = b.size() - 2;
    b.insert(b.end(), jpeg.begin() + 2, jpeg.end());
    for (size_t i = at; i + 8 < b.size(); ++i)
      if (b[i] == 0xFF && b[i + 1] == 0xC0) {
        b[i + 5] = b[i + 7] = uint8_t(side >> 8);
        b[i + 6] = b[i + 8] = uint8_t(side);
        break;
      }
    return b;
  };
  std::vector<uint8_t> inks;  // red in Adobe's inverted inks
  for (int i = 0; i < 64 * 32; ++i) inks.insert(inks.end(), {255, 0, 0, 255});
  std::vector<uint8_t> zero = bmp, disagree{'B', 'M'};
  zero[10] = 0;  // the rows start after the header
  for (uint32_t v : {70u, 0u, 54u}) PutLe(disagree, v, 4);
  const std::vector<uint8_t> vast = InfoHeader(8000, 8000, 24, 16);
  disagree.insert(disagree.end(), vast.begin(), vast.end());
  disagree.resize(70);
  SmallChart chart;
  // Bottom row red; on the next four blue, then the end of the row; a skip
  // to (8, 2), two blue, and the end before the last rows.
  const std::vector<uint8_t> codes{16, 0, 0, 0, 4, 1, 0, 2, 4, 1, 2, 1, 0, 1};
  const std::string big = "Rysunek jest za duży na podgląd", damaged = "Uszkodzony plik rysunku";
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string text;
    int64_t decoded;  // at most
  };
  const std::vector<Case> cases{
      {"scans.jpg", ManyScans(64, 64, 3000), big, 0},
      {"some-scans.jpg", ManyScans(64, 64, 500), "64 × 64", 64 * 64},
      {"decoy.jpg", decoy(8000), big, 0},
      {"decoy-max.jpg", decoy(65500), big, 0},
      {"cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.end() - 100), damaged, 0},
      {"flat.jpg", LibJpeg(1600, 800, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, false, std::vector<uint8_t>(1600 * 800)),
       "1600 × 800", 4 * 218 * 218},
      {"inks.jpg", LibJpeg(64, 32, 4, JCS_CMYK, JCS_YCCK, false, inks), "64 × 32", 64 * 32},
      {"window.bmp", jpeg, "200 × 100", 200 * 100},
      {"chart.jpg", chart.chart->MetafileEnhBytes(), "440 × 220", 0},
      {"zero.bmp", zero, "200 × 100", 200 * 100},
      {"zero-cut.bmp", std::vector<uint8_t>(zero.begin(), zero.end() - 54), damaged, 0},
      {"disagree.bmp", disagree, big, 0},
      {"runs.bmp", RunLengthBmp(16, 8, codes), "16 × 8", 16 * 8},
      {"runs-cut.bmp", RunLengthBmp(16, 8, std::vector<uint8_t>(codes.begin(), codes.end() - 4)), damaged, 0},
      {"runs-wide.bmp", RunLengthBmp(4000, 2, {0, 1}), "4000 × 2", 4000 * 2}};
  for (const Case& c : cases) {
    testsupport::WriteFile(dir.path + "/" + c.name, c.bytes);
    const PicturePreview p = LoadPicturePreview(dir.path + "/" + c.name, 218, 218),
                         again = LoadPicturePreview(dir.path + "/" + c.name, 218, 218);
    EXPECT_EQ(p.text, c.text) << c.name;
    EXPECT_LE(p.decodedPixels, c.decoded) << c.name;
    EXPECT_EQ(p.picture == nullptr, c.text == big || c.text == damaged) << c.name;
    if (p.picture == nullptr || again.picture == nullptr) continue;
    int differ = 0;
    for (int y = 0; y < p.picture->Height(); ++y)
      for (int x = 0; x < p.picture->Width(); ++x) differ += p.picture->Pixel(x, y) != again.picture->Pixel(x, y);
    EXPECT_EQ(differ, 0) << c.name;
  }
  const PicturePreview shown = LoadPicturePreview(dir.path + "/inks.jpg", 218, 218);
  EXPECT_TRUE(Near(shown.picture->Pixel(32, 16), clRed)) << std::hex << shown.picture->Pixel(32, 16);
  const PicturePreview wide = LoadPicturePreview(dir.path + "/runs-wide.bmp", 218, 218);
  EXPECT_EQ(wide.picture->Pixel(100, 0), clWhite);  // picked down to the pane first
  const PicturePreview runs = LoadPicturePreview(dir.path + "/runs.bmp", 218, 218);
  const TBitmap& r = *runs.picture;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool blue = (y == 6 && x < 4) || (y == 5 && (x == 8 || x == 9));
      EXPECT_EQ(r.Pixel(x, y), y == 7 ? clRed : blue ? clBlue : clWhite) << x << "," << y;
    }
}

// The size column's count of bytes in Polish, for every form of the noun.
TEST(PicturePreview, ByteCountsTakeThePolishPlural) {
  const std::vector<std::pair<int64_t, std::string>> forms{
      {0, "0 bajtów"},      {1, "1 bajt"},       {2, "2 bajty"},      {4, "4 bajty"},      {5, "5 bajtów"},
      {11, "11 bajtów"},    {12, "12 bajtów"},   {14, "14 bajtów"},   {21, "21 bajtów"},   {22, "22 bajty"},
      {24, "24 bajty"},     {25, "25 bajtów"},   {112, "112 bajtów"}, {114, "114 bajtów"}, {168, "168 bajtów"},
      {1002, "1002 bajty"}, {1023, "1023 bajty"}};
  for (const auto& [n, text] : forms) EXPECT_EQ(ByteCountText(n), text);
}

// Whether two drawings are the same, pixel for pixel (or both absent).
bool SamePixels(const TBitmap* a, const TBitmap* b) {
  if (a == nullptr || b == nullptr) return a == b;
  if (a->Width() != b->Width() || a->Height() != b->Height()) return false;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x)
      if (a->Pixel(x, y) != b->Pixel(x, y)) return false;
  return true;
}

// A file in memory that the reader reads as it reads a file on disk.
struct MemoryFile {
  int fd;
  explicit MemoryFile(const std::vector<uint8_t>& b) : fd(memfd_create("metafile", MFD_CLOEXEC)) {
    EXPECT_EQ(write(fd, b.data(), b.size()), ssize_t(b.size()));
  }
  ~MemoryFile() { close(fd); }
};

// A bounded random test of the metafile reader: damaged copies of our own
// metafiles (a chart, and a picture with lines larger than the window the
// reader reads a file through) are drawn or refused, never read past their
// end (the sanitizer build sees that), and the undamaged ones draw.  Read
// from the file, each gives the verdict and the drawing it gives in memory;
// a file cut while it is read is damaged.
TEST(PicturePreview, DamagedMetafilesDrawOrAreRefused) {
  TApplication app("Program");
  SmallChart chart;
  std::mt19937 rng(20240611);
  emf::EmfRecords large(300, 260);
  large.SetMapping();
  std::vector<uint32_t> noise(300 * 260);
  for (uint32_t& v : noise) v = rng() & 0xFFFFFF;
  large.StretchDib({0, 0, 2399, 2079}, 300, 260, noise);
  large.SelectObject(large.CreatePen(emf::PS_DOT, 0, 0xFF));
  for (int i = 0; i < 300; ++i) large.Polyline({{int32_t(rng() % 2400), 0}, {0, int32_t(rng() % 2080)}});
  const std::vector<std::vector<uint8_t>> seeds{chart.chart->MetafileEnhBytes(), large.Finish()};
  int drawn = 0, refused = 0;
  for (int i = 0; i < 3000; ++i) {
    std::vector<uint8_t> b = seeds[size_t(i) % seeds.size()];
    for (int e = 1 + int(rng() % 4); e > 0; --e) {
      const size_t at = rng() % b.size();
      switch (rng() % 4) {
        case 0: b[at] = uint8_t(rng()); break;
        case 1: b[at] = uint8_t(0xFF * (rng() % 2)); break;
        case 2: b.resize(at); break;
        case 3: b.erase(b.begin() + long(at & ~size_t(3)), b.begin() + long(std::min(b.size(), (at & ~size_t(3)) + 4)));
      }
      if (b.empty()) break;
    }
    std::unique_ptr<uint8_t[]> copy(new uint8_t[b.size() + 1]);  // exact size: a read past it is caught
    std::copy(b.begin(), b.end(), copy.get());
    emf::EmfVerdict verdict;
    const std::unique_ptr<TBitmap> shown = emf::DrawEmf(copy.get(), b.size(), 64, 48, &verdict);
    EXPECT_EQ(shown != nullptr, verdict == emf::EmfVerdict::Picture);
    ++(shown ? drawn : refused);
    const MemoryFile file(b);
    const emf::EmfBytes read(file.fd, b.size());
    emf::EmfVerdict readVerdict;
    const std::unique_ptr<TBitmap> fromFile = emf::DrawEmf(read, 64, 48, &readVerdict);
    EXPECT_EQ(readVerdict, verdict) << i;
    EXPECT_TRUE(SamePixels(fromFile.get(), shown.get())) << i;
  }
  for (const std::vector<uint8_t>& seed : seeds) {
    emf::EmfVerdict verdict;
    EXPECT_NE(emf::DrawEmf(seed.data(), seed.size(), 64, 48, &verdict), nullptr);
    const MemoryFile file(seed);
    const emf::EmfBytes read(file.fd, seed.size());
    ASSERT_EQ(ftruncate(file.fd, off_t(seed.size() / 2)), 0);
    EXPECT_EQ(emf::DrawEmf(read, 64, 48, &verdict), nullptr);
    EXPECT_EQ(verdict, emf::EmfVerdict::Damaged);
  }
  EXPECT_GT(drawn, 0);
  EXPECT_GT(refused, 0);
}
