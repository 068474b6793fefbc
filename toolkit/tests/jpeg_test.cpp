// JPEG through libjpeg: what is written (baseline colour JFIF at the asked
// quality), what comes back, and library errors as "JPEG error #n".
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/Pixels.h"
#include "tests/support/TestFiles.h"
#include "toolkit/core/Errors.h"
#include "toolkit/pictures/Graphics.h"
#include "toolkit/pictures/Jpeg.h"

using namespace tk;
using testsupport::Near;

namespace {

// Four flat colour blocks (JPEG keeps flat areas nearly exact).
std::unique_ptr<TBitmap> Blocks(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  TCanvas& c = b->Canvas();
  const TColor colours[4] = {RGBColor(200, 30, 30), RGBColor(30, 160, 40), RGBColor(20, 40, 220),
                             RGBColor(250, 250, 250)};
  for (int i = 0; i < 4; ++i) {
    c.Brush.SetColor(colours[i]);
    c.Pen.Color = colours[i];
    c.FillRect(TRect{(i % 2) * w / 2, (i / 2) * h / 2, (i % 2 + 1) * w / 2, (i / 2 + 1) * h / 2});
  }
  return b;
}

// The start-of-frame marker's kind and component count.
bool FindFrame(const std::vector<uint8_t>& j, int& marker, int& components, int& width, int& height) {
  size_t at = 2;
  while (at + 4 <= j.size() && j[at] == 0xFF) {
    const int m = j[at + 1];
    const size_t len = size_t(j[at + 2]) << 8 | j[at + 3];
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      marker = m;
      height = j[at + 5] << 8 | j[at + 6];
      width = j[at + 7] << 8 | j[at + 8];
      components = j[at + 9];
      return true;
    }
    at += 2 + len;
  }
  return false;
}

void ExpectJpegError(const uint8_t* data, size_t size) {
  try {
    DecodeJpeg(data, size);
    ADD_FAILURE() << "decoded";
  } catch (const Exception& e) {
    EXPECT_TRUE(std::regex_match(e.Message(), std::regex("JPEG error #[0-9]+"))) << e.Message();
  }
}

}  // namespace

TEST(Jpeg, QualityHundredIsBaselineColourJfifThatReadsBack) {
  std::unique_ptr<TBitmap> b = Blocks(120, 80);
  const std::vector<uint8_t> j = EncodeJpeg(*b, 100);
  ASSERT_GT(j.size(), 20u);
  EXPECT_EQ(j[0], 0xFF);
  EXPECT_EQ(j[1], 0xD8);
  EXPECT_EQ(std::string(j.begin() + 6, j.begin() + 11), std::string("JFIF\0", 5));
  EXPECT_EQ(j[j.size() - 2], 0xFF);
  EXPECT_EQ(j[j.size() - 1], 0xD9);
  int marker = 0, components = 0, w = 0, h = 0;
  ASSERT_TRUE(FindFrame(j, marker, components, w, h));
  EXPECT_EQ(marker, 0xC0);  // baseline, not progressive
  EXPECT_EQ(components, 3);
  EXPECT_EQ(w, 120);
  EXPECT_EQ(h, 80);

  std::unique_ptr<TBitmap> back = DecodeJpeg(j.data(), j.size());
  ASSERT_EQ(back->Width(), 120);
  ASSERT_EQ(back->Height(), 80);
  for (int y = 4; y < 80; y += 8)
    for (int x = 4; x < 120; x += 8) {
      // Away from the block edges the colours come back within a few steps.
      if (std::abs(x - 60) < 4 || std::abs(y - 40) < 4) continue;
      EXPECT_TRUE(Near(back->Pixel(x, y), b->Pixel(x, y), 6)) << x << "," << y << " " << std::hex << back->Pixel(x, y);
    }

  // A lower quality gives a smaller stream of the same picture.
  EXPECT_LT(EncodeJpeg(*b, 10).size(), j.size());
}

TEST(Jpeg, ThePictureIsACopyAndTheFileIsJpegWhateverItsName) {
  std::unique_ptr<TBitmap> b = Blocks(64, 48);
  TJPEGImage jpeg;
  jpeg.Assign(*b);
  jpeg.CompressionQuality = 100;
  b->Canvas().Brush.SetColor(clBlack);
  b->Canvas().FillRect(TRect{0, 0, 64, 48});  // the copy is not touched
  const testsupport::ScratchFolder dir("jpeg_test");
  const std::string name = dir.path + "/picture.bmp";
  jpeg.SaveToFile(name);
  const std::vector<uint8_t> j = testsupport::ReadFile(name);
  ASSERT_GT(j.size(), 2u);
  EXPECT_EQ(j[0], 0xFF);
  EXPECT_EQ(j[1], 0xD8);
  std::unique_ptr<TBitmap> back = DecodeJpeg(j.data(), j.size());
  EXPECT_TRUE(Near(back->Pixel(8, 8), RGBColor(200, 30, 30), 6));

  TJPEGImage loaded;
  loaded.LoadFromBytes(j.data(), j.size());
  EXPECT_EQ(loaded.Width(), 64);
  EXPECT_TRUE(Near(loaded.ToBitmap()->Pixel(40, 40), RGBColor(250, 250, 250), 6));
}

TEST(Jpeg, LibraryErrorsBecomeJpegErrorWithTheMessageNumber) {
  const uint8_t garbage[] = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3, 4, 5, 6, 7, 8};
  ExpectJpegError(garbage, sizeof garbage);
  ExpectJpegError(garbage, 0);
  // A start-of-image marker followed by nonsense.
  const uint8_t broken[] = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x01, 0xFF, 0xD9};
  ExpectJpegError(broken, sizeof broken);
  // Nothing to encode.
  TBitmap empty(0, 0);
  try {
    EncodeJpeg(empty, 100);
    ADD_FAILURE() << "encoded";
  } catch (const Exception& e) {
    EXPECT_TRUE(std::regex_match(e.Message(), std::regex("JPEG error #[0-9]+"))) << e.Message();
  }
}

TEST(Jpeg, AStreamCutShortStillGivesThePictureItsSize) {
  std::unique_ptr<TBitmap> b = Blocks(96, 96);
  const std::vector<uint8_t> j = EncodeJpeg(*b, 90);
  // Cut in the middle of the picture data: the rest reads as if the picture
  // ended there (a warning, not an error).
  size_t sos = 2;
  while (sos + 1 < j.size() && !(j[sos] == 0xFF && j[sos + 1] == 0xDA)) ++sos;
  ASSERT_LT(sos + 40, j.size());
  std::unique_ptr<TBitmap> back = DecodeJpeg(j.data(), (sos + j.size()) / 2);
  EXPECT_EQ(back->Width(), 96);
  EXPECT_EQ(back->Height(), 96);
  EXPECT_TRUE(Near(back->Pixel(10, 10), RGBColor(200, 30, 30), 8));
  // Cut inside the header: no picture at all.
  ExpectJpegError(j.data(), 30);
}
