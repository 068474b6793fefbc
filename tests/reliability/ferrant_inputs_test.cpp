// Every text of the corpus in every input cell of Ferrant's three analysis
// windows, and in the selection window's tables before a pick; after each,
// every button, picture and chart handler of the window.  No press may crash
// or hang, show a text or chart value that is not a number, or show more than
// one error box; the defaults typed again give the default results again.
#include <algorithm>
#include <chrono>
#include <random>

#include "ferrant/PoleCylindra.h"
#include "ferrant/PolePrzeWar.h"
#include "ferrant/PoleWalca.h"
#include "ferrant/tests/ui_pomoc.h"
#include "support/Harness.h"
#include "support/ProgramBoxes.h"
#include "toolkit/core/Locale.h"

namespace reliability {
namespace {

using namespace ferrant;

// What a press leaves that the next default press must give again.
struct Snapshot {
  std::vector<std::string> column;
  std::vector<std::vector<num::Extended>> painter;
  ChartPoints loss, profiles;
};

std::vector<std::vector<num::Extended>> PainterData(const plot::TWykresy& p) {
  std::vector<std::vector<num::Extended>> v;
  for (const auto& w : p.FWek) v.push_back(w.Wek);
  return v;
}

// The painter's texts always; its data after a plot that was drawn (a plot
// that failed may leave what it had computed so far).
void ExpectFinitePainter(const plot::TWykresy& p, const std::string& where, bool data) {
  std::vector<std::string> texts = {p.FTytul, p.FWykladnikX, p.FWykladnikY};
  for (const auto& w : p.FWek) {
    texts.push_back(w.Nazwa.Tekst);
    texts.push_back(w.Jednostka.Tekst);
  }
  for (const std::string& t : texts)
    EXPECT_FALSE(ReadsAsNonNumber(t)) << where << ": plot text \"" << t.substr(0, 200) << "\"";
  if (!data) return;
  for (size_t k = 0; k < p.FWek.size(); ++k)
    for (size_t i = 0; i < p.FWek[k].Wek.size(); ++i)
      if (!std::isfinite(p.FWek[k].Wek[i])) {
        ADD_FAILURE() << where << ": plot data " << k << "[" << i << "] = " << static_cast<double>(p.FWek[k].Wek[i]);
        return;
      }
}

struct Window {
  std::string name;
  tk::TStringGrid* grid;
  std::vector<int> inputs;
  std::vector<std::string> defaults;  // column 1
  std::vector<Press> presses;
  const plot::TWykresy* painter;
  bool charts;  // the tube's loss and profile charts
};

Snapshot Take(const Window& w) {
  Snapshot s;
  s.column = Column(w.grid, 1);
  s.painter = PainterData(*w.painter);
  if (w.charts) {
    s.loss = PointsOf(FormWykChart->Chart1);
    s.profiles = PointsOf(FormWykChart2->Chart1);
  }
  return s;
}

// The grid always; the plot data after a press that plots; a chart once the
// run has filled it (before that it holds what the bad input left).
void ExpectSame(const Snapshot& a, const Snapshot& b, bool plots, bool loss, bool profiles, const std::string& where) {
  EXPECT_EQ(a.column, b.column) << where;
  if (plots) {
    EXPECT_TRUE(a.painter == b.painter) << where << ": plot data differ";
  }
  if (loss) {
    EXPECT_TRUE(a.loss == b.loss) << where << ": loss chart differs";
  }
  if (profiles) {
    EXPECT_TRUE(a.profiles == b.profiles) << where << ": profile chart differs";
  }
}

std::vector<Window> Windows() {
  auto click = [](tk::TControl* c) { return [c] { c->OnClick(c); }; };
  auto dbl = [](tk::TControl* c) { return [c] { c->OnDblClick(c); }; };
  std::vector<Window> w;
  w.push_back(
      {"solid",
       Form2->StringGrid1,
       {TForm2::kPrad, TForm2::kCzestotliwosc, TForm2::kPrzenikalnosc, TForm2::kKonduktywnosc, TForm2::kPromien},
       {"1000", "50", " 1.0 ", "55,0", "50", "", "", ""},
       {{"show", [] { Form2->FormShow(Form2); }},
        {"E(r)", click(Form2->BitBtn1)},
        {"J(r)", click(Form2->BitBtn2)},
        {"H(r)", click(Form2->BitBtn3)},
        {"Kn(f)", click(Form2->BitBtn4)},
        {"map", click(Form2->Image2)}},
       PoleWalca->Wykresy.get(),
       false});
  w.push_back({"tube",
               Form3->StringGrid1,
               {TForm3::kPrad, TForm3::kCzestotliwosc, TForm3::kPrzenikalnosc, TForm3::kKonduktywnosc,
                TForm3::kPromienW, TForm3::kPromienZ, TForm3::kDlugosc},
               {"63000", "50", " 1.0 ", "56,0  ", "980,0", "1000,0", "", "", "3,2", "", ""},
               {{"show", [] { Form3->FormShow(Form3); }},
                {"grid exit", [] { Form3->StringGrid1->OnExit(Form3->StringGrid1); }},
                {"E(r)", click(Form3->BitBtn1)},
                {"H(r)", click(Form3->BitBtn2)},
                {"J(r)", click(Form3->BitBtn3)},
                {"Kn(f)", click(Form3->BitBtn4)},
                {"J 50Hz", click(Form3->BitBtn5)},
                {"dP(mi)", click(Form3->BitBtn6)},
                {"J mi=var", click(Form3->BitBtn8)},
                {"pictures", click(Form3->BitBtn7)},
                {"window JPEG", dbl(Form3)},
                {"map", click(Form3->Image2)},
                {"loss chart EMF", dbl(FormWykChart->Chart1)},
                {"profile chart EMF", dbl(FormWykChart2->Chart1)},
                {"loss chart resize",
                 [] {
                   int wd = 700, ht = 500;
                   bool resize = false;
                   FormWykChart->Chart1->OnCanResize(FormWykChart->Chart1, wd, ht, resize);
                 }}},
               PoleCylindra->Wykresy.get(),
               true});
  w.push_back({"two-layer",
               Form4->StringGrid1,
               {TForm4::kPrad, TForm4::kCzestotliwosc, TForm4::kPrzenikalnoscW, TForm4::kPrzenikalnoscZ,
                TForm4::kKonduktywnoscW, TForm4::kKonduktywnoscZ, TForm4::kPromienW, TForm4::kPromienZ},
               {"500", "50", " 200.0 ", " 1.0 ", " 8.0 ", " 34,8 ", "15,0  ", "19,0", "", "", ""},
               {{"grid exit", [] { Form4->StringGrid1->OnExit(Form4->StringGrid1); }},
                {"E(r)", click(Form4->BitBtn1)},
                {"H(r)", click(Form4->BitBtn2)},
                {"J(r)", click(Form4->BitBtn3)},
                {"Kn(f)", click(Form4->BitBtn4)},
                {"map", click(Form4->Image2)}},
               PolePrzeWar->Wykresy.get(),
               false});
  return w;
}

class FerrantInputs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    uitest::Aplikacja();
    for (tk::TForm* f : std::vector<tk::TForm*>{Form2, Form3, Form4, FormWykChart, FormWykChart2}) f->Show();
    tk::testing::ProcessEvents();
  }
  void SetUp() override { tk::SetDecimalSeparator(','); }
  void TearDown() override { tk::SetDecimalSeparator('\0'); }
};

