#include "support/Monkey.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "tests/support/TestFiles.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"
#include "toolkit/testing/TestingEvents.h"

#if defined(__SANITIZE_ADDRESS__)
#define MONKEY_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MONKEY_SANITIZED 1
#endif
#endif
#ifdef MONKEY_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace reliability {

namespace {

namespace fs = std::filesystem;
using tk::testing::Key;

// Every key of a keyboard's non-printing set.
const std::vector<Key> kKeys = tk::testing::NonPrintingKeys();
const int kKeyCount = static_cast<int>(kKeys.size());

// The keys' names, in the order of the enumeration.
const char* KeyName(Key k) {
  static const char* const names[] = {"Enter",  "Tab",       "Escape", "F2",   "Left", "Right",  "Up",
                                      "Down",   "Backspace", "Delete", "Home", "End",  "PageUp", "PageDown",
                                      "Insert", "F1",        "F3",     "F4",   "F5",   "F6",     "F7",
                                      "F8",     "F9",        "F10",    "F11",  "F12"};
  static_assert(std::size(names) == static_cast<size_t>(Key::F12) + 1, "every key of the enumeration has a name");
  const auto i = static_cast<size_t>(k);
  return i < std::size(names) ? names[i] : "?";
}

constexpr int kDefaultEvents = 3000;
#ifdef MONKEY_SANITIZED
constexpr int kHangSeconds = 90;  // the sanitizers slow every event several times over
#else
constexpr int kHangSeconds = 20;
#endif
constexpr unsigned long long kDefaultSeed = 20261209;
constexpr size_t kLongestTyped = 500;

// The event being run, for the crash report: written before each event, read
// by a signal handler (so a plain buffer, no allocation there).
char g_context[700];

void WriteContext(const char* what) {
  const char head[] = "\n[monkey] ";
  ssize_t r = write(2, head, sizeof head - 1);
  r = write(2, what, std::strlen(what));
  r = write(2, g_context, std::strlen(g_context));
  r = write(2, "\n", 1);
  (void)r;
}

#ifdef MONKEY_SANITIZED
void OnSanitizerDeath() { WriteContext("died at "); }
#else
void OnFatalSignal(int sig) {
  WriteContext(sig == SIGABRT ? "aborted at " : "crashed (fatal signal) at ");
  signal(sig, SIG_DFL);
  raise(sig);
}
#endif

void InstallCrashReport() {
#ifdef MONKEY_SANITIZED
  __sanitizer_set_death_callback(OnSanitizerDeath);
#else
  // A stack overflow leaves no stack to report on: the handler has its own.
  static char altStack[1 << 16];
  stack_t ss{};
  ss.ss_sp = altStack;
  ss.ss_size = sizeof altStack;
  sigaltstack(&ss, nullptr);
  struct sigaction sa {};
  sa.sa_handler = OnFatalSignal;
  sa.sa_flags = SA_ONSTACK | SA_NODEFER | SA_RESETHAND;
  sigemptyset(&sa.sa_mask);
  for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(s, &sa, nullptr);
#endif
}

unsigned long long EnvNumber(const char* name, unsigned long long fallback) {
  const char* v = std::getenv(name);
  if (v == nullptr || *v == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long n = std::strtoull(v, &end, 10);
  return end != nullptr && *end == '\0' ? n : fallback;
}

// A text for a message: control characters escaped, long texts cut.
std::string Printable(const std::string& text, size_t limit = 40) {
  std::string out;
  for (size_t i = 0; i < text.size() && i < limit; ++i) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch < 0x20 || ch == 0x7f) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", ch);
      out += buf;
    } else {
      out += text[i];
    }
  }
  if (text.size() > limit) out += "...(" + std::to_string(text.size()) + " bytes)";
  return out;
}

// Box texts that quote what the user typed or chose count as one kind.
std::string Kind(const std::string& text) {
  for (char q : {'\'', '"'}) {
    const size_t a = text.find(q);
    if (a == std::string::npos) continue;
    const size_t b = text.find(q, a + 1);
    if (b != std::string::npos) return text.substr(0, a + 1) + "%s" + text.substr(b);
  }
  return Printable(text, 200);
}

