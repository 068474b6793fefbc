// Picture areas, status bar, timer, picture dialogs and the Qt boxes behind
// the message entry point; and a look at a window with a few controls.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <string>

#include "toolkit/Controls.h"
#include "toolkit/Testing.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"
#include "tests/support/TestFiles.h"

using namespace tk;
namespace tt = tk::testing;

TEST(Image, BitmapIsMadeAtThePictureSizeOnFirstUseAndKeepsItsSize) {
  TForm f;
  f.SetBounds(0, 0, 300, 200);
  TImage* img = new TImage(&f);
  img->SetBounds(5, 5, 127, 116);
  EXPECT_EQ(img->Bitmap(), nullptr);
  TCanvas& c = img->Canvas();
  ASSERT_NE(img->Bitmap(), nullptr);
  EXPECT_EQ(img->Bitmap()->Width(), 127);
  EXPECT_EQ(img->Bitmap()->Height(), 116);
  EXPECT_EQ(img->Bitmap()->Pixel(60, 60), clWhite);
  // Resizing the picture later leaves the bitmap as it was: pixels beyond it are ignored.
  img->SetWidth(120);
  img->SetHeight(img->Width());
  EXPECT_EQ(&img->Canvas(), &c);
  EXPECT_EQ(img->Bitmap()->Width(), 127);
  EXPECT_EQ(img->Bitmap()->Height(), 116);
  c.SetPixel(60, 118, clRed);
  c.SetPixel(60, 60, RGBColor(255, 0, 0));
  auto shown = img->Render();
  EXPECT_EQ(shown->Width(), 120);
  EXPECT_EQ(shown->Height(), 120);
  EXPECT_EQ(shown->Pixel(60, 60), clRed);
  EXPECT_EQ(shown->Pixel(60, 117), ColorToRGB(clBtnFace));  // below the bitmap: the parent shows
  // A recorded picture replaces the bitmap; the canvas then makes a new one.
  img->SetMetafile(std::make_shared<TMetafile>());
  EXPECT_EQ(img->Bitmap(), nullptr);
  img->Canvas();
  EXPECT_EQ(img->Bitmap()->Width(), 120);
  EXPECT_EQ(img->Metafile(), nullptr);
}

TEST(Image, ClickOnThePictureRunsOnClick) {
  TForm f;
  f.SetBounds(0, 0, 200, 200);
  TImage* img = new TImage(&f);
  img->SetBounds(10, 10, 100, 100);
  int clicks = 0;
  img->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, img);
    ++clicks;
  };
  f.ShowForm();
  tt::ClickButton(img);
  EXPECT_EQ(clicks, 1);
  f.Hide();
}

TEST(StatusBar, PanelsHoldTheirTextsAndRefuseOtherIndices) {
  TForm f;
  f.SetBounds(0, 0, 300, 100);
  TStatusBar* s = new TStatusBar(&f);
  for (int i = 0; i < 3; ++i) s->AddPanel(60);
  EXPECT_EQ(s->PanelCount(), 3);
  EXPECT_EQ(s->Align(), alBottom);
  EXPECT_EQ(s->Top() + s->Height(), 100);
  s->SetPanelText(1, "12:00:00");
  EXPECT_EQ(s->PanelText(1), "12:00:00");
  EXPECT_EQ(s->PanelText(2), "");
  EXPECT_THROW(s->PanelText(3), EListError);
}

TEST(Timer, TicksThroughTheDispatchAndStopsWhenDisabled) {
  tt::RecordingDialogs dialogs;
  TTimer t(nullptr);
  EXPECT_EQ(t.Interval(), 1000);
  EXPECT_TRUE(t.Enabled());
  int ticks = 0;
  t.OnTimer = [&](TObject*) {
    ++ticks;
    if (ticks == 2) throw Exception("tick failed");
  };
  t.Tick();
  t.Tick();
  EXPECT_EQ(ticks, 2);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "tick failed");
  // A real period: ticks come from the message loop.
  t.SetInterval(5);
  for (int i = 0; i < 200 && ticks < 4; ++i) {
    tt::ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_GE(ticks, 4);
  t.SetEnabled(false);
  const int stopped = ticks;
  for (int i = 0; i < 10; ++i) {
    tt::ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ticks, stopped);
}

