// Picture areas, status bar, timer, picture dialogs and the Qt boxes behind
// the message entry point; and a look at a window with a few controls.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/Screen.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Watchdog.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"

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

// The short dates and long times of the usual locales fit their 60-pixel
// panels: each is drawn whole, and ends short of the column where a panel
// cuts a text too long for it.
TEST(StatusBar, ShortDatesAndLongTimesFitTheirPanels) {
  TForm f;
  f.SetBounds(0, 0, 300, 60);
  TStatusBar* s = new TStatusBar(&f);
  for (int i = 0; i < 3; ++i) s->AddPanel(60);
  f.ShowForm();
  // The first and last columns of dark ink in the panel.
  auto ink = [&](int panel) {
    tt::ProcessEvents();
    auto shot = f.GetFormImage();
    std::pair<int, int> cols{-1, -1};
    for (int x = panel * 60; x < panel * 60 + 60; ++x)
      for (int y = s->Top(); y < s->Top() + s->Height(); ++y) {
        const TColor c = shot->Pixel(x, y);
        if (GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) {
          if (cols.first < 0) cols.first = x;
          cols.second = x;
          break;
        }
      }
    return cols;
  };
  TBitmap measure(10, 10);
  measure.Canvas().Font = s->Font();
  for (int panel = 0; panel < 2; ++panel) {
    s->SetPanelText(panel, "88888888888888");
    const int cut = ink(panel).second;
    for (const std::string text : {"09.12.2026", "12/09/2026", "2026-12-09", "23:59:59", "11:59:59 PM"}) {
      s->SetPanelText(panel, text);
      const auto [first, last] = ink(panel);
      EXPECT_LT(last, cut) << text << " in panel " << panel << " is cut";
      EXPECT_GE(last - first + 1, measure.Canvas().TextWidth(text) - 3) << text << " in panel " << panel;
    }
    s->SetPanelText(panel, "");
  }
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

// The save dialog starts with the name it was given ("*.emf" in its name
// box) and takes an existing file's name without asking: the save replaces
// the file's contents, as the programs say.  On a screen of 800 x 600 it
// lies within the screen with its frame, and Qt's own texts speak the
// user's language: Polish under pl_PL, English under C (a run of each).
TEST(QtBoxes, PictureDialogOffersTheFileTypesAndReturnsTheChosenName) {
  if (!testsupport::OnScreen()) {
    testsupport::RunOnScreen(800, 600, {"LC_ALL=C", "LANGUAGE="});
    if (!tt::QtTranslationInstalled("pl_PL")) GTEST_SKIP() << "Qt's Polish translations are not installed";
    return testsupport::RunOnScreen(800, 600, {"LC_ALL=pl_PL.UTF-8", "LANGUAGE="});
  }
  const bool polish = std::string(std::getenv("LC_ALL")).rfind("pl", 0) == 0;
  TApplication app("Program");
  testsupport::ScratchFolder dir("toolkit_controls");
  std::string title, question;
  std::vector<std::string> filters;
  tt::FileDialogView shown;
  std::string answer = dir.path + "/picture.emf";
  std::fclose(std::fopen(answer.c_str(), "w"));
  TTimer t(nullptr);
  t.SetInterval(10);
  t.OnTimer = [&](TObject*) {
    if (shown.title.empty()) tt::ViewFileDialog(&shown);
    tt::AnswerFileDialog(answer, &title, &filters);
  };
  // A question opens inside the dialog's answer, so another timer sees it.
  TTimer q(nullptr);
  q.SetInterval(10);
  q.OnTimer = [&](TObject*) {
    if (tt::DismissQuestionBox(&question)) answer.clear();  // then the dialog is cancelled
  };
  TSavePictureDialog save;
  save.Title = "Zapisz rysunek jako metaplik *.emf";
  save.FileName = "*.emf";
  save.Filter = kGraphicFilter;
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(question, "");
  EXPECT_EQ(save.FileName, dir.path + "/picture.emf");
  EXPECT_EQ(shown.nameText, "*.emf");
  EXPECT_EQ(shown.buttons, polish ? "&Zachowaj|Anuluj" : "&Save|Cancel");
  EXPECT_TRUE(shown.frame.Left >= 0 && shown.frame.Top >= 0 && shown.frame.Right <= 800 && shown.frame.Bottom <= 600)
      << "(" << shown.frame.Left << ", " << shown.frame.Top << ") to (" << shown.frame.Right << ", "
      << shown.frame.Bottom << ")";
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
  q.SetEnabled(false);
}

// A folder that holds a pipe, and /proc and /dev typed into the name box as
// a user going there would: neither dialog waits for a reader or a writer of
// any file it lists (the watchdog ends the run if one does).
TEST(QtBoxes, PictureDialogsNeverWaitOnPipesOrSpecialFiles) {
  TApplication app("Program");
  testsupport::ScratchFolder dir("toolkit_controls");
  ASSERT_EQ(mkfifo((dir.path + "/pipe.jpg").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo((dir.path + "/pipe.emf").c_str(), 0644), 0);
  testsupport::Watchdog watchdog(60, "a picture dialog listing a pipe, /proc or /dev");
  std::vector<std::string> folders;  // the folders the dialog showed, in turn
  int step = 0;
  TTimer t(nullptr);
  t.SetInterval(40);
  t.OnTimer = [&](TObject*) {
    tt::FileDialogView v;
    if (!tt::ViewFileDialog(&v)) return;
    switch (++step) {
      case 3:
      case 6:
      case 9:
        folders.push_back(v.folder);
        tt::TypeIntoFileDialog(step == 3 ? "/proc/" : step == 6 ? "/dev/" : dir.path + "/");
        break;
      case 12:
        step = 0;
        tt::AnswerFileDialog("", nullptr, nullptr);
        break;
    }
  };
  TSavePictureDialog save;
  save.FileName = dir.path + "/picture.jpg";
  save.Filter = kGraphicFilter;
  EXPECT_FALSE(save.Execute());
  TOpenPictureDialog open;
  open.FileName = dir.path + "/pipe.jpg";
  open.Filter = kGraphicFilter;
  EXPECT_FALSE(open.Execute());
  t.SetEnabled(false);
  EXPECT_EQ(folders, (std::vector<std::string>{dir.path, "/proc", "/dev", dir.path, "/proc", "/dev"}));
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

// A window frees the timer and dialogs it owns, once: the timer stops with
// it; one freed earlier has left it.  The sanitizer build finds a part freed
// twice or never.
TEST(Timer, StopsWithItsOwnersWindowWhichFreesItAndTheDialogs) {
  struct Counted : TTimer {
    Counted(TWinControl* owner, int& freed) : TTimer(owner), freed_(freed) {}
    ~Counted() override { ++freed_; }
    int& freed_;
  };
  int freed = 0;
  TForm* f = new TForm();
  TTimer* t = new Counted(f, freed);
  EXPECT_EQ(t->Owner(), f);
  t->SetInterval(1);
  int ticks = 0;
  t->OnTimer = [&](TObject*) { ++ticks; };
  new TSavePictureDialog(f);
  new TOpenPictureDialog(f);
  delete new TSavePictureDialog(f);  // freed by its creator before the window
  delete new Counted(f, freed);
  EXPECT_EQ(freed, 1);
  delete f;
  EXPECT_EQ(freed, 2);
  for (int i = 0; i < 5; ++i) {
    tt::ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
  EXPECT_EQ(ticks, 0);
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
