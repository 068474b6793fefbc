#pragma once
// The boxes each program may give when driven with any input: anything else
// is a fault of the run that met it.
#include <string>

#include "linalg/Algelin4.h"
#include "numerics/AlgMZes4.h"
#include "plot/Wykresy4.h"
#include "support/Harness.h"
#include "toolkit/core/MessageBox.h"

namespace reliability {

inline bool InTable(const std::string& text, const char* const* table, int n) {
  for (int i = 0; i < n; ++i)
    if (text == table[i]) return true;
  return false;
}

// Ferrant: the run-time's errors in the program's box, the solver's and the
// plot painter's messages in their modules' boxes.
inline bool FerrantBox(const tk::MessageRequest& m) {
  if (m.caption == "Ferrant") return RunTimeMessage(m.text);
  if (m.caption == plot::kCaptionWykresy4) return InTable(m.text, plot::BledyWykresy4, 5);
  if (m.caption == num::kCaptionAlgMZes4) return InTable(m.text, num::BledyAlgMZes4, 34);
  return false;
}

// Bifilon: the run-time's errors in the program's box, the linear solver's
// in its own.
inline bool BifilonBox(const tk::MessageRequest& m) {
  if (m.caption == "Bifilon") return RunTimeMessage(m.text);
  if (m.caption == linalg::kTytulBledowAlgelin)
    for (const char* t : linalg::BledyAlgelin4)
      if (m.text == t) return true;
  return false;
}

// Mantlo: the run-time's errors, the strict conversion's message for the
// point count, and the refusal of a count whose points the chart cannot hold
// (given before any point is computed).
inline bool MantloBox(const tk::MessageRequest& m) {
  if (m.caption != "Mantlo") return false;
  if (RunTimeMessage(m.text) ||
      m.text == "Liczba kroków N musi być mniejsza niż 1000000: wykres mieści najwyżej 1000000 punktów")
    return true;
  const std::string tail = "' is not a valid integer value";
  return m.text.size() > tail.size() && m.text[0] == '\'' &&
         m.text.compare(m.text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace reliability