TEST(PictureDialogs, FilterTitleAndNameGoThroughTheDialogEntryPoint) {
  tt::RecordingDialogs dialogs;
  TSavePictureDialog save;
  save.Title = "Zapisz rysunek jako metaplik *.emf";
  save.FileName = "*.emf";
  save.Filter = kGraphicFilter;
  dialogs.AnswerFile("/tmp/wykres.jpg");
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/tmp/wykres.jpg");
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  const FileDialogRequest& r = dialogs.fileDialogs[0];
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.title, "Zapisz rysunek jako metaplik *.emf");
  EXPECT_EQ(r.initialName, "*.emf");
  ASSERT_EQ(r.filter.size(), 7u);
  EXPECT_EQ(r.filter[0].first, "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)");
  EXPECT_EQ(r.filter[0].second, "*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf");
  EXPECT_EQ(r.filter[5].first, "Enhanced Metafiles (*.emf)");
  EXPECT_EQ(r.filter[6].second, "*.wmf");
  // Cancelled: false, and the name stays.
  TOpenPictureDialog open;
  open.FileName = " ";
  open.Filter = kGraphicFilter;
  EXPECT_FALSE(open.Execute());
  EXPECT_EQ(open.FileName, " ");
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_FALSE(dialogs.fileDialogs[1].save);
}

TEST(PictureDialogs, RecorderRestoresThePreviousHandlers) {
  tt::RecordingDialogs outer;
  {
    tt::RecordingDialogs inner;
    ShowErrorBox("A", "inner");
    EXPECT_EQ(inner.messages.size(), 1u);
  }
  outer.Answer(mrNo);
  EXPECT_EQ(ConfirmYesNo("?"), mrNo);
  EXPECT_EQ(ConfirmYesNo("?"), mrYes);  // queue empty: Yes
  EXPECT_EQ(outer.messages.size(), 2u);
  EXPECT_EQ(outer.messages[0].text, "?");
}

namespace {

// What the timer saw of a real box before answering it.
struct BoxAnswer {
  std::string title, text, buttons;
};

}  // namespace

TEST(QtBoxes, ConfirmationHasTheToolkitsCaptionAndButtons) {
  // The application installs the Qt handlers; a timer answers the real box.
  TApplication app("Program");
  BoxAnswer seen;
  TTimer t(nullptr);
  t.SetInterval(10);
  t.OnTimer = [&](TObject*) {
    std::string buttons;
    if (tt::AnswerModalBox("&No", &seen.title, &seen.text, &buttons)) seen.buttons = buttons;
  };
  EXPECT_EQ(ConfirmYesNo("Czy zamknąć aplikację"), mrNo);
  EXPECT_EQ(seen.title, "Confirm");
  EXPECT_EQ(seen.text, "Czy zamknąć aplikację");
  EXPECT_EQ(seen.buttons, "&Yes|&No");
  t.OnTimer = [&](TObject*) { tt::AnswerModalBox("", nullptr, nullptr, nullptr); };
  EXPECT_EQ(ConfirmYesNo("Escape"), mrNo);  // dismissed: No
  t.OnTimer = [&](TObject*) { tt::AnswerModalBox("OK", &seen.title, nullptr, nullptr); };
  ShowExceptionMessage("Floating point overflow");
  EXPECT_EQ(seen.title, "Program");
  t.SetEnabled(false);
}

TEST(QtBoxes, PictureDialogOffersTheFileTypesAndReturnsTheChosenName) {
  TApplication app("Program");
  std::string title;
  std::vector<std::string> filters;
  std::string answer = "/tmp/toolkit_dialog_test_picture.emf";
  TTimer t(nullptr);
  t.SetInterval(10);
  t.OnTimer = [&](TObject*) { tt::AnswerFileDialog(answer, &title, &filters); };
  TSavePictureDialog save;
  save.Title = "Zapisz rysunek jako metaplik *.emf";
  save.FileName = "*.emf";
  save.Filter = kGraphicFilter;
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, answer);
  EXPECT_EQ(title, "Zapisz rysunek jako metaplik *.emf");
  ASSERT_EQ(filters.size(), 7u);
  EXPECT_EQ(filters[0], "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf) (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf)");
  EXPECT_EQ(filters[3], "Bitmaps (*.bmp) (*.bmp)");
  answer.clear();
  TOpenPictureDialog open;
  open.FileName = " ";
  open.Filter = kGraphicFilter;
  EXPECT_FALSE(open.Execute());
  EXPECT_EQ(open.FileName, " ");
  t.SetEnabled(false);
}

