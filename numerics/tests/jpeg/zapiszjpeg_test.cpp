// Saving a window's picture as JPEG through the save-picture dialog.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "numerics/Typy4Jpeg.h"
#include "tests/support/TestFiles.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"
#include "toolkit/files/WholeFile.h"
#include "toolkit/pictures/Jpeg.h"
#include "toolkit/testing/Testing.h"

using namespace tk;
using testsupport::ReadFile;

namespace {

std::unique_ptr<TBitmap> Picture() {
  auto b = std::make_unique<TBitmap>(80, 60);
  b->Canvas().Brush.SetColor(RGBColor(0, 0, 255));
  b->Canvas().FillRect(TRect{0, 0, 40, 60});
  return b;
}

}  // namespace

TEST(ZapiszJpeg, AConfirmedNameGetsJpegDataWhateverItsExtension) {
  const testsupport::ScratchFolder dir("zapiszjpeg");
  tk::testing::RecordingDialogs dialogs;
  TSavePictureDialog dialog;
  dialog.Filter = kGraphicFilter;
  const std::string name = dir.path + "/okno.bmp";
  dialogs.AnswerFile(name);
  std::unique_ptr<TBitmap> b = Picture();
  num::ZapiszJpeg(*b, dialog, 100);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_TRUE(dialogs.fileDialogs[0].save);
  EXPECT_TRUE(dialogs.messages.empty());
  const std::vector<uint8_t> j = ReadFile(name);
  ASSERT_GT(j.size(), 4u);
  EXPECT_EQ(j[0], 0xFF);
  EXPECT_EQ(j[1], 0xD8);
  std::unique_ptr<TBitmap> back = DecodeJpeg(j.data(), j.size());
  EXPECT_EQ(back->Width(), 80);
  EXPECT_EQ(back->Height(), 60);
  const TColor left = back->Pixel(10, 30), right = back->Pixel(70, 30);
  EXPECT_LE(GetRValue(left), 8);
  EXPECT_GE(GetBValue(left), 247);
  EXPECT_GE(GetRValue(right), 247);
  EXPECT_EQ(b->Pixel(10, 30), RGBColor(0, 0, 255));  // the caller's bitmap as it was
}

TEST(ZapiszJpeg, ACancelledDialogWritesAndShowsNothing) {
  const testsupport::ScratchFolder dir("zapiszjpeg");
  tk::testing::RecordingDialogs dialogs;
  dialogs.CancelFile();
  TSavePictureDialog dialog;
  num::ZapiszJpeg(*Picture(), dialog, 100);
  EXPECT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(dir.Names().empty());
}

TEST(ZapiszJpeg, AFailedWriteLeavesTheEarlierFileAndReachesTheCaller) {
  const testsupport::ScratchFolder dir("zapiszjpeg");
  const std::string name = dir.path + "/okno.jpg";
  std::ofstream(name) << "earlier";
  tk::testing::RecordingDialogs dialogs;
  TSavePictureDialog dialog;
  dialogs.AnswerFile(name);
  FileWriteHook previous = SetFileWriteHook([](size_t) { throw std::runtime_error("Disk full"); });
  EXPECT_THROW(num::ZapiszJpeg(*Picture(), dialog, 100), EFCreateError);
  SetFileWriteHook(previous);
  const std::vector<uint8_t> kept = ReadFile(name);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"okno.jpg"});

  dialogs.AnswerFile(dir.path + "/missing/okno.jpg");
  try {
    num::ZapiszJpeg(*Picture(), dialog, 100);
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + dir.path + "/missing/okno.jpg\".", 0), 0u);
  }
  EXPECT_TRUE(dialogs.messages.empty());  // the caller's dispatch shows it, not this routine
}