// Texts a careless or hostile user types: numbers beyond any range, words the
// conversions might take for numbers, both separators, blanks, long texts,
// letters and digits of other scripts.
std::vector<std::string> HostileTexts() {
  // clang-format off
  std::vector<std::string> t = {
      "1e4000", "-1e4000", "1e-4000", "nan", "NaN", "-nan", "inf", "-0", "0", "00", "   ", " 5 ", ",", ".", "-",
      "1,5", "1.5", "1,2.3", "1.2,3", "1,,5", "--5", "+5", "5e", "e5", "1e+", "0x1F", "$FF", "2147483647",
      "2147483648", "-2147483649", "4294967296", "99999999999999999999", "1" + std::string(400, '0'),
      "0," + std::string(300, '0') + "1", std::string(3000, '9'), std::string(2000, 'w'), "ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ",
      "µ0=4π·10⁻⁷", "日本語", "😀", "١٢٣", "1 000", "1\u00a0000", "½", "\u22125", "1e-4951", "1,18973e4932",
      "3,4e38", "-1e308", "0,0000001", "12a", "a12", "\t7", "5\x1b", "\b\b\b9",
  };
  // clang-format on
  for (const Input& in : Corpus()) t.push_back(in.text);
  return t;
}

struct Action {
  std::string what;
  std::function<void()> run;
};

}  // namespace

struct Monkey::Impl {
  MonkeyProgram program;
  MonkeyFigures& fig;
  unsigned long long seed = kDefaultSeed;
  int budget = kDefaultEvents;
  bool trace = false;
  std::mt19937_64 rng;
  std::string folder;
  std::vector<std::string> fileNames;
  std::vector<std::string> texts = HostileTexts();
  // Presses of each key with no modifier, Shift, Ctrl or Alt; out of and in a cell editor.
  std::vector<std::array<int, 4>> keyUse[2] = {std::vector<std::array<int, 4>>(kKeys.size()),
                                               std::vector<std::array<int, 4>>(kKeys.size())};
  std::map<std::string, int> clicks;  // by control name, with every control seen within reach
  std::unique_ptr<tk::TApplication> app;
  std::vector<tk::TForm*> windows;            // main first, in the order of creation
  std::vector<std::pair<int, int>> designed;  // each window's size at start
  // What the current event showed.
  std::vector<tk::MessageRequest> boxes;

  Impl(MonkeyProgram p, MonkeyFigures& f) : program(std::move(p)), fig(f) {}

  int Uniform(int n) { return n <= 1 ? 0 : static_cast<int>(rng() % static_cast<unsigned long long>(n)); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[Uniform(static_cast<int>(v.size()))];
  }

  // --- The run's folder and the dialogs ------------------------------------

  void MakeFolder() {
    folder = testsupport::NewFolder("monkey_" + program.name);
    fs::create_directory(folder + "/sub");
    std::ofstream(folder + "/empty.bmp").flush();
    std::ofstream(folder + "/text.jpg") << "not a picture\n";
    std::ofstream(folder + "/garbage.emf", std::ios::binary) << std::string("\x01\x00\x00\x00\xff\xff", 6);
    // Names the dialogs answer with: every picture type, a name without one,
    // a folder that does not exist, directories, a name too long for the
    // file system, files that are not pictures, non-ASCII.
    for (const char* ext : {".bmp", ".jpg", ".jpeg", ".emf", ".wmf", ".png", ".BMP", ""})
      fileNames.push_back(folder + "/picture" + ext);
    fileNames.push_back(folder + "/zażółć gęślą.jpg");
    fileNames.push_back(folder + "/missing/picture.bmp");
    fileNames.push_back(folder);
    fileNames.push_back(folder + "/sub");
    fileNames.push_back(folder + "/" + std::string(300, 'n') + ".emf");
    fileNames.push_back(folder + "/empty.bmp");
    fileNames.push_back(folder + "/text.jpg");
    fileNames.push_back(folder + "/garbage.emf");
  }