TEST(Look, WindowWithAFewControls) {
  TForm f;
  f.SetBounds(0, 0, 420, 300);
  f.SetCaption("Controls");
  f.SetColor(clMenu);
  TFont bold;
  bold.Style = fsBold;
  TPanel* head = new TPanel(&f);
  head->SetBounds(0, 0, 420, 30);
  head->SetAlign(alTop);
  head->SetColor(clAqua);
  TFont big = bold;
  big.Height = -15;
  head->SetFont(big);
  head->SetCaption("Wybór  przewodów do analizy");
  TGroupBox* box = new TGroupBox(&f);
  box->SetBounds(10, 40, 200, 120);
  box->SetColor(clAqua);
  box->SetFont(bold);
  box->SetCaption("Warianty obliczeń");
  TBitBtn* b1 = new TBitBtn(box);
  b1->SetBounds(10, 25, 180, 25);
  b1->SetCaption("Pojemności cząstkowe");
  TBitBtn* b2 = new TBitBtn(box);
  b2->SetBounds(10, 60, 180, 25);
  TFont red = bold;
  red.Color = clRed;
  b2->SetFont(red);
  b2->SetCaption("Zadanej wysokości");
  TLabel* l = new TLabel(&f);
  l->SetBounds(220, 45, 100, 13);
  l->SetFont(bold);
  l->SetCaption("Wybrano - Aluminium  Gamma = 34,800");
  TImage* img = new TImage(&f);
  img->SetBounds(220, 70, 124, 124);
  TCanvas& c = img->Canvas();
  c.Pen.Color = clBlack;
  c.Brush.SetColor(clWhite);
  c.Rectangle(2, 2, 122, 122);
  c.Brush.SetColor(clFuchsia);
  c.Ellipse(10, 10, 114, 114);
  c.Brush.SetColor(clSilver);
  c.Ellipse(40, 40, 84, 84);
  TStatusBar* s = new TStatusBar(&f);
  for (int i = 0; i < 3; ++i) s->AddPanel(60);
  s->SetPanelText(0, "2024-01-01");
  s->SetPanelText(1, "12:00:00");
  f.ShowForm();
  tt::ProcessEvents();
  EXPECT_TRUE(tt::SaveWindowPng(&f, testsupport::PicturePath("toolkit_controls.png")));
  auto shot = f.GetFormImage();
  EXPECT_EQ(shot->Width(), 420);
  EXPECT_EQ(shot->Height(), 300);
  EXPECT_EQ(shot->Pixel(220 + 62, 70 + 62), clSilver);  // the picture's core
  EXPECT_EQ(shot->Pixel(220 + 20, 70 + 62), clFuchsia);
  EXPECT_EQ(shot->Pixel(400, 200), ColorToRGB(clMenu));
  EXPECT_EQ(shot->Pixel(5, 15), clAqua);
  f.Hide();
}

TEST(Timer, StopsWithItsOwnersWindow) {
  TForm* f = new TForm();
  TTimer* t = new TTimer(f);
  t->SetInterval(1);
  int ticks = 0;
  t->OnTimer = [&](TObject*) { ++ticks; };
  delete f;
  for (int i = 0; i < 5; ++i) {
    tt::ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
  EXPECT_EQ(ticks, 0);
  delete t;  // the timer object itself may still be freed
}

TEST(FaultFlags, DrawingAndWindowCallsKeepThePendingFlagsOfAComputation) {
  TForm f;
  f.SetBounds(0, 0, 200, 100);
  TLabel* l = new TLabel(&f);
  TImage* img = new TImage(&f);
  img->SetBounds(0, 20, 100, 60);
  volatile double zero = 0.0;
  volatile double x = 1.0 / zero;  // a pending division by zero
  (void)x;
  ASSERT_TRUE(FpFaultPending());
  TCanvas& c = img->Canvas();
  c.Rectangle(0, 0, 50, 50);
  c.TextOut(2, 2, "1.5E+0002");
  TRect r{0, 0, 60, 0};
  c.DrawText("Gęstość prądu", r, dtWordBreak | dtCalcRect);
  l->SetCaption("text");
  l->SetBounds(1, 1, 50, 13);
  f.ShowForm();
  tt::ProcessEvents();
  EXPECT_TRUE(FpFaultPending());
  EXPECT_THROW(FpCheck(), EZeroDivide);
  f.Hide();
}
