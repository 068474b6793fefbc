// Windows and their events: showing, activation, closing, the message loop,
// focus leaving a control before a button's click, and errors in handlers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/Screen.h"
#include "tests/support/Watchdog.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"
#include "toolkit/testing/TestingEvents.h"

using namespace tk;
namespace tt = tk::testing;

namespace {

// A window with an editable-looking control (a panel that can take focus is
// not needed: two buttons take the focus on press) and a label.
class SampleForm : public TForm {
 public:
  SampleForm() {
    SetBounds(100, 100, 300, 200);
    SetCaption("Sample");
    Panel1 = new TPanel(this);
    Panel1->SetBounds(0, 0, 300, 40);
    Panel1->SetAlign(alTop);
    BitBtn1 = new TBitBtn(Panel1);
    BitBtn1->SetBounds(5, 5, 90, 25);
    BitBtn1->SetCaption("First");
    BitBtn2 = new TBitBtn(Panel1);
    BitBtn2->SetBounds(100, 5, 90, 25);
    BitBtn2->SetCaption("Second");
    Label1 = new TLabel(this);
    Label1->SetBounds(10, 60, 100, 13);
    Label1->SetCaption("start");
  }
  // A group box holding a button, which stands for a grid: a focusable
  // control inside.
  TGroupBox* AddBox(TBitBtn*& inner) {
    TGroupBox* box = new TGroupBox(this);
    box->SetBounds(10, 80, 200, 80);
    inner = new TBitBtn(box);
    inner->SetBounds(10, 20, 80, 25);
    return box;
  }
  TPanel* Panel1;
  TBitBtn* BitBtn1;
  TBitBtn* BitBtn2;
  TLabel* Label1;
};

}  // namespace

TEST(Form, ShowRunsOnShowOnlyWhenTheWindowBecomesVisible) {
  SampleForm f;
  int shows = 0, activations = 0;
  f.OnShow = [&](TObject*) { ++shows; };
  f.OnActivate = [&](TObject*) { ++activations; };
  EXPECT_FALSE(f.Visible());
  f.ShowForm();
  tt::ActivateWindow(&f);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(shows, 1);
  EXPECT_GE(activations, 1);
  EXPECT_TRUE(f.Active());
  f.ShowForm();  // already visible: brought to front only
  tt::ProcessEvents();
  EXPECT_EQ(shows, 1);
  f.Close();  // a secondary window (no application here) hides
  EXPECT_FALSE(f.Visible());
  f.ShowForm();
  tt::ProcessEvents();
  EXPECT_EQ(shows, 2);
  f.Hide();
}

TEST(Form, ActivationOfAnotherWindowAndBack) {
  SampleForm a, b;
  int activations = 0;
  a.OnActivate = [&](TObject*) { ++activations; };
  a.ShowForm();
  tt::ActivateWindow(&a);
  const int first = activations;
  b.ShowForm();
  tt::ActivateWindow(&b);
  EXPECT_FALSE(a.Active());
  a.BringToFront();
  tt::ActivateWindow(&a);
  EXPECT_EQ(activations, first + 1);
  a.Hide();
  b.Hide();
}

TEST(Form, CloseQueryAndCloseActionCanRefuse) {
  SampleForm f;
  f.ShowForm();
  bool allow = false;
  int closes = 0;
  f.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  f.OnClose = [&](TObject*, TCloseAction& action) {
    ++closes;
    EXPECT_EQ(action, caHide);
  };
  f.Close();
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(closes, 0);  // a refused query stops before OnClose
  allow = true;
  f.OnClose = [&](TObject*, TCloseAction& action) {
    ++closes;
    action = caNone;
  };
  f.Close();
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(closes, 1);
  f.OnClose = nullptr;
  f.Close();
  EXPECT_FALSE(f.Visible());
}

TEST(Form, ThrowingCloseHandlerKeepsTheWindowAndReportsTheError) {
  tt::RecordingDialogs dialogs;
  SampleForm f;
  f.ShowForm();
  f.OnClose = [&](TObject*, TCloseAction&) { throw EConvertError("'x' is not a valid integer value"); };
  f.Close();
  EXPECT_TRUE(f.Visible());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "'x' is not a valid integer value");
  f.Hide();
}

