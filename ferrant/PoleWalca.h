#pragma once
// The solid conductor's field with its plots: TModelWalca (ferrant/model) computes,
// this class adds the window's plot picture and painter.
#include <cstdint>
#include <memory>

#include "ferrant/WykresyPola.h"
#include "ferrant/model/ModelWalca.h"
#include "numerics/AlgeZes4.h"
#include "plot/Wykresy4.h"

namespace ferrant {

using num::Extended;
using num::TZespol;

class TPoleWalca : public TModelWalca {
 public:
  TPoleWalca(tk::TImage* obraz, Extended I, Extended f, Extended mi, Extended gamma, Extended R, int32_t N);
  ~TPoleWalca();
  TPoleWalca(const TPoleWalca&) = delete;
  TPoleWalca& operator=(const TPoleWalca&) = delete;

  // Radial plots at f, 2f and 10f; Kn against frequency.
  void WykresE();
  void WykresH();
  void WykresJ();
  void WykresKn();

  std::unique_ptr<plot::TWykresy> Wykresy;  // owned plot painter
  tk::TImage* Obraz = nullptr;              // the window's plot picture, not owned
  int32_t N = 0;                            // index of the last plot point

 private:
  void WykresRadialny(Wielkosc q, const char* jednostka, const char* prefiks, const char* kontynuacja,
                      const char* tytul, bool obliczNajpierw);
};

}  // namespace ferrant
