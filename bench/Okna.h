#pragma once
// What the window benchmarks share: a program's windows, made once and
// kept until the process ends (destroying it from a static destructor would
// run after Qt's own globals are gone), with every box answered OK; and a
// handler run as the event dispatch runs it, the window repainting after.
#include <benchmark/benchmark.h>

#include <functional>

#include "toolkit/controls/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Locale.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"

namespace pomiary {

// The program started once by its start-up routine; its main window shown.
template <class Okno>
Okno* GlowneOkno(const char* program, Okno* (*utworzOkna)(tk::TApplication&)) {
  static Okno* f = nullptr;
  if (f != nullptr) return f;
  f = utworzOkna(*new tk::TApplication(program));
  tk::SetDecimalSeparator(',');
  tk::SetMessageHandler([](const tk::MessageRequest&) { return int(tk::mrOk); });
  f->ShowForm();
  tk::testing::ProcessEvents();
  return f;
}

inline void Uruchom(benchmark::State& state, const std::function<void()>& obsluga) {
  for (auto _ : state) {
    if (!tk::Dispatch(obsluga)) state.SkipWithError("the handler failed");
    tk::testing::ProcessEvents();
  }
}

}  // namespace pomiary