// On a screen of 1366 x 768 a window that would reach beyond it is moved
// into it, as little as needed, with its frame; one that fits stays where
// its layout puts it, and keeps its size.  One larger than the screen takes
// the screen's size in that direction, and its client area keeps its own.
// The programs' windows, then a seeded sweep of positions and sizes, some
// centred on the screen.
TEST(Form, AWindowThatWouldNotFitTheScreenIsMovedIntoIt) {
  if (!testsupport::OnScreen()) return testsupport::RunOnScreen(1366, 768);
  const int W = 1366, H = 768;
  struct Case {
    int x, y, w, h;
    bool centred;
  };
  std::vector<Case> cases = {{736, 116, 860, 518, false},
                             {120, 40, 800, 749, false},
                             {140, 60, 758, 724, false},
                             {0, 0, 711, 708, false},
                             {192, 116, 538, 462, false},
                             {192, 107, 781, 565, false},
                             {1366 - 20, 768 - 20, 300, 200, false},
                             {0, 0, 1600, 900, true}};
  std::mt19937 rng(20261209);
  for (int i = 0; i < 150; ++i)
    cases.push_back({static_cast<int>(rng() % 2000) - 300, static_cast<int>(rng() % 1300) - 300,
                     50 + static_cast<int>(rng() % 1450), 50 + static_cast<int>(rng() % 850), i % 5 == 0});
  for (const Case& c : cases) {
    TForm f;
    f.SetBounds(c.x, c.y, c.w, c.h);
    if (c.centred) f.SetPosition(poScreenCenter);
    f.ShowForm();
    tt::ProcessEvents();
    // The frame around the client area, as the window system draws it.
    const TPoint client = f.ClientToScreen({0, 0});
    const int side = client.X - f.Left(), top = client.Y - f.Top();
    const bool wide = c.w + 2 * side > W, tall = c.h + top + side > H;
    const TRect frame = tt::WindowFrame(&f);
    const int x0 = c.centred ? (W - c.w) / 2 : c.x, y0 = c.centred ? (H - c.h) / 2 : c.y;
    const std::string what = "window " + std::to_string(c.w) + "x" + std::to_string(c.h) + " at (" +
                             std::to_string(c.x) + ", " + std::to_string(c.y) + ")" + (c.centred ? " centred" : "");
    EXPECT_TRUE(frame.Left >= 0 && frame.Top >= 0 && frame.Right <= W && frame.Bottom <= H) << what;
    EXPECT_EQ(f.Left(), std::clamp(x0, 0, W - frame.Width())) << what;
    EXPECT_EQ(f.Top(), std::clamp(y0, 0, H - frame.Height())) << what;
    if (!wide && !tall) {
      EXPECT_EQ(frame.Width(), c.w + 2 * side) << what;
      EXPECT_EQ(frame.Height(), c.h + top + side) << what;
    }
    if (wide) {
      EXPECT_EQ(frame.Width(), W) << what;
    }
    if (tall) {
      EXPECT_EQ(frame.Height(), H) << what;
    }
    EXPECT_EQ(f.Width(), c.w) << what;
    EXPECT_EQ(f.Height(), c.h) << what;
    f.Hide();
  }
}

TEST(Form, AlignedChildrenShareTheClientAreaInCreationOrder) {
  TForm f;
  f.SetBounds(0, 0, 400, 300);
  TPanel* top = new TPanel(&f);
  top->SetHeight(30);
  top->SetAlign(alTop);
  TStatusBar* status = new TStatusBar(&f);  // bottom, 19 high
  TImage* image = new TImage(&f);
  image->SetHeight(100);
  image->SetAlign(alBottom);
  TPanel* client = new TPanel(&f);
  client->SetAlign(alClient);
  EXPECT_EQ(top->Top(), 0);
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(status->Top(), 300 - 19);
  EXPECT_EQ(image->Top(), 300 - 19 - 100);
  EXPECT_EQ(image->Width(), 400);
  EXPECT_EQ(client->Top(), 30);
  EXPECT_EQ(client->Height(), 300 - 30 - 19 - 100);
  f.SetBounds(0, 0, 500, 400);
  EXPECT_EQ(image->Top(), 400 - 19 - 100);
  EXPECT_EQ(client->Width(), 500);
  EXPECT_EQ(client->Height(), 400 - 30 - 19 - 100);
}

TEST(Focus, ExitOfTheLeftControlRunsBeforeTheButtonsClick) {
  SampleForm f;
  std::vector<std::string> events;
  TBitBtn* inner = nullptr;
  TGroupBox* box = f.AddBox(inner);
  box->OnExit = [&](TObject*) { events.push_back("exit"); };
  inner->OnClick = [&](TObject*) { events.push_back("inner"); };
  f.BitBtn1->OnClick = [&](TObject*) { events.push_back("click"); };
  f.ShowForm();
  tt::ClickButton(inner);  // focus into the group box
  EXPECT_TRUE(box->Focused() || inner->Focused());
  tt::ClickButton(f.BitBtn1);
  EXPECT_EQ(events, (std::vector<std::string>{"inner", "exit", "click"}));
  // Focus moving between two controls outside the box raises nothing more.
  tt::ClickButton(f.BitBtn2);
  EXPECT_EQ(events.size(), 3u);
  f.Hide();
}

TEST(Focus, DeactivatingTheWindowIsNoExit) {
  SampleForm f, other;
  int exits = 0;
  TBitBtn* inner = nullptr;
  TGroupBox* box = f.AddBox(inner);
  box->OnExit = [&](TObject*) { ++exits; };
  f.ShowForm();
  tt::SetFocus(inner);
  other.ShowForm();
  tt::ActivateWindow(&other);
  tt::ClickButton(other.BitBtn1);
  EXPECT_EQ(exits, 0);
  f.Hide();
  other.Hide();
}

