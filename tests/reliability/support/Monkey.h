#pragma once
// A monkey that uses a program as a careless user would, with real input on
// its real windows: every key of the keyboard's non-printing set with and
// without modifiers, in and out of an open cell editor; clicks, double clicks
// and drags on every control; the wheel on every grid; hostile texts typed
// or pasted; windows resized to any size and closed.  Message boxes and
// picture dialogs are answered at random (file names inside the run's own
// folder).
//
// The run is bounded by a count of events and replayable: the seed comes
// from MONKEY_SEED and the count from MONKEY_EVENTS; MONKEY_TRACE=1 prints
// every event before it runs.  A crash or a hang (one event not done within
// the watchdog's bound) prints the seed and the event; a box the program
// cannot give fails the test naming them.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/Harness.h"

namespace reliability {

struct MonkeyProgram {
  std::string name;  // the application's title, "Ferrant"
  // The program's start-up routine, which its main runs between making the
  // application and the message loop: the windows created in their order.
  // Run again, in a new application, when the user has closed the main
  // window, which ends the program.
  std::function<void(tk::TApplication&)> windows;
  BoxRule boxes;  // the boxes the program may show
};

struct MonkeyFigures {
  int events = 0;
  int inEditor = 0;  // events that began with the keyboard in a cell editor
  int restarts = 0;  // the main window closed and the program started again
  double seconds = 0;
  double longest = 0;
  std::string longestEvent;
  std::map<std::string, int> boxes;  // "caption: text" -> count
  int fileDialogs = 0;
};

class Monkey {
 public:
  explicit Monkey(MonkeyProgram program);
  ~Monkey();
  Monkey(const Monkey&) = delete;
  Monkey& operator=(const Monkey&) = delete;

  // Runs the events; prints the figures at the end.
  void Run();
  const MonkeyFigures& Figures() const { return figures_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  MonkeyFigures figures_;
};

}  // namespace reliability