  void InstallDialogs() {
    tk::SetMessageHandler([this](const tk::MessageRequest& r) {
      boxes.push_back(r);
      if (r.buttons & tk::mbYes) {
        if (Chance(0.1)) return static_cast<int>(tk::mrCancel);  // closed from its frame
        return static_cast<int>(Chance(0.5) ? tk::mrYes : tk::mrNo);
      }
      return static_cast<int>(Chance(0.9) ? tk::mrOk : tk::mrCancel);
    });
    tk::SetFileDialogHandler([this](const tk::FileDialogRequest&, std::string& name) {
      ++fig.fileDialogs;
      if (Chance(0.25)) return false;
      name = Pick(fileNames);
      return true;
    });
  }

  // --- What the user sees ----------------------------------------------------

  static void Collect(tk::TControl* c, std::vector<tk::TControl*>& out) {
    if (!c->Visible()) return;
    out.push_back(c);
    if (auto* w = dynamic_cast<tk::TWinControl*>(c))
      for (tk::TControl* child : w->Controls()) Collect(child, out);
  }

  static std::vector<tk::TStringGrid*> Grids(const std::vector<tk::TControl*>& controls) {
    std::vector<tk::TStringGrid*> g;
    for (tk::TControl* c : controls)
      if (auto* s = dynamic_cast<tk::TStringGrid*>(c)) g.push_back(s);
    return g;
  }

  // "Form1.StringGrid2", and where a grid's current cell is.
  std::string Name(tk::TControl* c, bool state = true) const {
    if (c == nullptr) return "nothing";
    std::string n = c->Name.empty() ? "(unnamed)" : c->Name;
    for (tk::TControl* p = c->Parent(); p != nullptr; p = p->Parent())
      if (p->Parent() == nullptr) n = (p->Name.empty() ? "(window)" : p->Name) + "." + n;
    if (auto* g = dynamic_cast<tk::TStringGrid*>(c); g != nullptr && state) {
      n += " at (" + std::to_string(g->Col()) + "," + std::to_string(g->Row()) + ")";
      if (g->EditorMode()) n += " editing";
    }
    return n;
  }

  tk::TPoint AnyPoint(tk::TControl* c) { return {Uniform(std::max(1, c->Width())), Uniform(std::max(1, c->Height()))}; }