// The presses that only export what the window shows (a picture of the
// window, a chart's metafile, the picture browser): they read no input and
// change nothing that a later press reads.
bool ExportsOnly(const std::string& press) {
  return press == "pictures" || press == "window JPEG" || press == "loss chart EMF" || press == "profile chart EMF";
}

// Runs the window's presses with the default texts, checking each press, and
// returns what each left.  After a bad input (`again`) the exports are left
// out: with the defaults typed again they would export what the first
// default run exported, while the computing presses must show that the bad
// input left nothing behind.
std::vector<Snapshot> DefaultRun(Window& w, Presser& presser, const std::string& where, bool again = false) {
  SetColumn(w.grid, 1, w.defaults);
  presser.SetTyped("");
  std::vector<Snapshot> shots;
  for (const Press& p : w.presses) {
    if (again && ExportsOnly(p.name)) {
      shots.push_back(Take(w));
      continue;
    }
    const PressOutcome o = presser.Run(p, where);
    EXPECT_TRUE(o.ok && o.boxes.empty()) << where << ", press " << p.name << ": the defaults fail ("
                                         << (o.boxes.empty() ? "" : o.boxes[0].text) << ")";
    shots.push_back(Take(w));
  }
  return shots;
}

void CheckAfterPress(const Window& w, const PressOutcome& o, const std::string& where, int typedRow) {
  ExpectNumbersOnly(w.grid, where, 1, typedRow);
  ExpectFinitePainter(*w.painter, where, o.ok);
  if (w.charts) {
    ExpectFinite(FormWykChart->Chart1, where + " (loss chart)");
    ExpectFinite(FormWykChart2->Chart1, where + " (profile chart)");
    ExpectNumberTexts(FormWykChart->Chart1, where + " (loss chart)");
    ExpectNumberTexts(FormWykChart2->Chart1, where + " (profile chart)");
  }
}

