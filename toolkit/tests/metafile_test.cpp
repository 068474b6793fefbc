// Recorded pictures: what a metafile canvas records is what a replay shows,
// and the recording is stored when the canvas ends, also on an error.
#include <gtest/gtest.h>

#include <stdexcept>

#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/Graphics.h"

using namespace tk;

namespace {

// The same drawing on any canvas.
void DrawScene(TCanvas& c) {
  c.Brush.SetColor(clWhite);
  c.Rectangle(0, 0, 120, 80);
  c.Pen.Color = clRed;
  c.MoveTo(10, 40);
  c.LineTo(100, 40);
  c.Pen.Color = clBlack;
  c.Brush.SetColor(clSilver);
  c.Ellipse(20, 10, 50, 30);
  c.Brush.SetColor(clWhite);
  c.Font.Style = fsBold;
  c.TextOut(60, 50, "12.5");
  TRect r{5, 55, 55, 80};
  c.DrawText("Gestosc J", r, dtWordBreak);
}

// A recording of one rectangle filled with a colour.
void Record(TMetafile& mf, int w, int h, TColor colour, TRect r) {
  TMetafileCanvas mc(mf, w, h);
  mc.Canvas().Brush.SetColor(colour);
  mc.Canvas().FillRect(r);
}

}  // namespace

TEST(Metafile, ReplayShowsExactlyWhatABitmapCanvasDraws) {
  TMetafile mf;
  EXPECT_TRUE(mf.Empty());
  {
    TMetafileCanvas mc(mf, 120, 80);
    DrawScene(mc.Canvas());
    EXPECT_TRUE(mf.Empty());  // stored only when the recording ends
  }
  EXPECT_FALSE(mf.Empty());
  EXPECT_EQ(mf.Width(), 120);
  EXPECT_EQ(mf.Height(), 80);
  auto replay = mf.Render(120, 80);
  TBitmap direct(120, 80);
  DrawScene(direct.Canvas());
  int differ = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 120; ++x) differ += replay->Pixel(x, y) != direct.Pixel(x, y);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(replay->Pixel(0, 0), clBlack);
  EXPECT_EQ(replay->Pixel(119, 79), clBlack);
  EXPECT_EQ(replay->Pixel(50, 40), clRed);
  EXPECT_EQ(replay->Pixel(100, 40), clWhite);
  EXPECT_EQ(replay->Pixel(35, 20), clSilver);
}

TEST(Metafile, ANewRecordingReplacesTheOldOne) {
  TMetafile mf;
  Record(mf, 50, 50, clRed, {0, 0, 50, 50});
  Record(mf, 40, 30, clBlue, {0, 0, 10, 10});
  EXPECT_EQ(mf.Width(), 40);
  auto b = mf.Render(50, 50);
  EXPECT_EQ(b->Pixel(5, 5), clBlue);
  EXPECT_EQ(b->Pixel(20, 20), clWhite);  // nothing of the first recording is left
}

TEST(Metafile, RecordingIsStoredWhenAnErrorInterruptsTheDrawing) {
  TMetafile mf;
  Record(mf, 60, 40, clYellow, {0, 0, 60, 40});
  try {
    TMetafileCanvas mc(mf, 60, 40);
    mc.Canvas().Brush.SetColor(clWhite);
    mc.Canvas().Rectangle(0, 0, 60, 40);
    throw std::runtime_error("Floating point division by zero");
  } catch (const std::runtime_error&) {
  }
  auto b = mf.Render(60, 40);
  EXPECT_EQ(b->Pixel(0, 0), clBlack);    // the frame drawn before the error
  EXPECT_EQ(b->Pixel(30, 20), clWhite);  // the white background, not the old yellow
}

TEST(Metafile, PictureAreaShowsTheRecordingAndFollowsANewOne) {
  TForm form;
  form.SetBounds(0, 0, 200, 150);
  TImage* img = new TImage(&form);
  img->SetBounds(10, 10, 120, 80);
  auto mf = std::make_shared<TMetafile>();
  img->SetMetafile(mf);
  EXPECT_EQ(img->Metafile(), mf.get());
  EXPECT_EQ(img->Bitmap(), nullptr);
  {
    TMetafileCanvas mc(*mf, 120, 80);
    DrawScene(mc.Canvas());
  }
  auto shown = img->Render();
  EXPECT_EQ(shown->Width(), 120);
  EXPECT_EQ(shown->Pixel(50, 40), clRed);
  Record(*mf, 120, 80, clGreen, {0, 0, 120, 80});
  EXPECT_EQ(img->Render()->Pixel(50, 40), clGreen);
}