  // The centre of a cell shown in the grid (an editable one when asked); a
  // point anywhere in the grid when none is found.
  tk::TPoint CellPoint(tk::TStringGrid* g, bool editable, std::string& where) {
    for (int tries = 0; tries < 16; ++tries) {
      const int fc = editable ? g->FixedCols() : 0, fr = editable ? g->FixedRows() : 0;
      const int col = fc + Uniform(g->ColCount() - fc), row = fr + Uniform(g->RowCount() - fr);
      if (col >= g->ColCount() || row >= g->RowCount()) break;
      const tk::TRect r = g->CellRect(col, row);
      const tk::TPoint p{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
      if (r.Width() > 0 && r.Height() > 0 && p.X >= 0 && p.Y >= 0 && p.X < g->ClientWidth() &&
          p.Y < g->ClientHeight()) {
        where = "cell (" + std::to_string(col) + "," + std::to_string(row) + ")";
        return p;
      }
    }
    const tk::TPoint p = AnyPoint(g);
    where = "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
    return p;
  }

  tk::TShiftState RandomShift(double none) {
    if (Chance(none)) return 0;
    static const tk::TShiftState kinds[] = {
        tk::ssShift, tk::ssCtrl, tk::ssAlt, tk::ssShift | tk::ssCtrl, tk::ssCtrl | tk::ssAlt, tk::ssShift | tk::ssAlt};
    const int k = Uniform(20);
    return kinds[k < 6 ? 0 : k < 12 ? 1 : k < 17 ? 2 : 3 + (k - 17)];
  }

  static std::string ShiftName(tk::TShiftState s) {
    std::string n;
    if (s & tk::ssShift) n += "Shift+";
    if (s & tk::ssCtrl) n += "Ctrl+";
    if (s & tk::ssAlt) n += "Alt+";
    return n;
  }

  // --- The events --------------------------------------------------------------

  static tk::TControl* WindowOf(tk::TControl* c) {
    while (c != nullptr && c->Parent() != nullptr) c = c->Parent();
    return c;
  }

  // The keys go to a cell editor of the window.
  static bool KeyboardInEditor(tk::TForm* form) {
    tk::TControl* f = tk::testing::FocusedControl();
    auto* g = dynamic_cast<tk::TStringGrid*>(f);
    return g != nullptr && g->EditorMode() && WindowOf(g) == form;
  }

  // Until every key with no modifier, Shift, Ctrl or Alt has been pressed
  // (counted apart in and out of a cell editor) the least pressed comes
  // next; after that, half the keys at random.
  Action KeyPress(tk::TForm* form) {
    const int e = KeyboardInEditor(form) ? 1 : 0;
    int key = Uniform(kKeyCount), mod = Chance(0.5) ? 0 : 1 + Uniform(3);
    if (KeysCovered(e) < 4 * kKeyCount || Chance(0.5)) {
      int least = keyUse[e][0][0], n = 0;
      for (int k = 0; k < kKeyCount; ++k)
        for (int m = 0; m < 4; ++m) least = std::min(least, keyUse[e][k][m]);
      for (int k = 0; k < kKeyCount; ++k)
        for (int m = 0; m < 4; ++m)
          if (keyUse[e][k][m] == least && Uniform(++n) == 0) key = k, mod = m;
    }
    static const tk::TShiftState kMods[] = {0, tk::ssShift, tk::ssCtrl, tk::ssAlt};
    tk::TShiftState s = kMods[mod];
    if (Chance(0.08)) s = RandomShift(0);  // two modifiers now and then
    else ++keyUse[e][key][mod];
    const tk::testing::Key k = kKeys[key];
    return {"key " + ShiftName(s) + KeyName(k) + " to " + Name(tk::testing::FocusedControl()),
            [form, k, s] { tk::testing::PressKey(form, k, s); }};
  }

  // Key presses with one modifier or none that were done, in and out of an editor.
  int KeysCovered(int e) const {
    int n = 0;
    for (const auto& k : keyUse[e])
      for (int m : k) n += m > 0;
    return n;
  }

  // A number a user might mean, in the separator of the moment or the other.
  std::string Plausible() {
    static const std::vector<std::string> kNumbers = {"1",    "2",      "5",   "10",   "15",   "50",
                                                      "100",  "1000",   "0,5", "0,05", "1,5",  "3,2",
                                                      "55,0", "2,5e-3", "-1",  "1e3",  "12,75"};
    std::string t = Pick(kNumbers);
    const char sep = Chance(0.8) ? tk::DecimalSeparator() : tk::DecimalSeparator() == ',' ? '.' : ',';
    for (char& ch : t)
      if (ch == ',') ch = sep;
    return t;
  }

  // Short texts typed key by key; long ones pasted, as nobody types them.
  Action Type(tk::TForm* form) {
    std::string text = Chance(0.5) ? Plausible() : Pick(texts);
    const std::string to = Name(tk::testing::FocusedControl());
    if (text.size() > kLongestTyped)
      return {"paste \"" + Printable(text) + "\" with Ctrl+V to " + to,
              [form, text] { tk::testing::PasteText(form, text); }};
    if (Chance(0.3)) text += "\r";  // and Enter
    return {"type \"" + Printable(text) + "\" to " + to, [form, text] { tk::testing::TypeText(form, text); }};
  }

  // A control of the list and a point on it that the user can reach (a cell
  // of a grid now and then; an editable one when asked).
  bool Target(const std::vector<tk::TControl*>& controls, double cells, bool editable, tk::TControl*& c, tk::TPoint& p,
              std::string& where) {
    for (int tries = 0; tries < 24; ++tries) {
      c = Pick(controls);
      if (auto* g = dynamic_cast<tk::TStringGrid*>(c); g != nullptr && Chance(cells)) {
        p = CellPoint(g, editable, where);
      } else {
        p = Chance(0.4) ? tk::TPoint{c->Width() / 2, c->Height() / 2} : AnyPoint(c);
        where = "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
      }
      if (tk::testing::Reachable(c, p.X, p.Y)) return true;
    }
    return false;
  }

  static std::vector<tk::TControl*> AsControls(const std::vector<tk::TStringGrid*>& grids) {
    return std::vector<tk::TControl*>(grids.begin(), grids.end());
  }

  Action OpenEditor(tk::TForm* form, const std::vector<tk::TStringGrid*>& grids) {
    tk::TControl* c = nullptr;
    tk::TPoint p;
    std::string where;
    if (!Target(AsControls(grids), 1.0, true, c, p, where)) return KeyPress(form);
    auto* g = static_cast<tk::TStringGrid*>(c);
    const int how = Uniform(3);
    static const char* const kHow[] = {"F2", "a double click", "typing"};
    static const std::vector<std::string> kFirst = {"7", "-", ",", ".", "e", "x", "ł", "0"};
    const std::string first = Pick(kFirst);
    return {"open the editor of " + Name(g) + " " + where + " by " + kHow[how] + (how == 2 ? " \"" + first + "\"" : ""),
            [g, p, how, first] {
              tk::testing::MouseClick(g, p.X, p.Y);
              if (how == 0) tk::testing::PressKey(g, tk::testing::Key::F2);
              else if (how == 1) tk::testing::DblClick(g, p.X, p.Y);
              else tk::testing::TypeText(g, first);
            }};
  }

  // Most clicks on a control not clicked yet, when there is one.
  Action Click(tk::TForm* form, const std::vector<tk::TControl*>& controls, bool twice) {
    std::vector<tk::TControl*> fresh;
    for (tk::TControl* c : controls) {
      const int w = c->Width(), h = c->Height();
      if (!tk::testing::Reachable(c, w / 2, h / 2) && !tk::testing::Reachable(c, 1, 1) &&
          !tk::testing::Reachable(c, w - 2, h - 2))
        continue;  // hidden behind its parent's edge or another control
      if (clicks[Name(c, false)] == 0) fresh.push_back(c);
    }
    tk::TControl* c = nullptr;
    tk::TPoint p;
    std::string where;
    const bool found = (!fresh.empty() && Chance(0.7) && Target(fresh, 0.8, Chance(0.7), c, p, where)) ||
                       Target(controls, 0.8, Chance(0.7), c, p, where);
    if (!found) return KeyPress(form);
    ++clicks[Name(c, false)];
    tk::TMouseButton b = tk::mbLeft;
    if (Chance(0.12)) b = Chance(0.7) ? tk::mbRight : tk::mbMiddle;
    const tk::TShiftState s = RandomShift(0.85);
    static const char* const kButtons[] = {"", "right ", "middle "};
    return {ShiftName(s) + kButtons[b] + (twice ? "double click on " : "click on ") + Name(c) + " " + where,
            [c, p, b, s, twice] { (twice ? tk::testing::DblClick : tk::testing::MouseClick)(c, p.X, p.Y, b, s); }};
  }

  Action Wheel(tk::TForm* form, const std::vector<tk::TControl*>& controls,
               const std::vector<tk::TStringGrid*>& grids) {
    tk::TControl* c = nullptr;
    tk::TPoint p;
    std::string where;
    if (!Target(!grids.empty() && Chance(0.8) ? AsControls(grids) : controls, 0.5, false, c, p, where))
      return KeyPress(form);
    static const std::vector<int> kNotches = {1, -1, 2, -2, 10, -10, 40, -40};
    const int n = Pick(kNotches);
    return {"wheel " + std::to_string(n) + " notches on " + Name(c) + " " + where,
            [c, p, n] { tk::testing::Wheel(c, p.X, p.Y, n); }};
  }

  Action DragOn(tk::TForm* form, const std::vector<tk::TStringGrid*>& grids) {
    tk::TControl* c = nullptr;
    tk::TPoint a, b;
    std::string from, to;
    if (!Target(AsControls(grids), 1.0, false, c, a, from)) return KeyPress(form);
    auto* g = static_cast<tk::TStringGrid*>(c);
    b = CellPoint(g, false, to);
    // Now and then from a line between header cells, where a drag sizes a column.
    if (Chance(0.3)) {
      const tk::TRect r = g->CellRect(std::min(g->Col(), g->ColCount() - 1), 0);
      if (tk::testing::Reachable(g, r.Right - 1, r.Top + 2)) {
        a = {r.Right - 1, r.Top + 2};
        from = "(" + std::to_string(a.X) + "," + std::to_string(a.Y) + ")";
        b = {a.X + Uniform(200) - 100, a.Y + Uniform(40)};
        to = "(" + std::to_string(b.X) + "," + std::to_string(b.Y) + ")";
      }
    }
    return {"drag on " + Name(g) + " from " + from + " to " + to,
            [g, a, b] { tk::testing::Drag(g, a.X, a.Y, b.X, b.Y); }};
  }

  Action Rest(tk::TForm* form, const std::vector<tk::TControl*>& controls) {
    tk::TControl* c = nullptr;
    tk::TPoint p;
    std::string where;
    if (!Target(controls, 0.5, false, c, p, where)) return KeyPress(form);
    return {"mouse rests on " + Name(c) + " " + where, [c, p] { tk::testing::RestMouse(c, p.X, p.Y); }};
  }

  Action Resize(tk::TForm* form, size_t index) {
    int w = designed[index].first, h = designed[index].second;
    switch (Uniform(8)) {
      case 0: w = 1, h = 1; break;
      case 1: w = 30 + Uniform(60), h = 20 + Uniform(60); break;  // small
      case 2: w = 20 + Uniform(80); break;                        // narrow
      case 3: h = 10 + Uniform(60); break;                        // low
      case 4: w = 1 + Uniform(1600), h = 1 + Uniform(1200); break;
      case 5: w = 1900 + Uniform(200), h = 1100 + Uniform(200); break;
      default: break;  // back to its size
    }
    return {"resize " + form->Name + " to " + std::to_string(w) + "x" + std::to_string(h),
            [form, w, h] { tk::testing::ResizeWindow(form, w, h); }};
  }

  Action Close(tk::TForm* form) {
    return {"close " + form->Name + " from its frame", [form] { tk::testing::CloseWindow(form); }};
  }

  Action Choose() {
    std::vector<tk::TForm*> shown;
    tk::TForm* active = nullptr;
    for (tk::TForm* f : windows)
      if (f->Visible()) {
        shown.push_back(f);
        if (f->Active()) active = f;
      }
    tk::TForm* form = active != nullptr && Chance(0.75) ? active : Pick(shown);
    const size_t index = std::find(windows.begin(), windows.end(), form) - windows.begin();
    std::vector<tk::TControl*> controls;
    Collect(form, controls);
    const std::vector<tk::TStringGrid*> grids = Grids(controls);
    const bool editing = KeyboardInEditor(form);
    // Weights of the kinds of event; with a cell editor open, mostly keys.
    const double w[] = {
        editing ? 55.0 : 26.0,  // key
        editing ? 18.0 : 10.0,  // typed text
        grids.empty() ? 0.0
        : editing     ? 4.0
                      : 16.0,           // open a cell editor
        editing ? 10.0 : 18.0,      // click
        6,                          // double click
        grids.empty() ? 1.0 : 6.0,  // wheel
        grids.empty() ? 0.0 : 3.0,  // drag
        3,                          // mouse rests
        4,                          // resize
        0.7,                        // close
    };
    std::discrete_distribution<int> kind(std::begin(w), std::end(w));
    switch (kind(rng)) {
      case 0: return KeyPress(form);
      case 1: return Type(form);
      case 2: return OpenEditor(form, grids);
      case 3: return Click(form, controls, false);
      case 4: return Click(form, controls, true);
      case 5: return Wheel(form, controls, grids);
      case 6: return DragOn(form, grids);
      case 7: return Rest(form, controls);
      case 8: return Resize(form, index);
      default: return Close(form);
    }
  }

  // Starts the program, or starts it again after the user has ended it by
  // closing the main window.  The application object installs the real
  // boxes: the monkey's answers go back in.
  void Start() {
    app.reset();
    app = std::make_unique<tk::TApplication>(program.name);
    program.windows(*app);
    InstallDialogs();
    windows = app->Forms();
    if (designed.empty())
      for (tk::TForm* f : windows) designed.emplace_back(f->Width(), f->Height());
    app->MainForm()->ShowForm();  // what the message loop does first
    tk::testing::ProcessEvents();
  }

  void KeepRunning() {
    if (app->MainForm() != nullptr && app->MainForm()->Visible()) return;
    ++fig.restarts;
    Start();
  }

  // False when the event failed a check.
  bool Check() {
    bool ok = true;
    for (const tk::MessageRequest& m : boxes) {
      ++fig.boxes[m.caption + ": " + Kind(m.text)];
      if (!program.boxes(m)) {
        ok = false;
        ADD_FAILURE() << g_context << ": a box the program cannot give: \"" << m.caption << "\" / \""
                      << Printable(m.text, 300) << "\"";
      }
    }
    if (tk::FpFaultPending()) {
      ok = false;
      ADD_FAILURE() << g_context << ": a floating-point fault left pending";
    }
    return ok;
  }

  void Run() {
    seed = EnvNumber("MONKEY_SEED", kDefaultSeed);
    budget = static_cast<int>(EnvNumber("MONKEY_EVENTS", kDefaultEvents));
    trace = EnvNumber("MONKEY_TRACE", 0) != 0;
    rng.seed(seed);
    std::printf("[monkey] %s: seed %llu, %d events (replay: MONKEY_SEED=%llu MONKEY_EVENTS=<event + 1>)\n",
                program.name.c_str(), seed, budget, seed);
    std::fflush(stdout);
    MakeFolder();
    if (::testing::Test::HasFatalFailure()) return;
    InstallCrashReport();
    tk::SetDecimalSeparator(',');
    Start();
    Watchdog watchdog(kHangSeconds);
    int failures = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < budget; ++i) {
      // Half the run in each decimal separator.
      if (i == budget / 2) tk::SetDecimalSeparator('.');
      KeepRunning();
      const Action a = Choose();
      std::snprintf(g_context, sizeof g_context, "%s, seed %llu, event %d: %s", program.name.c_str(), seed, i,
                    a.what.c_str());
      if (trace) std::fprintf(stderr, "[monkey] %s\n", g_context);
      auto* focused = dynamic_cast<tk::TStringGrid*>(tk::testing::FocusedControl());
      fig.inEditor += focused != nullptr && focused->EditorMode();
      boxes.clear();
      tk::FpClear();
      watchdog.Arm(g_context);
      const auto t0 = std::chrono::steady_clock::now();
      a.run();
      const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
      watchdog.Disarm();
      if (trace) std::fprintf(stderr, "[monkey]   %.3f s\n", s);
      if (s > fig.longest) {
        fig.longest = s;
        fig.longestEvent = g_context;
      }
      ++fig.events;
      if (!Check() && ++failures >= 20) {
        ADD_FAILURE() << "[monkey] stopped after 20 failing events";
        break;
      }
    }
    fig.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    tk::SetDecimalSeparator('\0');
    // A full run has pressed every key with each modifier, in and out of a
    // cell editor: else it tested less than it says.
    if (fig.events >= 1000) {
      EXPECT_EQ(KeysCovered(0), 4 * kKeyCount) << "keys pressed outside a cell editor";
      EXPECT_EQ(KeysCovered(1), 4 * kKeyCount) << "keys pressed in a cell editor";
    }
    Report();
  }

