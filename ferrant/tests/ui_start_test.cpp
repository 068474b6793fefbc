// Start-up, the title window's clock and picture, and the confirmation that
// ends the program.
#include <ctime>

#include "tests/support/TestFiles.h"
#include "tests/support/WindowChecks.h"
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

using tk::testing::RecordingDialogs;

class StartTest : public OknaTest {};

TEST_F(StartTest, WindowsAreCreatedInOrderWithTheTitleWindowAsMain) {
  tk::TApplication& app = Aplikacja();
  ASSERT_EQ(app.Forms().size(), 7u);
  const std::vector<tk::TForm*> oczekiwane = {Form0, Form1, Form2, Form3, Form4, FormWykChart, FormWykChart2};
  EXPECT_EQ(app.Forms(), oczekiwane);
  EXPECT_EQ(app.MainForm(), Form0);
  // Only the selection window shows before the message loop shows the main window.
  EXPECT_TRUE(Form1->Visible());
  for (tk::TForm* f : std::vector<tk::TForm*>{Form2, Form3, Form4, FormWykChart, FormWykChart2})
    EXPECT_FALSE(f->Visible()) << f->Name;
  // The analysis windows have their defaults from their creation handlers.
  EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kKonduktywnosc), "55,0");
  EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kDlugosc), "3,2");
  EXPECT_EQ(Form4->StringGrid1->Cells(1, TForm4::kPromienW), "15,0  ");
  EXPECT_NE(PoleWalca, nullptr);
  EXPECT_NE(PoleCylindra, nullptr);
  EXPECT_NE(PolePrzeWar, nullptr);
}

std::vector<tk::TForm*> Okna() { return {Form0, Form1, Form2, Form3, Form4, FormWykChart, FormWykChart2}; }

TEST_F(StartTest, KeysPressEveryButtonAndTabStopsOnlyWhereTheUserSees) {
  testsupport::ExpectKeysPressButtonsAndTabToWhatShows(Okna());
  for (tk::TForm* f : Okna()) Schowaj(f);
}

TEST_F(StartTest, EveryControlWithinReachOnSmallScreens) {
  testsupport::ExpectEveryControlWithinReachOnSmallScreens(Okna());
}

TEST_F(StartTest, TitleWindowLayout) {
  EXPECT_EQ(Form0->Caption(), "Analiza pola elektromagnetycznego w współrzędnych  walcowych");
  EXPECT_EQ(Form0->Width(), 538);
  EXPECT_EQ(Form0->Height(), 462);
  EXPECT_EQ(Form0->StatusBar1->PanelCount(), 3);
  EXPECT_EQ(Form0->Timer1->Interval(), 1000);
  EXPECT_TRUE(Form0->Timer1->Enabled());
  // The picture: 525 x 417 in colour, from the top-left corner; white beyond it.
  auto img = Form0->Image1->Render();
  ASSERT_GE(img->Width(), 526);
  ASSERT_GE(img->Height(), 418);
  int kolorowe = 0;
  for (int y = 0; y < 417; y += 8)
    for (int x = 0; x < 525; x += 8) {
      const tk::TColor c = img->Pixel(x, y);
      if (tk::GetRValue(c) != tk::GetGValue(c) || tk::GetGValue(c) != tk::GetBValue(c)) ++kolorowe;
    }
  EXPECT_GT(kolorowe, 1000);
  EXPECT_NE(img->Pixel(524, 416), tk::clWhite);
  Form0->ShowForm();
  Form0->Timer1->Tick();
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form0, testsupport::PicturePath("ferrant_tytul.png")));
}

TEST_F(StartTest, ClockWritesDateAndTimeAndLeavesTheThirdPanelEmpty) {
  Form0->StatusBar1->SetPanelText(0, "");
  Form0->StatusBar1->SetPanelText(1, "");
  const long long przed = std::time(nullptr);
  Form0->Timer1->Tick();
  const long long po = std::time(nullptr);
  const std::string data = Form0->StatusBar1->PanelText(0);
  const std::string czas = Form0->StatusBar1->PanelText(1);
  EXPECT_TRUE(data == tk::ShortDateText(przed) || data == tk::ShortDateText(po)) << data;
  EXPECT_TRUE(czas == tk::LongTimeText(przed) || czas == tk::LongTimeText(po)) << czas;
  EXPECT_FALSE(czas.empty());
  for (int i = 0; i < 3; ++i) Form0->Timer1->Tick();
  EXPECT_EQ(Form0->StatusBar1->PanelText(2), "");
}

TEST_F(StartTest, ClosingTheSelectionWindowHidesItAndTheTitlePictureBringsItBack) {
  Form1->Label1->SetCaption("Wybrano - Aldrej  Gamma = 30.000");
  Form1->Close();
  tk::testing::ProcessEvents();
  EXPECT_FALSE(Form1->Visible());
  Form0->ShowForm();
  tk::testing::MouseClick(Form0->Image1, 200, 200);
  EXPECT_TRUE(Form1->Visible());
  EXPECT_EQ(Form1->Label1->Caption(), "Wybrano - Aldrej  Gamma = 30.000");
  EXPECT_EQ(Form1->StringGrid1->Cells(0, 3), "Aluminium");
}

TEST_F(StartTest, NoOrDismissingKeepsTheProgramAsItWas) {
  Form0->ShowForm();
  Form2->ShowForm();
  Form4->Hide();
  RecordingDialogs dialogs;
  dialogs.Answer(tk::mrNo);
  Form0->Close();
  tk::testing::ProcessEvents();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Czy zamknąć aplikację");
  EXPECT_EQ(dialogs.messages[0].icon, tk::MsgIcon::Question);
  EXPECT_EQ(dialogs.messages[0].buttons, unsigned(tk::mbYes | tk::mbNo));
  EXPECT_TRUE(Form0->Visible());
  EXPECT_TRUE(Form2->Visible());
  EXPECT_FALSE(Form4->Visible());

  dialogs.Answer(tk::mrCancel);  // the box closed without an answer
  Form0->Close();
  tk::testing::ProcessEvents();
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(Form0->Visible());
  EXPECT_TRUE(Form2->Visible());

  tk::TCloseAction action = tk::caHide;
  dialogs.Answer(tk::mrNo);
  Form0->FormClose(Form0, action);
  EXPECT_EQ(action, tk::caNone);
  Form2->Hide();
}

// Last in this program: a Yes ends the message loop, and the windows go with it.
TEST_F(StartTest, YesEndsTheProgram) {
  tk::TCloseAction action = tk::caHide;
  {
    RecordingDialogs dialogs;
    dialogs.Answer(tk::mrYes);
    Form0->FormClose(Form0, action);
  }
  EXPECT_EQ(action, tk::caHide);

  RecordingDialogs dialogs;
  dialogs.Answer(tk::mrYes);
  Form0->ShowForm();
  Form0->Close();
  tk::testing::ProcessEvents();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  // The loop has been told to stop: Run returns at once and frees the windows.
  Aplikacja().Run();
  EXPECT_TRUE(Aplikacja().Forms().empty());
}

}  // namespace
}  // namespace ferrant::uitest