// Every text in every input cell of one window, with every press; then the
// defaults again with every press, compared with the first default run.
void EveryTextInEveryCell(int index) {
  Presser presser("Ferrant", FerrantBox);
  const std::vector<Input> corpus = Corpus();
  Window w = Windows()[index];
  int inputs = 0, item = 0;
  const std::vector<Snapshot> baseline = DefaultRun(w, presser, w.name + " defaults");
  for (int row : w.inputs) {
    for (const Input& in : corpus) {
      if (!InShard(item++)) continue;
      const std::string where = w.name + " row " + std::to_string(row) + " \"" + in.name + "\"";
      SetColumn(w.grid, 1, w.defaults);
      w.grid->SetCells(1, row, in.text);
      presser.SetTyped(in.text);
      ++inputs;
      for (const Press& p : w.presses) {
        const PressOutcome o = presser.Run(p, where);
        CheckAfterPress(w, o, where + ", press " + p.name, row);
        EXPECT_EQ(w.grid->Cells(1, row), in.text) << where << ": the typed text changed";
      }
      const std::vector<Snapshot> again = DefaultRun(w, presser, where + " then defaults", true);
      bool loss = false, profiles = false;
      for (size_t i = 0; i < again.size(); ++i) {
        const std::string& n = w.presses[i].name;
        loss = loss || n == "dP(mi)" || n == "loss chart resize";
        profiles = profiles || n == "J mi=var";
        const bool plots = n == "E(r)" || n == "H(r)" || n == "J(r)" || n == "Kn(f)" || n == "J 50Hz";
        ExpectSame(baseline[i], again[i], plots, loss, profiles, where + " then defaults, press " + n);
      }
      if (::testing::Test::HasFailure()) return;  // one broken input is enough to read
    }
  }
  presser.Report("Ferrant " + w.name + " window", inputs);
}

TEST_F(FerrantInputs, SolidConductorWindow) { EveryTextInEveryCell(0); }
TEST_F(FerrantInputs, TubularConductorWindow) { EveryTextInEveryCell(1); }
TEST_F(FerrantInputs, TwoLayerConductorWindow) { EveryTextInEveryCell(2); }