  void Report() const {
    std::printf(
        "[monkey] %s: seed %llu, %d events (%d with the keyboard in a cell editor, %d file dialogs, %d restarts), "
        "%.1f s, crashes 0, hangs 0\n",
        program.name.c_str(), seed, fig.events, fig.inEditor, fig.fileDialogs, fig.restarts, fig.seconds);
    for (const auto& [text, n] : fig.boxes) std::printf("[monkey]   %6d x %s\n", n, text.c_str());
    int clicked = 0;
    for (const auto& [name, n] : clicks) clicked += n > 0;
    std::printf(
        "[monkey]   keys with no modifier, Shift, Ctrl or Alt: %d of %d outside a cell editor, %d of %d in "
        "one; controls clicked: %d of %d seen\n",
        KeysCovered(0), 4 * kKeyCount, KeysCovered(1), 4 * kKeyCount, clicked, static_cast<int>(clicks.size()));
    std::printf("[monkey]   longest event %.3f s: %s\n", fig.longest, fig.longestEvent.c_str());
    std::fflush(stdout);
  }

  ~Impl() {
    app.reset();
    tk::SetMessageHandler(nullptr);
    tk::SetFileDialogHandler([](const tk::FileDialogRequest&, std::string&) { return false; });
    if (!folder.empty()) testsupport::RemoveFolder(folder);
  }
};

Monkey::Monkey(MonkeyProgram program) : impl_(std::make_unique<Impl>(std::move(program), figures_)) {}
Monkey::~Monkey() = default;
void Monkey::Run() { impl_->Run(); }

}  // namespace reliability