TEST(Dispatch, ErrorInAHandlerShowsOneBoxAndKeepsWhatWasWritten) {
  tt::RecordingDialogs dialogs;
  const std::string oldTitle = ApplicationTitle();
  SetApplicationTitle("Ferrant");
  SampleForm f;
  f.BitBtn1->OnClick = [&](TObject*) {
    f.Label1->SetCaption("written");
    volatile double zero = 0;
    if (zero == 0) throw EZeroDivide();
    f.Label1->SetCaption("not reached");
  };
  f.ShowForm();
  tt::ClickButton(f.BitBtn1);
  EXPECT_EQ(f.Label1->Caption(), "written");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "Ferrant");
  EXPECT_EQ(dialogs.messages[0].text, "Floating point division by zero");
  EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
  EXPECT_EQ(dialogs.messages[0].buttons, static_cast<unsigned>(mbOK));
  // The program goes on: the next click works.
  f.BitBtn1->OnClick = [&](TObject*) { f.Label1->SetCaption("again"); };
  tt::ClickButton(f.BitBtn1);
  EXPECT_EQ(f.Label1->Caption(), "again");
  EXPECT_EQ(dialogs.messages.size(), 1u);
  SetApplicationTitle(oldTitle);
  f.Hide();
}

TEST(Mouse, ClicksAndDoubleClicksReachTheControlUnderThePointer) {
  SampleForm f;
  std::vector<std::string> events;
  f.OnDblClick = [&](TObject*) { events.push_back("form dbl"); };
  f.Label1->OnClick = [&](TObject*) { events.push_back("label click"); };
  f.Label1->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  };
  f.Label1->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) { events.push_back("up"); };
  f.ShowForm();
  tt::MouseClick(f.Label1, 3, 4);
  // The click comes before the release's OnMouseUp.
  EXPECT_EQ(events, (std::vector<std::string>{"down 3,4", "label click", "up"}));
  events.clear();
  tt::DblClick(&f, 250, 150);  // free area of the window
  EXPECT_EQ(std::count(events.begin(), events.end(), "form dbl"), 1);
  events.clear();
  tt::DblClick(f.Label1, 2, 2);  // a double click on the label is not the window's
  EXPECT_EQ(std::count(events.begin(), events.end(), "form dbl"), 0);
  f.Hide();
}

// Closing the main window asks first and then ends the loop, also while a
// menu holds the events in a loop of its own; a secondary window only hides.
TEST(Application, MainWindowCloseEndsTheLoopSecondaryOnlyHides) {
  tt::RecordingDialogs dialogs;
  auto* app = new TApplication("Test");
  tt::RecordingDialogs recorder;  // after the application installed the Qt handlers
  SampleForm* mainForm = nullptr;
  SampleForm* second = nullptr;
  app->CreateForm(mainForm);
  app->CreateForm(second);
  second->visibleAtStart = true;  // only read at creation: show it by hand
  second->ShowForm();
  EXPECT_EQ(app->MainForm(), mainForm);
  EXPECT_EQ(app->Forms().size(), 2u);
  TTimer* timer = new TTimer(mainForm);
  timer->SetInterval(20);
  int step = 0;
  bool secondHidden = false, mainStayedOnNo = false, menuShown = false, menuOpenAtClose = false;
  mainForm->OnClose = [&](TObject*, TCloseAction& action) {
    if (ConfirmYesNo("Czy zamknąć aplikację") != mrYes) action = caNone;
  };
  recorder.Answer(mrNo);
  recorder.Answer(mrYes);
  timer->OnTimer = [&](TObject*) {
    ++step;
    if (step == 1) {
      second->Close();
      secondHidden = !second->Visible() && mainForm->Visible();
    } else if (step == 2) {
      mainForm->Close();  // answered No
      mainStayedOnNo = mainForm->Visible() && app->Forms().size() == 2;
    } else if (step == 3) {
      menuShown = tt::OpenScrollBarMenu(mainForm);  // the window is larger than the screen
    } else if (step == 4) {
      menuOpenAtClose = tt::MenuOpen();
      tt::CloseWindow(mainForm);  // answered Yes: the loop ends, the menu's too
    }
  };
  mainForm->SetBounds(0, 0, 3000, 2000);
  {
    const testsupport::Watchdog watchdog(60, "the loop after a close request with a menu open");
    app->Run();
  }
  EXPECT_TRUE(secondHidden);
  EXPECT_TRUE(mainStayedOnNo);
  EXPECT_TRUE(menuShown && menuOpenAtClose);
  EXPECT_FALSE(tt::MenuOpen());
  EXPECT_EQ(step, 4);
  ASSERT_EQ(recorder.messages.size(), 2u);
  EXPECT_EQ(recorder.messages[0].caption, "Confirm");
  EXPECT_EQ(recorder.messages[0].icon, MsgIcon::Question);
  EXPECT_EQ(recorder.messages[0].buttons, static_cast<unsigned>(mbYes | mbNo));
  EXPECT_TRUE(app->Forms().empty());    // every window destroyed
  EXPECT_EQ(app->MainForm(), nullptr);  // the timer went with its window
  delete app;
  EXPECT_EQ(Application, nullptr);
}