// Random values in all input cells at once (sizes from 1e-20 to 1e20 times
// the default, either sign, now and then a corpus text), every press.
TEST_F(FerrantInputs, RandomValuesInEveryCell) {
  Presser presser("Ferrant", FerrantBox);
  const std::vector<Input> corpus = Corpus();
  std::mt19937 rng(2026);
  int inputs = 0;
  for (Window& w : Windows()) {
    for (int n = 0; n < 150; ++n) {
      SetColumn(w.grid, 1, w.defaults);
      std::string where = w.name + " random";
      for (int row : w.inputs) {
        const std::string t = RandomCellText(rng, w.defaults[row], corpus);
        w.grid->SetCells(1, row, t);
        where += " [" + std::to_string(row) + "]=" + (t.size() > 20 ? t.substr(0, 20) + "..." : t);
      }
      if (!InShard(n)) continue;
      presser.SetTyped("");
      ++inputs;
      for (const Press& p : w.presses) {
        const PressOutcome o = presser.Run(p, where);
        // Typed texts may read "nan" and stay; the outputs may not.
        tk::TStringGrid* g = w.grid;
        for (int r = 0; r < g->RowCount(); ++r) {
          if (std::find(w.inputs.begin(), w.inputs.end(), r) == w.inputs.end()) {
            EXPECT_FALSE(ReadsAsNonNumber(g->Cells(1, r))) << where << ", press " << p.name << ": row " << r;
          }
        }
        ExpectFinitePainter(*w.painter, where + ", press " + p.name, o.ok);
        if (w.charts) {
          ExpectFinite(FormWykChart->Chart1, where + " (loss chart)");
          ExpectFinite(FormWykChart2->Chart1, where + " (profile chart)");
        }
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
  presser.Report("Ferrant random values", inputs);
}

// The selection window: a text in the material table's editable column, or
// (as damage to the built-in tables) in a cross-section's or a tube's cells,
// then the pick, then the presses of the window the pick fills.
TEST_F(FerrantInputs, SelectionWindowPicks) {
  Presser presser("Ferrant", FerrantBox);
  std::vector<Window> windows = Windows();
  Window& solid = windows[0];
  Window& tube = windows[1];
  const std::vector<std::string> materials = Column(Form1->StringGrid1, 1);
  const std::vector<std::string> sections1 = Column(Form1->StringGrid2, 1);
  const std::vector<std::string> sections2 = Column(Form1->StringGrid2, 2);
  std::vector<std::vector<std::string>> tubes;
  for (int c = 0; c < Form1->AlignedGrid2->ColCount(); ++c) tubes.push_back(Column(Form1->AlignedGrid2, c));
  auto restore = [&] {
    SetColumn(Form1->StringGrid1, 1, materials);
    SetColumn(Form1->StringGrid2, 1, sections1);
    SetColumn(Form1->StringGrid2, 2, sections2);
    for (int c = 0; c < static_cast<int>(tubes.size()); ++c) SetColumn(Form1->AlignedGrid2, c, tubes[c]);
    SetColumn(solid.grid, 1, solid.defaults);
    SetColumn(tube.grid, 1, tube.defaults);
  };
  auto centre = [](tk::TStringGrid* g, int col, int row) {
    const tk::TRect r = g->CellRect(col, row);
    return tk::TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  };
  struct Pick {
    std::string name;
    tk::TStringGrid* table;
    int col;      // the cell that gets the text
    int pickCol;  // the cell clicked
    Window* target;
  };
  const std::vector<Pick> picks = {
      {"material", Form1->StringGrid1, 1, 1, &solid},
      {"material (tube)", Form1->StringGrid1, 1, 0, &tube},
      {"cross-section S", Form1->StringGrid2, 1, 1, &solid},
      {"cross-section D", Form1->StringGrid2, 2, 2, &solid},
      {"tube diameter, wall pick", Form1->AlignedGrid2, 0, 1, &tube},
      {"tube diameter, diameter pick", Form1->AlignedGrid2, 0, 0, &tube},
      {"tube wall", Form1->AlignedGrid2, 1, 1, &tube},
  };
  // Each pick with the built-in tables first: what the defaults give.
  std::vector<std::vector<std::string>> baseline;
  for (const Pick& k : picks) {
    restore();
    const tk::TPoint p = centre(k.table, k.pickCol, 1);
    const Press press{"pick " + k.name, [&k, p] {
                        if (k.table == Form1->AlignedGrid2) k.table->OnMouseDown(k.table, tk::mbLeft, 0, p.X, p.Y);
                        else k.table->OnMouseUp(k.table, tk::mbLeft, 0, p.X, p.Y);
                      }};
    EXPECT_TRUE(presser.Run(press, "built-in tables").ok);
    presser.Run(k.target->presses[0], "built-in tables");
    baseline.push_back(Column(k.target->grid, 1));
    // The pick has written into the window's inputs.
    std::vector<std::string> inputs = baseline.back(), defaults = k.target->defaults;
    inputs.resize(6);
    defaults.resize(6);
    EXPECT_NE(inputs, defaults) << k.name;
  }
  int inputs = 0, item = 0;
  for (const Input& in : Corpus()) {
    for (size_t i = 0; i < picks.size(); ++i) {
      if (!InShard(item++)) continue;
      const Pick& k = picks[i];
      const std::string where = k.name + " \"" + in.name + "\"";
      restore();
      k.table->SetCells(k.col, 1, in.text);
      presser.SetTyped(in.text);
      ++inputs;
      const tk::TPoint p = centre(k.table, k.pickCol, 1);
      const Press press{"pick", [&k, p] {
                          if (k.table == Form1->AlignedGrid2) k.table->OnMouseDown(k.table, tk::mbLeft, 0, p.X, p.Y);
                          else k.table->OnMouseUp(k.table, tk::mbLeft, 0, p.X, p.Y);
                        }};
      presser.Run(press, where);
      for (tk::TLabel* l : {Form1->Label1, Form1->Label2, Form1->Label3}) {
        std::string caption = l->Caption();
        if (!in.text.empty())
          for (size_t at; (at = caption.find(in.text)) != std::string::npos;) caption.erase(at, in.text.size());
        EXPECT_FALSE(ReadsAsNonNumber(caption)) << where << ": " << l->Name << " reads " << l->Caption().substr(0, 200);
      }
      ExpectNumbersOnly(solid.grid, where + " (solid window)");
      ExpectNumbersOnly(tube.grid, where + " (tube window)");
      // The window the pick filled, pressed: its first two presses.
      for (int j = 0; j < 3; ++j) {
        const PressOutcome o = presser.Run(k.target->presses[j], where);
        CheckAfterPress(*k.target, o, where + ", press " + k.target->presses[j].name, -1);
      }
      // The selection window's buttons and pictures, which bring the windows up.
      for (tk::TControl* c : std::vector<tk::TControl*>{Form1->BitBtn1, Form1->BitBtn2, Form1->BitBtn3, Form1->Image1,
                                                        Form1->Image2, Form1->Image3}) {
        const PressOutcome o = presser.Run({c->Name, [c] { c->OnClick(c); }}, where);
        ExpectNumbersOnly(solid.grid, where + ", press " + c->Name);
        ExpectNumbersOnly(tube.grid, where + ", press " + c->Name);
      }
      // The built-in tables again: the pick gives what it gave at first.
      restore();
      presser.SetTyped("");
      presser.Run(press, where + " then built-in tables");
      presser.Run(k.target->presses[0], where + " then built-in tables");
      EXPECT_EQ(Column(k.target->grid, 1), baseline[i]) << where << " then built-in tables";
      if (::testing::Test::HasFailure()) return;
    }
  }
  restore();
  presser.Report("Ferrant selection window", inputs);
}

}  // namespace
}  // namespace reliability
